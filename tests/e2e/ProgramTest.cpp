// The tandrel program as an operator's script runs it: images and start on
// the command line, the journal in a file, the bench robot as the hands, and
// the results store read back with tandrel-results.
#include <chrono>
#include <thread>

#include "BenchFixture.h"
#include "JournalRecords.h"
#include "RowChecks.h"
#include "StoreRows.h"
#include "app/Options.h"
#include "platform/StationHost.h"
#include "usb/Timers.h"

namespace tandrel::e2e {
namespace {

// Eight phones, each unplugged with a 1 s pause of the window, then the
// 35 s before "Success": well inside this on any machine.
constexpr auto kRunDeadline = std::chrono::seconds(180);

class StationProgram : public BenchTest {
protected:
    std::vector<std::string> Station(std::vector<std::string> more) {
        std::vector<std::string> argv = {TANDREL_PROGRAM, "-platform", "offscreen", "--library", TANDREL_SIM_LIBRARY,
                                         "--devices", "dir:" + bench.Registry(), "--image", container, "--start"};
        argv.insert(argv.end(), more.begin(), more.end());
        return argv;
    }

    // Follows the journal until eight result records are in, the program
    // ends or the deadline passes.
    std::vector<JournalRecord> AwaitResults(JournalTail& journal, ChildProcess& station) {
        const auto deadline = std::chrono::steady_clock::now() + kRunDeadline;
        std::vector<JournalRecord> results;
        while (results.size() < 8 && station.Running() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            results = ResultRecords(journal.Update());
        }
        return results;
    }

    // What every row of a phone that took the whole container holds.
    void ExpectFlashedRow(const JournalRecord& row, const std::string& mode) {
        EXPECT_EQ(row["station"], HostName());
        EXPECT_EQ(row["mode"], mode);
        EXPECT_EQ(row["result"], "Success");
        for (const char* none : {"fail_stage", "fail_item", "fail_text", "reason"}) {
            EXPECT_EQ(row[none], "null") << none;
        }
        EXPECT_EQ(row["images"], "[\"|0|" + container + "\",\"|1|" + container + "\",\"|2|" + container +
                                     "\",\"|3|" + container + "\",\"|4|" + container + "\"]");
        const std::string hash = "\"" + FileSha256(container) + "\"";
        EXPECT_EQ(row["sha256"], "[" + hash + "," + hash + "," + hash + "," + hash + "," + hash + "]");
        EXPECT_EQ(bench.FlashDifference(std::stoi(row["device"]), {container}), "")
            << "the bytes hashed are those the phone holds";
        EXPECT_NE(row["library_version"], "null");
        EXPECT_EQ("tandrel " + row["station_version"] + "\n", VersionText());
        EXPECT_NE(row["run"], "null");
        const long long armed = std::stoll(row["armed_ms"]), done = std::stoll(row["items_done_ms"]);
        EXPECT_LE(armed, done);
        EXPECT_LE(done, std::stoll(row["result_ms"]));
    }
};

TEST_F(StationProgram, EightPhonesEndInSuccessAndEveryFlashHoldsTheImages) {
    bench.MakeCurrent();
    const std::string journalFile = folder / "journal.jsonl";
    const std::string store = folder / "results.db";
    ChildProcess station(Station({"--journal", journalFile, "--results", store}), folder / "station.log");
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

    // The store holds the same results, one row each, in the order written.
    const std::vector<JournalRecord> rows = StoreRows(store);
    ASSERT_EQ(rows.size(), results.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const JournalRecord& row = rows[i];
        const JournalRecord& result = results[i];
        SCOPED_TRACE("row " + std::to_string(i + 1));
        EXPECT_EQ(row["sequence"], std::to_string(i + 1));
        for (const char* same : {"uuid", "ch", "device", "result", "images", "sha256", "ms"}) {
            EXPECT_EQ(row[same], result[same]) << same;
        }
        ExpectFlashedRow(row, "USB");
        EXPECT_EQ(row["run"], rows[0]["run"]) << "one Start";
        EXPECT_NE(row["device_path"].find("\\phone-" + row["device"] + "\\"), std::string::npos) << row["device_path"];
        EXPECT_EQ(row["row_text"], "Done, Disconnect the phone") << "what the phone's row said when it went";
        const long long unplugged = std::stoll(row["unplugged_ms"]);
        EXPECT_GE(std::stoll(row["result_ms"]) - unplugged, kSuccessResultMs);
        EXPECT_NEAR(unplugged - std::stoll(row["armed_ms"]), std::stoll(row["ms"]), 200);
    }
}

// No journal and no --results: the rows are in the default store, which the
// tool reads by default too.
TEST_F(StationProgram, TwoPhonesInCommModeLeaveTheirRowsInTheDefaultStore) {
    bench.MakeCurrent();
    PlugPhones({1, 2});
    ChildProcess station(Station({"--driver", "comm"}), folder / "station.log");
    std::vector<JournalRecord> rows;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (rows.size() < 2 && station.Running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const ProgramResult listed = ResultsTool({"list", "--json"});
        rows = listed.status == 0 ? ParseJournal(listed.output) : std::vector<JournalRecord>{};
    }
    EXPECT_EQ(station.Stop(), 0);
    ASSERT_EQ(rows.size(), 2u) << ReadWholeFile(folder / "station.log");
    EXPECT_EQ(StoreRows(folder / "data/tandrel/results.db").size(), 2u);

    for (std::size_t i = 0; i < rows.size(); ++i) {
        const JournalRecord& row = rows[i];
        SCOPED_TRACE("row " + row["sequence"]);
        EXPECT_EQ(row["sequence"], std::to_string(i + 1));
        EXPECT_EQ(row["device_path"], "COM" + row["device"]);
        EXPECT_EQ(row["row_text"], "Done");
        ExpectFlashedRow(row, "COMM");
        // No unplug: the run's length is from arming to its result.
        EXPECT_EQ(row["unplugged_ms"], "null");
        EXPECT_GT(std::stoll(row["ms"]), 0);
        EXPECT_NEAR(std::stoll(row["result_ms"]) - std::stoll(row["armed_ms"]), std::stoll(row["ms"]), 200);
    }
    EXPECT_NE(rows[0]["ch"], rows[1]["ch"]);
}

}  // namespace
}  // namespace tandrel::e2e
