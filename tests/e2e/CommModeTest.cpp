// COMM mode: Start hands every idle channel n the port COM<n> and starts it;
// a run ends on its own row, with no unplug to wait for.
#include <QColor>
#include <algorithm>

#include "BenchFixture.h"
#include "results/ResultStore.h"
#include "RowChecks.h"
#include "SimStation.h"
#include "ui/ControlIds.h"
#include "usb/Timers.h"

namespace tandrel::e2e {
namespace {

const QColor kBlueRow(0, 31, 255);
const QColor kRedRow(255, 0, 0);
constexpr const char* kSearching = "채널 검색 중";

class CommMode : public BenchTest {
protected:
    // A run that ended well in COMM mode: reset done, port closed, row on "Done".
    bool Finished(SimStation& station, int n) {
        const ChannelRecord& r = station.Record(n);
        return r.succeeded && !r.portOpen && r.state.load() == ChannelState::Finishing;
    }

    long Boots(SimStation& station, int n) {
        const std::vector<std::string> history = station.History(n);
        return std::count(history.begin(), history.end(), "Booting...");
    }
};

TEST_F(CommMode, StartWritesEveryPluggedPhoneAndLeavesItsRowOnDone) {
    PlugPhones({1, 2, 3, 4, 5, 6, 7, 8});
    SimStation station(bench, images);
    station.ChooseComm();
    station.Click(IDC_START);
    ASSERT_TRUE(station.Await([&] {
        for (int n = 1; n <= 8; ++n) {
            if (!Finished(station, n)) return false;
        }
        return true;
    }));

    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE("channel " + std::to_string(n));
        EXPECT_EQ(station.Row(n), "Done");
        EXPECT_EQ(station.RowColour(n), kBlueRow);
        EXPECT_TRUE(ShowedInOrder(station.History(n), {"Please wait...", "Booting..."}));
        EXPECT_TRUE(RanThrough(station.History(n), {"Done"}));
        EXPECT_FALSE(Contains(station.History(n), "Wait for USB"));
        EXPECT_EQ(bench.PhoneState(n), "reset done");
        EXPECT_EQ(bench.FlashDifference(n, images), "");
    }
    EXPECT_EQ(station.Banner(), kSearching);
    EXPECT_FALSE(station.Dialog().loop.IsTimerSet(kScanTimerId));
    EXPECT_EQ(station.Dialog().unplugQueue.Count(), 0);
}

TEST_F(CommMode, EachRunThatEndsGetsItsResultRecordInTheJournalAndItsRowInTheStore) {
    bench.SetFault(2, "item3=fail");
    PlugPhones({1, 2});
    std::vector<JournalRecord> results;
    {
        SimStation station(bench, images);
        station.ChooseComm();
        station.Click(IDC_START);
        ASSERT_TRUE(station.Await([&] {
            results.clear();
            for (const JournalRecord& r : station.Records()) {
                if (r.ev == "result") results.push_back(r);
            }
            return results.size() == 2;
        }));
    }
    std::string error;
    const auto store = ResultStore::Open(bench.Root() + "/results.db", false, error);
    ASSERT_TRUE(store) << error;
    std::vector<ResultRecord> rows;
    ASSERT_TRUE(store->Results({}, rows, error)) << error;
    ASSERT_EQ(rows.size(), 2u) << "only phones that were there get a row";
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ResultRecord& row = rows[i];
        SCOPED_TRACE("channel " + std::to_string(row.channel));
        EXPECT_EQ(row.uuid, results[i]["uuid"]);
        EXPECT_EQ(std::to_string(row.channel), std::to_string(results[i].ch));
        EXPECT_EQ(row.success ? "Success" : "Fail", results[i]["result"]);
        EXPECT_EQ(row.mode, "COMM");
        EXPECT_EQ(row.sequence, static_cast<std::int64_t>(i + 1));
        EXPECT_GT(row.resultMs, row.armedMs);
    }
    const ResultRecord& failed = rows[0].channel == 2 ? rows[0] : rows[1];
    EXPECT_FALSE(failed.success);
    EXPECT_EQ(failed.failText, "Failed (FLS)");
    EXPECT_EQ(failed.failStage, "LoadFls");
}

