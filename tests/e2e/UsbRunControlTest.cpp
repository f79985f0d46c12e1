// Start, Reset and the scan in USB mode, against the real phones of a bench.
#include <QColor>
#include <QCoreApplication>

#include <algorithm>

#include "BenchFixture.h"
#include "RowChecks.h"
#include "SimStation.h"
#include "usb/ScanTick.h"
#include "ui/ControlIds.h"
#include "usb/Timers.h"

namespace tandrel::e2e {
namespace {

constexpr const char* kUnplugAllPhones = "모든 폰을 USB에서 분리하세요";
constexpr const char* kSystemReset = "시스템 리셋";
constexpr const char* kAllChannelsInUse = "모든 채널 사용중";

class UsbRunControl : public BenchTest {};

TEST_F(UsbRunControl, ResetDuringDownloadsClosesEveryPortAndTheNextStartBeginsAfresh) {
    for (int n : {1, 2, 3}) bench.SetFault(n, kSlowLink);
    PlugPhones({1, 2, 3});
    SimStation station(bench, {container});
    station.Click(IDC_START);
    ASSERT_TRUE(station.Await([&] {
        return station.Row(1) == "Downloading FLS" && station.Row(2) == "Downloading FLS" &&
               station.Row(3) == "Downloading FLS";
    }));

    EXPECT_EQ(station.ResetAnsweringTheBox(), kUnplugAllPhones);
    // Whatever the library had queued for the window before the reset is
    // handled now, against channels that are Ready.
    QCoreApplication::processEvents();
    DownloadDialog& dialog = station.Dialog();
    for (int n = 1; n <= ChannelTable::channelCount; ++n) {
        SCOPED_TRACE("channel " + std::to_string(n));
        EXPECT_EQ(station.Row(n), "Restart");
        EXPECT_EQ(station.RowColour(n), QColor(Qt::white));
        EXPECT_EQ(station.Record(n).state.load(), ChannelState::Ready);
        EXPECT_FALSE(station.Record(n).portOpen);
        EXPECT_STREQ(dialog.devicePaths.Slot(n), "");
        EXPECT_TRUE(station.Enabled(StopButtonId(n)));
        EXPECT_FALSE(dialog.loop.IsTimerSet(ResultTimerId(n)));
    }
    EXPECT_EQ(dialog.unplugQueue.Count(), 0);
    EXPECT_TRUE(station.Log().empty());
    EXPECT_EQ(station.Banner(), kSystemReset);
    EXPECT_TRUE(station.Enabled(IDC_START));
    EXPECT_FALSE(dialog.loop.IsTimerSet(kScanTimerId)) << "scanning waits for the next Start";
    for (int n : {1, 2, 3}) {
        EXPECT_EQ(bench.PhoneState(n), "aborted") << "phone " << n << " was left running";
        EXPECT_NE(bench.FlashDifference(n, {container}), "");
    }

    // The phones are still plugged in: the next Start serves them from scratch.
    for (int n : {1, 2, 3}) bench.ClearFaults(n);
    station.Click(IDC_START);
    for (int n : {1, 2, 3}) {
        ASSERT_TRUE(station.Await([&] { return station.Row(n) == "Done, Disconnect the phone"; }))
            << "row " << n << ": \"" << station.Row(n) << "\"";
        EXPECT_EQ(bench.FlashDifference(n, {container}), "");
    }
}

TEST_F(UsbRunControl, CompletedChannelTakesNoNewPhoneUntilReset) {
    PlugPhones({4});
    SimStation station(bench, {container});
    station.Click(IDC_START);
    ASSERT_TRUE(station.Await([&] { return station.Row(4) == "Done, Disconnect the phone"; }));
    bench.Unplug(4);
    ASSERT_TRUE(station.Await([&] { return station.Record(4).state.load() == ChannelState::Completed; }));
    EXPECT_EQ(station.Row(4), "USB disconnected");

    // A new phone in port 4, and one in port 5 as a witness that the scan
    // goes on serving the other channels meanwhile.
    PlugPhones({4, 5});
    ASSERT_TRUE(station.Await([&] { return station.Row(5) == "Done, Disconnect the phone"; }));
    EXPECT_EQ(station.Record(4).state.load(), ChannelState::Completed);
    EXPECT_EQ(station.Row(4), kPhoneOnFinishedText) << "the row tells of the phone waiting in its port";
    EXPECT_EQ(station.RowColour(4), QColor(0, 255, 0));
    const std::vector<std::string> log = station.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(),
                         "Port 4: a phone was plugged into a finished channel; press Reset to use it"),
              1);
    EXPECT_EQ(bench.PhoneState(4), "plugged") << "the completed channel opened the new phone";

    station.ResetAnsweringTheBox();
    EXPECT_FALSE(station.Dialog().loop.IsTimerSet(ResultTimerId(4))) << "\"Success\" would overwrite \"Restart\"";
    station.Click(IDC_START);
    ASSERT_TRUE(station.Await([&] { return station.Row(4) == "Done, Disconnect the phone"; }))
        << "row 4: \"" << station.Row(4) << "\"";
    EXPECT_EQ(bench.FlashDifference(4, {container}), "");
}

class NinthPhone : public BenchTest {
protected:
    NinthPhone() : BenchTest(9) {}
};

TEST_F(NinthPhone, GetsNoChannelAndTheRedBannerWhileOtherPhonesAreServed) {
    PlugPhones({9});
    SimStation station(bench, {container});
    station.Click(IDC_START);
    ASSERT_TRUE(station.Await([&] {
        return station.Banner() == kAllChannelsInUse && station.Dialog().display.bannerColour() == kRed;
    })) << "banner: " << station.Banner();
    for (int n = 1; n <= ChannelTable::channelCount; ++n) {
        EXPECT_EQ(station.Row(n), "Wait for USB");
        EXPECT_EQ(station.Record(n).state.load(), ChannelState::Ready);
    }
    EXPECT_EQ(bench.PhoneState(9), "plugged") << "no port may be opened for device 9";

    PlugPhones({2});
    ASSERT_TRUE(station.Await([&] { return station.Row(2) == "Done, Disconnect the phone"; }));
    EXPECT_EQ(bench.FlashDifference(2, {container}), "");
    EXPECT_EQ(station.Banner(), kAllChannelsInUse) << "device 9 is still there";
    EXPECT_EQ(station.Dialog().display.bannerColour(), kRed);
    EXPECT_EQ(bench.PhoneState(9), "plugged");
}

}  // namespace
}  // namespace tandrel::e2e
