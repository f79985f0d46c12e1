// A port whose phones keep failing is pointed out to the operator: on its
// row, in the log, in the journal and in tandrel-results; "Cleared" in the
// port-health window makes it count afresh.
#include <QColor>
#include <QTest>
#include <chrono>
#include <thread>

#include "BenchFixture.h"
#include "RowChecks.h"
#include "SimStation.h"
#include "qt/StaticText.h"
#include "ui/ControlIds.h"
#include "usb/Timers.h"

namespace tandrel::e2e {
namespace {

const QColor kAmberRow(255, 191, 0);
const QColor kRedRow(255, 0, 0);
constexpr const char* kFlagLine = "Port 3: 3 failures in a row \u2014 check the cable and the hub port";

std::vector<JournalRecord> Of(const std::vector<JournalRecord>& records, const std::string& ev, const char* key,
                              int number) {
    std::vector<JournalRecord> found;
    for (const JournalRecord& r : records) {
        if (r.ev == ev && r[key] == std::to_string(number)) found.push_back(r);
    }
    return found;
}

class PortHealthOnBench : public BenchTest {
protected:
    PortHealthOnBench() : BenchTest(3) {}

    std::size_t ResultsOf(SimStation& station, int channel) { return Of(station.Records(), "result", "ch", channel).size(); }

    // tandrel-results ports --json, once the store holds what line asks for:
    // port's line (empty when it never did).
    std::string PortsLine(SimStation& station, int port, const std::string& part) {
        std::string line;
        station.Await([&] {
            const ProgramResult r =
                RunProgram({TANDREL_RESULTS_TOOL, "--results", bench.Root() + "/results.db", "ports", "--json"});
            const std::size_t at = r.output.find("{\"port\":" + std::to_string(port) + ",");
            line = at == std::string::npos ? "" : r.output.substr(at, r.output.find('\n', at) - at);
            return line.find(part) != std::string::npos;
        });
        return line;
    }