TEST_F(CommMode, FailureAndStopEndTheirOwnChannelsAndTheOthersFinish) {
    bench.SetFault(2, "item3=fail");
    bench.SetFault(3, kSlowLink);
    PlugPhones({1, 2, 3, 4});
    SimStation station(bench, images);
    station.ChooseComm();
    station.Click(IDC_START);
    ASSERT_TRUE(station.Await([&] { return station.Row(3) == "Downloading FLS"; }));

    station.Click(StopButtonId(3));
    EXPECT_EQ(station.Row(3), "Downloading FLS") << "COMM mode asks for no unplug";
    EXPECT_EQ(station.RowColour(3), kRedRow);
    EXPECT_FALSE(station.Record(3).portOpen);
    EXPECT_EQ(bench.PhoneState(3), "aborted");
    EXPECT_FALSE(station.Enabled(StopButtonId(3)));
    EXPECT_TRUE(station.Enabled(IDC_START));

    ASSERT_TRUE(station.Await([&] { return !station.Record(2).portOpen && station.Row(2) == "Failed (FLS)"; }))
        << "row 2: \"" << station.Row(2) << "\"";
    EXPECT_EQ(station.RowColour(2), kRedRow);
    EXPECT_TRUE(AnyContains(station.Log(), "flash write error"));
    EXPECT_NE(bench.FlashDifference(2, images), "");

    for (int n : {1, 4}) {
        ASSERT_TRUE(station.Await([&] { return Finished(station, n); })) << "row " << n << ": \"" << station.Row(n) << "\"";
        EXPECT_EQ(station.Row(n), "Done");
        EXPECT_EQ(bench.FlashDifference(n, images), "");
    }
    // The ports without a phone could not be opened, under their COMM names.
    for (int n = 5; n <= 8; ++n) {
        EXPECT_EQ(station.Row(n), "Can't open port");
        EXPECT_EQ(station.Record(n).state.load(), ChannelState::Ready);
        EXPECT_TRUE(AnyContains(station.Log(), "COM" + std::to_string(n)));
    }
    for (int n = 1; n <= 8; ++n) {
        EXPECT_FALSE(AnyContains(station.History(n), "Disc")) << "row " << n << " asked for an unplug";
    }
    EXPECT_EQ(station.Dialog().unplugQueue.Count(), 0);
}

TEST_F(CommMode, ResetDuringDownloadsThenFinishedChannelsWaitForTheNextReset) {
    for (int n : {1, 2}) bench.SetFault(n, kSlowLink);
    PlugPhones({1, 2});
    SimStation station(bench, images);
    station.ChooseComm();
    station.Click(IDC_START);
    ASSERT_TRUE(station.Await([&] { return station.Row(1) == "Downloading FLS" && station.Row(2) == "Downloading FLS"; }));

    station.ResetAnsweringTheBox();
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(station.Row(n), "Restart");
        EXPECT_FALSE(station.Record(n).portOpen);
        EXPECT_EQ(station.Record(n).state.load(), ChannelState::Ready);
    }
    for (int n : {1, 2}) EXPECT_EQ(bench.PhoneState(n), "aborted");

    for (int n : {1, 2}) bench.ClearFaults(n);
    station.Click(IDC_START);
    ASSERT_TRUE(station.Await([&] { return Finished(station, 1) && Finished(station, 2); }));
    for (int n : {1, 2}) EXPECT_EQ(bench.FlashDifference(n, images), "");

    // Stop on a finished channel frees Start; a second Start leaves both
    // finished channels alone.
    station.Click(StopButtonId(1));
    station.Click(IDC_START);
    for (int n : {1, 2}) {
        EXPECT_EQ(station.Record(n).state.load(), ChannelState::Finishing);
        EXPECT_EQ(Boots(station, n), 2) << "channel " << n << " booted its finished phone again";
        EXPECT_EQ(bench.PhoneState(n), "reset done");
    }

    station.ResetAnsweringTheBox();
    station.Click(IDC_START);
    ASSERT_TRUE(station.Await([&] { return Finished(station, 1) && Finished(station, 2); }));
    for (int n : {1, 2}) {
        EXPECT_EQ(Boots(station, n), 3);
        EXPECT_EQ(bench.FlashDifference(n, images), "");
    }
}

}  // namespace
}  // namespace tandrel::e2e
