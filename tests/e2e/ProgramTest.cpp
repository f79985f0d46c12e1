// The tandrel program as an operator's script runs it: images and start on
// the command line, the journal in a file, the bench robot as the hands.
#include <chrono>
#include <thread>

#include "BenchFixture.h"
#include "JournalRecords.h"
#include "RowChecks.h"

namespace tandrel::e2e {
namespace {

// Eight phones, each unplugged with a 1 s pause of the window, then the
// 35 s before "Success": well inside this on any machine.
constexpr auto kRunDeadline = std::chrono::seconds(180);

class StationProgram : public BenchTest {
protected:
    // Follows the journal until eight result records are in, the program
    // ends or the deadline passes.
    std::vector<JournalRecord> AwaitResults(JournalTail& journal, ChildProcess& station) {
        const auto deadline = std::chrono::steady_clock::now() + kRunDeadline;
        std::vector<JournalRecord> results;
        while (results.size() < 8 && station.Running() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            results.clear();
            for (const JournalRecord& r : journal.Update()) {
                if (r.ev == "result") results.push_back(r);
            }
        }
        return results;
    }
};

TEST_F(StationProgram, EightPhonesEndInSuccessAndEveryFlashHoldsTheImages) {
    bench.MakeCurrent();
    const std::string journalFile = folder / "journal.jsonl";
    ChildProcess station({TANDREL_PROGRAM, "-platform", "offscreen", "--library", TANDREL_SIM_LIBRARY, "--devices",
                          "dir:" + bench.Registry(), "--image", container, "--start", "--journal", journalFile,
                          "--results", folder / "results.db"},
                         folder / "station.log");
    const auto robot = bench.StartRobot(8, 50);
    JournalTail journal(journalFile);

    const std::vector<JournalRecord> results = AwaitResults(journal, station);
    ASSERT_TRUE(station.Running()) << "the program ended by itself: " << ReadWholeFile(folder / "station.log");
    EXPECT_EQ(station.Stop(), 0) << "SIGTERM closes the window and the program exits normally";
    ASSERT_EQ(results.size(), 8u) << "journal:\n" << ReadWholeFile(journalFile);

    const std::vector<JournalRecord>& records = journal.Update();
    for (const JournalRecord& result : results) {
        const int n = result.ch;
        SCOPED_TRACE("phone " + std::to_string(n));
        EXPECT_EQ(result["result"], "Success");
        EXPECT_EQ(result["device"], std::to_string(n));
        EXPECT_EQ(result["images"], "[\"|0|" + container + "\",\"|1|" + container + "\",\"|2|" + container +
                                        "\",\"|3|" + container + "\",\"|4|" + container + "\"]");
        EXPECT_GT(std::stoll(result["ms"]), 0);
        EXPECT_TRUE(RanThrough(StatusTexts(records, n),
                               {"Done", "Done, Disconnect the phone", "USB disconnected", "Success"}));
        std::string lastColour;
        for (const JournalRecord& r : records) {
            if (r.ev == "colour" && r.ch == n) lastColour = r["rgb"];
        }
        EXPECT_EQ(lastColour, "[0,255,0]");
        EXPECT_EQ(bench.FlashDifference(n, {container}), "");
    }
}

}  // namespace
}  // namespace tandrel::e2e
