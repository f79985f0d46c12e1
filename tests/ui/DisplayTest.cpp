#include <gtest/gtest.h>

#include "support/SimulatedControls.h"
#include "ui/ControlIds.h"
#include "ui/Display.h"
#include "ui/Templates.h"

namespace tandrel {
namespace {

struct DisplayTest : ::testing::Test {
    SimulatedControls controls{MainDialogTemplate()};
    Display display{controls};
};

TEST_F(DisplayTest, ChannelsOutsideOneToEightChangeNothing) {
    for (int channel : {0, 9, -1}) {
        display.SetChannelStatus(channel, "x");
        display.SetChannelProgress(channel, 50);
    }
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(controls.At(StatusLabelId(n)).text, "");
        EXPECT_EQ(controls.At(StatusLabelId(n)).repaints, 0);
        EXPECT_EQ(controls.At(ProgressId(n)).pos, 0);
    }
}

TEST_F(DisplayTest, ChannelRowsGoToTheirOwnControls) {
    for (int n = 1; n <= 8; ++n) {
        display.SetChannelStatus(n, "row " + std::to_string(n));
        display.SetChannelProgress(n, 10 * n);
    }
    for (int n = 1; n <= 8; ++n) {
        EXPECT_EQ(controls.At(StatusLabelId(n)).text, "row " + std::to_string(n));
        EXPECT_EQ(controls.At(ProgressId(n)).pos, 10 * n);
    }
}

TEST_F(DisplayTest, LogKeepsTheOrderAddedAndSelectsTheLastLine) {
    for (const char* line : {"b", "a", "c"}) display.AppendLog(line);
    EXPECT_EQ(controls.At(IDC_EVENT_LOG).lines, (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(controls.ListSelection(IDC_EVENT_LOG), 2);
    display.ClearLog();
    EXPECT_EQ(controls.ListCount(IDC_EVENT_LOG), 0);
    display.AppendLog("d");
    EXPECT_EQ(controls.ListSelection(IDC_EVENT_LOG), 0);
}

TEST_F(DisplayTest, BannerShowsRedThenBlueTextOnWhiteCells) {
    display.SetBanner("stopped", false);
    const auto& banner = controls.At(IDC_STATUS_BANNER);
    EXPECT_EQ(banner.text, "stopped");
    EXPECT_EQ(banner.shownTextColour, kRed);
    EXPECT_EQ(banner.shownBackground, kWhite);
    EXPECT_EQ(display.bannerColour(), kRed);

    display.SetBanner("searching", true);
    EXPECT_EQ(banner.text, "searching");
    EXPECT_EQ(banner.shownTextColour, kBannerBlue);
    EXPECT_EQ(banner.shownBackground, kWhite);
}

TEST_F(DisplayTest, UsbModeIsEntryOneOfTheDriverBox) {
    controls.SetComboSelection(IDC_DRIVER, kDriverUsb);
    EXPECT_TRUE(display.IsUsbMode());
    controls.SetComboSelection(IDC_DRIVER, kDriverComm);
    EXPECT_FALSE(display.IsUsbMode());
    controls.SetComboSelection(IDC_DRIVER, -1);
    EXPECT_FALSE(display.IsUsbMode());
}

}  // namespace
}  // namespace tandrel
