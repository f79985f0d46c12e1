// The station and the line service as programs, when the way between them
// breaks while the station flashes: the service cannot be reached until after
// the run, is killed and started again, or loses its database for a while.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <thread>

#include "BenchFixture.h"
#include "JournalRecords.h"
#include "LineCluster.h"
#include "PrivateCluster.h"
#include "results/ResultStore.h"

namespace tandrel::e2e {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kUnreachable = "Line not reachable: ";
constexpr const char* kThrough = "Line reached: all results are through";

// A loopback port nothing listens on now.
int FreePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(s, reinterpret_cast<sockaddr*>(&address), size);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    close(s);
    return ntohs(address.sin_port);
}

// Polls until condition holds or the time is up.
bool Within(std::chrono::seconds limit, const std::function<bool()>& condition) {
    const auto deadline = Clock::now() + limit;
    while (!condition()) {
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return true;
}

std::vector<std::string> Texts(JournalTail& journal, const std::string& ev, const std::string& prefix) {
    std::vector<std::string> texts;
    for (const JournalRecord& r : journal.Update()) {
        if (r.ev == ev && r["text"].rfind(prefix, 0) == 0) texts.push_back(r["text"]);
    }
    return texts;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

class LineFaults : public BenchTest {
protected:
    LineFaults() {
        bench.MakeCurrent();
        folder.WriteFile("tokens", "bench-1 secret-1\n");
        folder.WriteFile("token", "secret-1\n");
    }

    // The station forwarding to the line at line, with more arguments.
    std::unique_ptr<ChildProcess> Station(std::vector<std::string> more) {
        std::vector<std::string> argv = {TANDREL_PROGRAM, "-platform", "offscreen", "--library", TANDREL_SIM_LIBRARY,
                                         "--devices", "dir:" + bench.Registry(), "--image", container, "--start",
                                         "--journal", journalFile, "--results", store, "--station", "bench-1",
                                         "--line", line, "--line-token", folder / "token"};
        argv.insert(argv.end(), more.begin(), more.end());
        return std::make_unique<ChildProcess>(argv, folder / "station.log");
    }

    // The line service, once it serves: a station started after it finds it.
    std::unique_ptr<ChildProcess> Service(const test::LineDatabaseFixture& database) {
        const std::string log = folder / "line.log";
        auto service = std::make_unique<ChildProcess>(
            std::vector<std::string>{TANDREL_LINE_PROGRAM, "--database", database.Url(), "--listen", line.substr(7),
                                     "--tokens", folder / "tokens"},
            log);
        EXPECT_TRUE(Within(std::chrono::seconds(20), [&] {
            return ReadWholeFile(log).find("serving") != std::string::npos || !service->Running();
        }));
        EXPECT_TRUE(service->Running()) << ReadWholeFile(log);
        return service;
    }

    // The station's results, each in the line once, in the order it wrote them.
    void ExpectEveryResultOnceInOrder(const test::LineDatabaseFixture& database, std::size_t results) {
        std::string error;
        auto kept = ResultStore::Open(store, false, error);
        ASSERT_TRUE(kept) << error;
        std::vector<ResultRecord> rows;
        ASSERT_TRUE(kept->Results({}, rows, error)) << error;
        ASSERT_EQ(rows.size(), results);
        const nlohmann::json arrived = nlohmann::json::parse(database.Query(
            "SELECT json_agg(record ORDER BY received_ms, sequence) FROM results WHERE station = 'bench-1'"));
        ASSERT_EQ(arrived.size(), rows.size()) << "every result arrived once";
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(arrived[i], nlohmann::json::parse(ResultJson(rows[i]))) << "result " << i + 1 << ", in order";
        }
    }

    std::string PhoneStates() const {
        std::string states;
        for (int n = 1; n <= 8; ++n) states += std::to_string(n) + " " + bench.PhoneState(n) + "; ";
        return states;
    }

    const std::string journalFile = folder / "journal.jsonl";
    const std::string store = folder / "results.db";
    const std::string line = "http://127.0.0.1:" + std::to_string(FreePort());
};

TEST_F(LineFaults, ALineDownUntilAfterTheRunGetsEveryResultOnceAndInOrder) {
    const test::LineDatabaseFixture database;
    const auto station = Station({});
    const auto robot = bench.StartRobot(8, 50);
    JournalTail journal(journalFile);
    ASSERT_TRUE(Within(std::chrono::seconds(180), [&] {
        return Texts(journal, "result", "").size() >= 8 || !station->Running();
    }));
    ASSERT_TRUE(station->Running()) << ReadWholeFile(folder / "station.log");
    ASSERT_EQ(Texts(journal, "log", std::string(kUnreachable) + "cannot connect to " + line).size(), 1u)
        << ReadWholeFile(journalFile);

    const auto service = Service(database);
    EXPECT_TRUE(Within(std::chrono::seconds(60), [&] { return !Texts(journal, "log", kThrough).empty(); }))
        << ReadWholeFile(folder / "line.log");
    EXPECT_EQ(station->Stop(), 0);
    EXPECT_EQ(service->Stop(), 0);
    ExpectEveryResultOnceInOrder(database, 8);
}

// COMM mode, where each phone's row ends without an unplug: phone 1 fails at
// once, which flags its port, and reaches the line; the fault strikes while phones 2 to 8 are still
// being written, and ends after their results are in the station's store.
TEST_F(LineFaults, AServiceKilledOrADatabaseStoppedMidRunGetsEveryResultOnceAndInOrder) {
    test::PrivateCluster cluster(folder / "pg");
    std::unique_ptr<ChildProcess> service;
    const struct {
        std::string name;
        std::function<void()> start, end;
        std::chrono::seconds lasting;
    } faults[] = {
        {"service killed", [&] { service->Kill(); }, [&] {}, std::chrono::seconds(0)},
        {"database stopped", [&] { ASSERT_TRUE(cluster.Stop()); }, [&] { ASSERT_TRUE(cluster.Start()); },
         std::chrono::seconds(20)},
    };
    bench.SetFault(1, "item3=fail");
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.name);
        for (int n = 2; n <= 8; ++n) bench.SetFault(n, "rate=128K");
        std::filesystem::remove(store);
        std::filesystem::remove(journalFile);
        const test::LineDatabaseFixture database(cluster.Url());
        service = Service(database);
        // In COMM mode the station opens every port as it starts.
        for (int n = 1; n <= 8; ++n) bench.Plug(n);
        const auto station = Station({"--driver", "comm", "--port-alarm", "1"});
        JournalTail journal(journalFile);
        ASSERT_TRUE(Within(std::chrono::seconds(60), [&] {
            return database.Query("SELECT count(*) FROM results") == "1" || !station->Running();
        })) << ReadWholeFile(folder / "line.log");
        ASSERT_EQ(Texts(journal, "result", "").size(), 1u) << "phones 2 to 8 were still being written";

        const auto struck = Clock::now();
        fault.start();
        ASSERT_TRUE(Within(std::chrono::seconds(120), [&] {
            return Texts(journal, "result", "").size() == 8 || !station->Running();
        })) << Texts(journal, "result", "").size() << " results; phones: " << PhoneStates() << "\nlog:\n"
            << Joined(Texts(journal, "log", ""));
        std::this_thread::sleep_until(struck + fault.lasting);
        EXPECT_EQ(Texts(journal, "log", kUnreachable).size(), 1u) << ReadWholeFile(journalFile);
        fault.end();
        if (!service->Running()) service = Service(database);

        EXPECT_TRUE(Within(std::chrono::seconds(90), [&] { return !Texts(journal, "log", kThrough).empty(); }))
            << ReadWholeFile(folder / "line.log");
        EXPECT_EQ(station->Stop(), 0) << "the station kept flashing";
        EXPECT_EQ(service->Stop(), 0);
        ExpectEveryResultOnceInOrder(database, 8);
        EXPECT_EQ(Texts(journal, "log", kUnreachable).size(), 1u);
        EXPECT_EQ(database.Query("SELECT string_agg(port || ': ' || reason, '; ') FROM port_flags"),
                  "1: 1 failure in a row")
            << "the station's flag on its port reached the line";
        for (int n = 2; n <= 8; ++n) EXPECT_EQ(bench.FlashDifference(n, {container}), "") << "phone " << n;
        for (int n = 1; n <= 8; ++n) bench.Unplug(n);
    }
}

}  // namespace
}  // namespace tandrel::e2e
