// Runs that go wrong on one channel in USB mode: the channel ends in "Fail"
// once its phone is out, and the phones beside it are written as if nothing
// had happened.
#include <QColor>
#include <ostream>

#include "BenchFixture.h"
#include "RowChecks.h"
#include "SimStation.h"
#include "ui/ControlIds.h"

namespace tandrel::e2e {
namespace {

const QColor kRedRow(255, 0, 0);
const QColor kGreenRow(0, 255, 0);

struct FailureCase {
    const char* fault;        // set on phone 2
    const char* armedText;    // what row 2 shows once armed
    const char* failureText;  // what row 2 shows for it
    const char* logPart;      // what the library's message says
    QColor colour = kRedRow;  // of row 2 at the end

    friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.fault; }
};

class OneChannelFails : public BenchTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(OneChannelFails, ItsRowEndsInFailWhileItsNeighboursAreWritten) {
    const FailureCase& c = GetParam();
    bench.SetFault(2, c.fault);
    SimStation station(bench, {container});
    const auto robot = bench.StartRobot(3, 20);
    station.Click(IDC_START);

    ASSERT_TRUE(station.AwaitShown(2, "Fail")) << "row 2 now reads \"" << station.Row(2) << "\"";
    EXPECT_TRUE(ShowedInOrder(station.History(2),
                              {c.armedText, c.failureText, "Error, Disc the phone", "USB disconnected", "Fail"}));
    EXPECT_EQ(station.RowColour(2), c.colour);
    EXPECT_TRUE(AnyContains(station.Log(), c.logPart));
    EXPECT_NE(bench.FlashDifference(2, {container}), "") << "phone 2 cannot hold the whole image set";

    for (int n : {1, 3}) {
        ASSERT_TRUE(station.AwaitShown(n, "USB disconnected")) << "row " << n << ": \"" << station.Row(n) << "\"";
        EXPECT_TRUE(RanThrough(station.History(n), {"Done", "Done, Disconnect the phone", "USB disconnected"}));
        EXPECT_EQ(station.RowColour(n), kGreenRow);
        EXPECT_EQ(bench.FlashDifference(n, {container}), "");
    }

    bool journalled = false;
    for (const JournalRecord& r : station.Records()) {
        if (r.ev != "result") continue;
        EXPECT_EQ(r.ch, 2) << "only phone 2 has a result before the 35 s wait is over";
        EXPECT_EQ(r["result"], "Fail");
        EXPECT_EQ(r["device"], "2");
        journalled = true;
    }
    EXPECT_TRUE(journalled) << "the failed run has no result record";
}

INSTANTIATE_TEST_SUITE_P(
    UsbMode, OneChannelFails,
    ::testing::Values(FailureCase{"boot=fail", "USB detected", "Boot Failed", "boot failed"},
                      // Refused at once, which leaves the row's colour: the
                      // robot still pulls the phone.
                      FailureCase{"boot=refuse", "Please wait...", "Boot Failed", "refused the boot", Qt::white},
                      FailureCase{"item3=fail", "USB detected", "Failed (FLS)", "flash write error"},
                      FailureCase{"item5=refuse", "USB detected", "Failed (DFFS/DFAT)", "refused item 5"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) {
        std::string name = info.param.fault;
        for (char& ch : name) {
            if (ch == '=') ch = '_';
        }
        return name;
    });

class UsbRun : public BenchTest {};

TEST_F(UsbRun, PhonePulledMidDownloadFailsItsChannelWhichThenServesTheNextPhone) {
    bench.SetFault(2, kSlowLink);
    PlugPhones({1, 2, 3});
    SimStation station(bench, {container});
    station.Click(IDC_START);
    ASSERT_TRUE(station.Await([&] { return station.Row(2) == "Downloading FLS" && station.Progress(2) > 0; }))
        << "row 2: \"" << station.Row(2) << "\"";

    bench.Unplug(2);
    ASSERT_TRUE(station.AwaitShown(2, "Fail")) << "row 2: \"" << station.Row(2) << "\"";
    EXPECT_TRUE(ShowedInOrder(station.History(2),
                              {"Downloading FLS", "Failed (FLS)", "Error, Disc the phone", "USB disconnected", "Fail"}));
    EXPECT_TRUE(AnyContains(station.Log(), "unplugged"));
    EXPECT_NE(bench.FlashDifference(2, {container}), "");
    for (int n : {1, 3}) {
        ASSERT_TRUE(station.AwaitShown(n, "Done, Disconnect the phone"));
        EXPECT_TRUE(RanThrough(station.History(n), {"Done, Disconnect the phone"}));
        EXPECT_EQ(bench.FlashDifference(n, {container}), "");
    }

    // The failed channel is free again: the next phone on its port is written.
    bench.ClearFaults(2);
    bench.Plug(2);
    ASSERT_TRUE(station.Await([&] { return station.Row(2) == "Done, Disconnect the phone"; }))
        << "row 2: \"" << station.Row(2) << "\"";
    EXPECT_EQ(bench.FlashDifference(2, {container}), "");
}

TEST_F(UsbRun, StopOnADownloadingChannelAbortsItAloneAndFreesStart) {
    bench.SetFault(2, kSlowLink);
    PlugPhones({1, 2, 3});
    SimStation station(bench, {container});
    station.Click(IDC_START);
    ASSERT_TRUE(station.Await([&] { return station.Row(2) == "Downloading FLS"; }));
    EXPECT_FALSE(station.Enabled(IDC_START));

    station.Click(StopButtonId(2));
    EXPECT_EQ(station.Row(2), "Abort, Disc the phone");
    EXPECT_EQ(station.RowColour(2), kRedRow);
    EXPECT_EQ(station.Progress(2), 0);
    EXPECT_FALSE(station.Record(2).portOpen);
    EXPECT_EQ(bench.PhoneState(2), "aborted") << "the library was told to stop the download";
    EXPECT_FALSE(station.Enabled(StopButtonId(2)));
    EXPECT_TRUE(station.Enabled(IDC_START));

    for (int n : {1, 3}) {
        ASSERT_TRUE(station.AwaitShown(n, "Done, Disconnect the phone"));
        EXPECT_TRUE(RanThrough(station.History(n), {"Done, Disconnect the phone"}));
        EXPECT_EQ(bench.FlashDifference(n, {container}), "");
        EXPECT_TRUE(station.Enabled(StopButtonId(n)));
    }

    bench.Unplug(2);
    ASSERT_TRUE(station.AwaitShown(2, "Fail"));
    EXPECT_TRUE(ShowedInOrder(station.History(2), {"Abort, Disc the phone", "USB disconnected", "Fail"}));
    EXPECT_NE(bench.FlashDifference(2, {container}), "");
}

}  // namespace
}  // namespace tandrel::e2e
