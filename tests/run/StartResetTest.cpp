#include <gtest/gtest.h>

#include "RunBench.h"

namespace tandrel::test {
namespace {

constexpr const char* kSearching = "채널 검색 중";

void ExpectStartedControls(RunBench& bench) {
    EXPECT_FALSE(bench.controls.IsEnabled(IDC_START));
    EXPECT_FALSE(bench.controls.IsEnabled(IDC_OPEN_FILE));
    for (int n = 1; n <= 8; ++n) EXPECT_TRUE(bench.controls.IsEnabled(StopButtonId(n)));
    EXPECT_EQ(bench.Banner(), kSearching);
    EXPECT_EQ(bench.BannerColour(), kBannerBlue);
}

TEST(Start, InUsbModeScansAndEveryRowWaitsForUsb) {
    RunBench bench;
    bench.ChooseImages({"/images/code.fls"});
    bench.controls.ListAppend(IDC_EVENT_LOG, "old line");
    bench.Start();
    ExpectStartedControls(bench);
    EXPECT_EQ(bench.controls.ListCount(IDC_EVENT_LOG), 0);
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(bench.Row(n), "Wait for USB");
    EXPECT_EQ(bench.loop.TimerPeriod(kScanTimerId), kScanPeriodMs);
    EXPECT_EQ(bench.dialog.downloadList.count, 1);
}

TEST(Start, InCommModeStartsEveryIdleChannelOnItsOwnComPort) {
    RunBench bench;
    bench.ChooseImages({"/images/code.fls"});
    bench.SetUsb(false);
    bench.fake.results["open"] = 0;
    bench.Start();
    ExpectStartedControls(bench);
    EXPECT_FALSE(bench.loop.IsTimerSet(kScanTimerId));
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(bench.State(n), ChannelState::Booting) << n;
        EXPECT_EQ(bench.Row(n), "Booting...") << n;
        EXPECT_EQ(bench.Calls("boot", n), 1) << n;
    }
    EXPECT_EQ(bench.fake.calls[0].text, "\\\\.\\COM1|\\\\.\\COM1");
}

TEST(Start, InCommModeAChannelWhosePortWillNotOpenStaysReady) {
    RunBench bench;
    bench.ChooseImages({"/images/code.fls"});
    bench.SetUsb(false);
    bench.fake.results["open"] = 1;
    bench.Start();
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(bench.State(n), ChannelState::Ready);
        EXPECT_EQ(bench.Row(n), "Can't open port");
    }
}

TEST(Start, PressedAgainResetsEveryRowButNoChannel) {
    RunBench bench;
    bench.ChooseImages({"/images/code.fls"});
    bench.Start();
    bench.Plug(4);
    bench.Tick();
    bench.Report(4);  // downloading
    bench.controls.Click(StopButtonId(1));  // Stop 1 enables Start again
    bench.Start();
    EXPECT_EQ(bench.Row(4), "Wait for USB");
    EXPECT_EQ(bench.State(4), ChannelState::LoadFls);
    EXPECT_EQ(bench.loop.TimerPeriod(kScanTimerId), kScanPeriodMs);
}

TEST(Reset, DuringADownloadClosesThePortAndEmptiesEverything) {
    RunBench bench;
    bench.ChooseImages({"/images/code.fls"});
    bench.Start();
    bench.Plug(2);
    bench.Tick();
    bench.Report(2);
    ASSERT_EQ(bench.State(2), ChannelState::LoadFls);
    bench.fake.writes["close"] = "closing";
    const auto before = bench.loop.Now();
    bench.Reset();

    EXPECT_EQ(bench.controls.MessageBoxes(), std::vector<std::string>{"모든 폰을 USB에서 분리하세요"});
    EXPECT_EQ(bench.Calls("close", 2), 1);
    EXPECT_FALSE(bench.R(2).portOpen);
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(bench.State(n), ChannelState::Ready);
        EXPECT_EQ(bench.Row(n), "Restart");
        EXPECT_EQ(bench.dialog.display.Label(n).backgroundColor(), kWhite);
    }
    EXPECT_EQ(bench.loop.Now() - before, 8 * 500);
    EXPECT_EQ(bench.dialog.unplugQueue.Count(), 0);
    for (int n = 0; n <= 8; ++n) EXPECT_STREQ(bench.devicePaths.Slot(n), "");
    EXPECT_EQ(bench.controls.ListCount(IDC_EVENT_LOG), 0);  // the close message was cleared again
    EXPECT_EQ(bench.Banner(), "시스템 리셋");
    EXPECT_FALSE(bench.loop.IsTimerSet(kScanTimerId));
    EXPECT_TRUE(bench.controls.IsEnabled(IDC_START));
    EXPECT_FALSE(bench.controls.IsEnabled(IDC_OPEN_FILE));
    EXPECT_EQ(bench.Calls("abort", 2), 0);
}

TEST(Reset, RightAfterASuccessfulUnplugCancelsTheSuccessRow) {
    RunBench bench;
    bench.ChooseImages({"/images/code.fls"});
    bench.Start();
    bench.Plug(5);
    bench.Tick();
    bench.RunToUnplug(5);
    bench.Unplug(5);
    bench.Tick();
    ASSERT_EQ(bench.State(5), ChannelState::Completed);
    bench.Reset();
    bench.loop.RunFor(40000);
    EXPECT_EQ(bench.Row(5), "Restart");
    EXPECT_EQ(bench.State(5), ChannelState::Ready);
}

TEST(Reset, TimerTicksAndLibraryReportsGoOnWhileTheBoxIsOpen) {
    RunBench bench;
    bench.ChooseImages({"/images/code.fls"});
    bench.Start();
    bench.Plug(6);
    bench.controls.OnMessageBox([&] { bench.loop.RunFor(kScanPeriodMs); });
    bench.Reset();
    EXPECT_EQ(bench.Calls("boot", 6), 1);  // armed while the box was open
    EXPECT_EQ(bench.State(6), ChannelState::Ready);
}

}  // namespace
}  // namespace tandrel::test