    // The phone on a finished channel is pulled, and its result shown without the 35 s wait.
    void PullFinished(SimStation& station, int n) {
        bench.Unplug(n);
        ASSERT_TRUE(station.AwaitShown(n, "USB disconnected"));
        station.Dialog().OnTimer(ResultTimerId(n));
    }
};

TEST_F(PortHealthOnBench, ThreeFailuresInARowFlagThePortUntilTheOperatorClearsIt) {
    bench.SetFault(3, "item3=fail");
    PlugPhones({1, 2, 3});
    SimStation station(bench, {container});
    station.Click(IDC_START);
    for (int n : {1, 2}) {
        ASSERT_TRUE(station.AwaitShown(n, "Done, Disconnect the phone"));
        PullFinished(station, n);
    }
    for (std::size_t k = 1; k <= 3; ++k) {
        ASSERT_TRUE(station.Await([&] { return station.Row(3) == "Error, Disc the phone"; })) << station.Row(3);
        bench.Unplug(3);
        ASSERT_TRUE(station.Await([&] { return ResultsOf(station, 3) == k; }));
        if (k == 3) break;
        EXPECT_EQ(station.RowColour(3), kRedRow) << "flagged after " << k << " failures";
        EXPECT_FALSE(AnyContains(station.Log(), "Port 3:"));
        bench.Plug(3);
    }
    EXPECT_EQ(station.Row(3), "Fail");
    EXPECT_TRUE(station.Await([&] { return station.RowColour(3) == kAmberRow; })) << "row 3 is not amber";
    EXPECT_TRUE(AnyContains(station.Log(), kFlagLine));
    const std::vector<JournalRecord> flags = Of(station.Records(), "port-health", "port", 3);
    ASSERT_EQ(flags.size(), 1u);
    EXPECT_EQ(flags[0]["flagged"], "true");
    EXPECT_EQ(flags[0]["reason"], "3 failures in a row");
    EXPECT_EQ(flags[0]["inRow"], "3");
    EXPECT_EQ(flags[0]["yield20"], "0.0");
    const std::string port3 = PortsLine(station, 3, "\"flagged\":true");
    EXPECT_NE(port3.find("\"inRow\":3"), std::string::npos) << port3;
    EXPECT_NE(port3.find("\"reason\":\"3 failures in a row\""), std::string::npos) << port3;
    for (int n : {1, 2}) EXPECT_NE(PortsLine(station, n, "\"flagged\":false"), "") << "port " << n;

    std::string before, after;
    station.InPortHealthWindow([&](DialogWindow& window) {
        auto* line = qobject_cast<StaticText*>(window.Control(PortHealthLineId(3)));
        ASSERT_TRUE(line);
        before = line->Text().toStdString();
        QTest::mouseClick(window.Control(PortClearedId(3)), Qt::LeftButton);
        after = line->Text().toStdString();
    });
    EXPECT_NE(before.find("3 failed in a row"), std::string::npos) << before;
    EXPECT_NE(before.find("FLAGGED: 3 failures in a row"), std::string::npos) << before;
    EXPECT_NE(after.find("Port 3: 0 phones"), std::string::npos) << after;
    EXPECT_EQ(after.find("FLAGGED"), std::string::npos) << after;
    EXPECT_TRUE(station.Await([&] { return station.RowColour(3) == kRedRow; })) << "the row keeps its own colour";
    const std::vector<JournalRecord> cleared = Of(station.Records(), "port-health", "port", 3);
    ASSERT_EQ(cleared.size(), 2u);
    EXPECT_EQ(cleared[1]["flagged"], "false");

    bench.ClearFaults(3);
    bench.Plug(3);
    ASSERT_TRUE(station.Await([&] { return station.Row(3) == "Done, Disconnect the phone"; })) << station.Row(3);
    PullFinished(station, 3);
    EXPECT_FALSE(station.Dialog().portWatch.Health().Flag(3).flagged);
    const std::string afterSuccess = PortsLine(station, 3, "\"phones\":1,");
    EXPECT_NE(afterSuccess.find("\"flagged\":false"), std::string::npos) << afterSuccess;
    EXPECT_NE(afterSuccess.find("\"inRow\":0"), std::string::npos) << afterSuccess;
    EXPECT_EQ(afterSuccess.find("\"clearedMs\":null"), std::string::npos) << "the clear is kept: " << afterSuccess;
    EXPECT_EQ(Of(station.Records(), "port-health", "port", 3).size(), 2u);
}

// The program itself, told --port-alarm 1: one failure is enough.
TEST_F(PortHealthOnBench, TheProgramToldPortAlarmOneFlagsAPortAtItsFirstFailure) {
    bench.SetFault(3, "item3=fail");
    bench.MakeCurrent();
    const std::string journalFile = folder / "journal.jsonl";
    ChildProcess station({TANDREL_PROGRAM, "-platform", "offscreen", "--library", TANDREL_SIM_LIBRARY, "--devices",
                          "dir:" + bench.Registry(), "--image", container, "--start", "--journal", journalFile,
                          "--results", folder / "results.db", "--port-alarm", "1"},
                         folder / "station.log");
    const auto robot = bench.StartRobot(3, 20);
    JournalTail journal(journalFile);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDeadlineMs);
    while (Of(journal.Update(), "port-health", "port", 3).empty() && station.Running() &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    const std::vector<JournalRecord> flags = Of(journal.Update(), "port-health", "port", 3);
    ASSERT_EQ(flags.size(), 1u) << ReadWholeFile(folder / "station.log");
    EXPECT_EQ(flags[0]["reason"], "1 failure in a row");
    EXPECT_EQ(flags[0]["inRow"], "1");
    bool logged = false;
    for (const JournalRecord& r : journal.Records()) {
        logged = logged || (r.ev == "log" && r["text"].find("Port 3: 1 failure in a row") != std::string::npos);
    }
    EXPECT_TRUE(logged);
    EXPECT_EQ(station.Stop(), 0);
}

}  // namespace
}  // namespace tandrel::e2e
