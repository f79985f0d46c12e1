// The station and the line service as programs: the line cannot be reached
// while the station flashes, and comes up after the run.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "BenchFixture.h"
#include "JournalRecords.h"
#include "LineCluster.h"
#include "results/ResultStore.h"

namespace tandrel::e2e {
namespace {

using Clock = std::chrono::steady_clock;

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

class LineFaults : public BenchTest {};

TEST_F(LineFaults, ALineDownUntilAfterTheRunGetsEveryResultOnceAndInOrder) {
    const test::LineDatabaseFixture database;
    bench.MakeCurrent();
    folder.WriteFile("tokens", "bench-1 secret-1\n");
    folder.WriteFile("token", "secret-1\n");
    const std::string line = "http://127.0.0.1:" + std::to_string(FreePort());
    const std::string journalFile = folder / "journal.jsonl";
    ChildProcess station({TANDREL_PROGRAM, "-platform", "offscreen", "--library", TANDREL_SIM_LIBRARY, "--devices",
                          "dir:" + bench.Registry(), "--image", container, "--start", "--journal", journalFile,
                          "--results", folder / "results.db", "--station", "bench-1", "--line", line,
                          "--line-token", folder / "token"},
                         folder / "station.log");
    const auto robot = bench.StartRobot(8, 50);
    JournalTail journal(journalFile);
    ASSERT_TRUE(Within(std::chrono::seconds(180), [&] {
        return Texts(journal, "result", "").size() >= 8 || !station.Running();
    }));
    ASSERT_TRUE(station.Running()) << ReadWholeFile(folder / "station.log");
    ASSERT_EQ(Texts(journal, "log", "Line not reachable: cannot connect to " + line).size(), 1u)
        << ReadWholeFile(journalFile);

    ChildProcess service({TANDREL_LINE_PROGRAM, "--database", database.Url(), "--listen", line.substr(7),
                          "--tokens", folder / "tokens"},
                         folder / "line.log");
    EXPECT_TRUE(Within(std::chrono::seconds(60), [&] {
        return !Texts(journal, "log", "Line reached: all results are through").empty();
    })) << ReadWholeFile(folder / "line.log");
    EXPECT_EQ(station.Stop(), 0);
    EXPECT_EQ(service.Stop(), 0);

    std::string error;
    auto store = ResultStore::Open(folder / "results.db", false, error);
    ASSERT_TRUE(store) << error;
    std::vector<ResultRecord> kept;
    ASSERT_TRUE(store->Results({}, kept, error)) << error;
    ASSERT_EQ(kept.size(), 8u);
    const nlohmann::json arrived = nlohmann::json::parse(database.Query(
        "SELECT json_agg(record ORDER BY received_ms, sequence) FROM results WHERE station = 'bench-1'"));
    ASSERT_EQ(arrived.size(), kept.size()) << "every result arrived once";
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(arrived[i], nlohmann::json::parse(ResultJson(kept[i]))) << "result " << i + 1 << ", in order";
    }
}

}  // namespace
}  // namespace tandrel::e2e
