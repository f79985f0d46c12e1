#include <gtest/gtest.h>

#include <algorithm>

#include "RunBench.h"
#include "usb/ScanTick.h"

namespace tandrel::test {
namespace {

constexpr const char* kSearching = "채널 검색 중";
constexpr const char* kAllInUse = "모든 채널 사용중";
constexpr const char* kStopped = "채널 검색 중지";

struct ScanTickTest : ::testing::Test {
    void SetUp() override {
        bench.ChooseImages({"/images/code.fls"});
        bench.Start();
    }
    RunBench bench;
};

TEST_F(ScanTickTest, WithNothingPluggedEveryTickFindsNothingAndScanningGoesOn) {
    bench.loop.RunFor(1000);
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(bench.State(n), ChannelState::Ready);
        EXPECT_EQ(bench.Row(n), "Wait for USB");
    }
    EXPECT_EQ(bench.loop.TimerPeriod(kScanTimerId), kScanPeriodMs);
    EXPECT_TRUE(bench.fake.calls.empty());
}

TEST_F(ScanTickTest, APhoneIsArmedOnTheChannelOfItsNumberOnce) {
    bench.Plug(3);
    bench.Tick();
    EXPECT_EQ(bench.State(3), ChannelState::Booting);
    EXPECT_EQ(bench.R(3).deviceNumber, 3);
    EXPECT_EQ(bench.Row(3), "USB detected");
    bench.loop.RunFor(500);
    EXPECT_EQ(bench.Calls("open", 3), 1);
    EXPECT_EQ(bench.Calls("boot", 3), 1);
    EXPECT_EQ(bench.fake.calls[0].text, "\\\\.\\USB3|\\\\.\\USB3");
}

TEST_F(ScanTickTest, EveryNewPhoneOfOneTickIsArmedInThatTick) {
    for (int n : {2, 5, 7}) bench.Plug(n);
    bench.Tick();
    for (int n : {2, 5, 7}) EXPECT_EQ(bench.State(n), ChannelState::Booting) << n;
}

TEST_F(ScanTickTest, ANumberAboveTheChannelsTurnsTheBannerRedOnEveryTick) {
    bench.Plug(9);
    bench.Tick();
    EXPECT_EQ(bench.Banner(), kAllInUse);
    EXPECT_EQ(bench.BannerColour(), kRed);
    const int before = bench.JournalCount(kAllInUse);
    bench.loop.RunFor(5 * kScanPeriodMs);
    EXPECT_EQ(bench.JournalCount(kAllInUse), before + 5);
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(bench.State(n), ChannelState::Ready);
}

TEST_F(ScanTickTest, ASucceededPhoneShowsSuccessAfterItsUnplugAndTheChannelRetires) {
    bench.Plug(3);
    bench.Tick();
    bench.RunToUnplug(3);
    EXPECT_EQ(bench.State(3), ChannelState::WaitUnplug);
    EXPECT_EQ(bench.Row(3), "Done, Disconnect the phone");

    bench.loop.RunFor(1000);  // still plugged: reported every tick, nothing changes
    EXPECT_EQ(bench.State(3), ChannelState::WaitUnplug);
    EXPECT_EQ(bench.dialog.unplugQueue.Count(), 1);

    bench.Unplug(3);
    const auto before = bench.loop.Now();
    bench.Tick();
    EXPECT_EQ(bench.Row(3), "USB disconnected");
    EXPECT_EQ(bench.State(3), ChannelState::Completed);
    EXPECT_EQ(bench.dialog.unplugQueue.Count(), 0);
    EXPECT_EQ(bench.Banner(), kSearching);
    EXPECT_EQ(bench.loop.Now() - before, kScanPeriodMs) << "the pause after an unplug must not block the window";

    // 35 s after the unplug was seen.
    bench.loop.RunFor(34000);
    EXPECT_EQ(bench.Row(3), "USB disconnected");
    bench.loop.RunFor(1000);
    EXPECT_EQ(bench.Row(3), "Success");
    EXPECT_EQ(bench.JournalCount("\"ev\":\"result\",\"ch\":3,\"device\":3,\"result\":\"Success\""), 1);

    bench.Plug(3);  // a completed channel takes no new phone, but says so
    bench.loop.RunFor(500);
    EXPECT_EQ(bench.State(3), ChannelState::Completed);
    EXPECT_EQ(bench.Calls("boot", 3), 1);
    EXPECT_EQ(bench.Row(3), kPhoneOnFinishedText);
    bench.Unplug(3);
    bench.Tick();
    EXPECT_EQ(bench.Row(3), "Success") << "the row is as it was once that phone has gone";
}

TEST_F(ScanTickTest, AFailedPhoneShowsFailAfterItsUnplugAndTheNextPhoneIsArmed) {
    bench.Plug(3);
    bench.Tick();
    bench.Report(3, ChannelEventKind::StepFailed);
    EXPECT_EQ(bench.Row(3), "Error, Disc the phone");
    bench.Unplug(3);
    bench.Tick();
    EXPECT_EQ(bench.State(3), ChannelState::Ready);
    EXPECT_EQ(bench.Row(3), "USB disconnected");
    bench.loop.RunFor(1000);
    EXPECT_EQ(bench.Row(3), "Fail");
    EXPECT_EQ(bench.JournalCount("\"result\":\"Fail\""), 1);

    bench.Plug("another", "USB3");
    bench.Tick();
    EXPECT_EQ(bench.State(3), ChannelState::Booting);
    EXPECT_EQ(bench.Calls("boot", 3), 2);
}

TEST_F(ScanTickTest, TwoUnplugsInOneTickAreHandledInQueueOrderWithAPauseEach) {
    for (int n : {4, 2}) {
        bench.Plug(n);
        bench.Tick();
        bench.Report(n, ChannelEventKind::StepFailed);
    }
    bench.Unplug(2);
    bench.Unplug(4);
    bench.Tick();
    EXPECT_EQ(bench.State(4), ChannelState::Ready);
    EXPECT_EQ(bench.State(2), ChannelState::WaitUnplug) << "the second unplug comes after the first one's pause";
    bench.loop.RunFor(999);
    EXPECT_EQ(bench.State(2), ChannelState::WaitUnplug);
    bench.loop.RunFor(1);
    EXPECT_EQ(bench.State(2), ChannelState::Ready);
    bench.loop.RunFor(1000);
    // Channel 4 was queued first, so it was handled and shows its result first.
    EXPECT_LT(bench.JournalPosition("\"ch\":4,\"text\":\"Fail\""),
              bench.JournalPosition("\"ch\":2,\"text\":\"Fail\""));
}

// Channel 5 fails while channel 2's unplug pause runs: the scan that saw
// phone 2 gone did not look for phone 5, which is still plugged in.
TEST_F(ScanTickTest, AChannelThatStartsWaitingDuringAnUnplugPauseIsNotTakenForUnplugged) {
    bench.Plug(2);
    bench.Tick();
    bench.Report(2, ChannelEventKind::StepFailed);
    bench.Plug(5);
    bench.Tick();
    bench.Unplug(2);
    bench.Tick();
    bench.Report(5, ChannelEventKind::StepFailed);
    bench.loop.RunFor(1500);
    EXPECT_EQ(bench.State(2), ChannelState::Ready);
    EXPECT_EQ(bench.State(5), ChannelState::WaitUnplug);
    EXPECT_EQ(bench.Row(5), "Error, Disc the phone");
}

TEST_F(ScanTickTest, TwoDevicesClaimingOnePortAreLoggedOncePerPair) {
    bench.Plug("phone-a", "USB1");
    bench.Plug("phone-b", "USB1");
    bench.loop.RunFor(500);
    const std::string told = "Port USB1 is claimed by two devices: phone-a and phone-b";
    const std::vector<std::string> log = bench.Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), told), 1);
}

TEST_F(ScanTickTest, WhenEveryChannelIsCompletedScanningStops) {
    for (int n = 1; n <= 8; ++n) bench.dialog.channelTable.SetState(bench.R(n), ChannelState::Completed);
    bench.Tick();
    EXPECT_EQ(bench.Banner(), kStopped);
    EXPECT_EQ(bench.BannerColour(), kBannerBlue);
    EXPECT_FALSE(bench.loop.IsTimerSet(kScanTimerId));
}

TEST_F(ScanTickTest, AStaleQueueEntryKeepsScanningAlive) {
    for (int n = 1; n <= 8; ++n) bench.dialog.channelTable.SetState(bench.R(n), ChannelState::Completed);
    bench.dialog.unplugQueue.Append(3);
    bench.loop.RunFor(500);
    EXPECT_TRUE(bench.loop.IsTimerSet(kScanTimerId));
    EXPECT_EQ(bench.dialog.unplugQueue.Count(), 1);
}

TEST_F(ScanTickTest, WhenEveryChannelIsBusyScanningStopsUntilOneWaitsForItsUnplug) {
    for (int n = 1; n <= 8; ++n) bench.Plug(n);
    bench.Tick();
    EXPECT_FALSE(bench.loop.IsTimerSet(kScanTimerId));
    EXPECT_EQ(bench.Banner(), kStopped);
    bench.Report(6, ChannelEventKind::StepFailed);
    EXPECT_TRUE(bench.loop.IsTimerSet(kScanTimerId));
}

TEST_F(ScanTickTest, ChangingTheDriverToCommDoesNotStopScanning) {
    bench.SetUsb(false);
    bench.Plug(2);
    bench.Tick();
    EXPECT_EQ(bench.State(2), ChannelState::Booting);
    EXPECT_EQ(bench.fake.calls[0].text, "\\\\.\\COM2|\\\\.\\COM2");
}

TEST_F(ScanTickTest, AnUnknownTimerTurnsTheBannerRed) {
    bench.dialog.OnTimer(42);
    EXPECT_EQ(bench.Banner(), "PhoneInit Timer error");
    EXPECT_EQ(bench.BannerColour(), kRed);
}

// The row keeps saying what went wrong when arming did not start a boot.
TEST_F(ScanTickTest, ARowThatFailedAtItsDetectionKeepsSayingWhy) {
    bench.fake.results["open"] = 1;
    bench.Plug(1);
    bench.Tick();
    EXPECT_EQ(bench.Row(1), "Can't open port");
    EXPECT_EQ(bench.State(1), ChannelState::Ready);

    bench.fake.results["open"] = 0;
    bench.fake.results["boot"] = 1;
    bench.Plug(2);
    bench.Tick();
    EXPECT_EQ(bench.Row(2), "Error, Disc the phone");
    EXPECT_EQ(bench.State(2), ChannelState::WaitUnplug);
}

TEST(ScanTickEmptyList, ARowWithNothingToDownloadSaysSo) {
    RunBench bench;
    bench.Start();
    EXPECT_EQ(bench.Row(1), "List is empty");
    bench.Plug(5);
    bench.Tick();
    EXPECT_EQ(bench.JournalCount("\"text\":\"Setup error. Can't boot\""), 1);
    EXPECT_EQ(bench.Row(5), "Error, Disc the phone") << "the phone fails, and its result will say why";
    EXPECT_EQ(bench.R(5).failReason, "the image list is empty");
    EXPECT_EQ(bench.Calls("boot", 5), 0);
}

}  // namespace
}  // namespace tandrel::test
