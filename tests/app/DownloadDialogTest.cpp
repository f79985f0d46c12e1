#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "library/LibraryBinding.h"
#include "support/Station.h"

namespace tandrel {
namespace {

// A dialog on simulated controls and loop, with its journal in memory.
struct DialogTest : ::testing::Test, test::Station<> {
    DialogTest() { devicePaths.Record(3, "Vid_058b&Pid_0041\\left-over"); }

    SimulatedControls& controls = window.controls;
};

TEST_F(DialogTest, InitialisationLeavesEveryChannelReadyOnABoldWhiteRow) {
    EXPECT_TRUE(dialog.OnInitDialog());
    EXPECT_EQ(dialog.channelTable.Record(0), nullptr);
    for (int n = 1; n <= 8; ++n) {
        SCOPED_TRACE(n);
        const ChannelRecord* r = dialog.channelTable.Record(n);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->channel, n);
        EXPECT_EQ(r->state.load(), ChannelState::Ready);
        EXPECT_FALSE(r->portOpen);
        EXPECT_EQ(r->deviceNumber, 0);

        const auto& row = controls.At(StatusLabelId(n));
        EXPECT_EQ(row.text, "READY");
        EXPECT_EQ(row.font.weight, 700);
        EXPECT_EQ(row.font.height, -13);
        EXPECT_EQ(row.shownBackground, kWhite);
        EXPECT_EQ(row.shownTextColour, kWindowText);
        EXPECT_EQ(controls.At(ProgressId(n)).rangeLow, 0);
        EXPECT_EQ(controls.At(ProgressId(n)).rangeHigh, 100);
        EXPECT_EQ(controls.At(ProgressId(n)).pos, 0);
        EXPECT_FALSE(controls.IsEnabled(StopButtonId(n)));
    }
}

TEST_F(DialogTest, InitialisationSetsUpTheCommandsFieldsAndBanner) {
    dialog.OnInitDialog();
    for (ControlId id : {IDC_OPEN_FILE, IDC_START, IDC_RESET}) EXPECT_TRUE(controls.IsEnabled(id)) << id;
    EXPECT_EQ(controls.ComboItems(IDC_DRIVER), (std::vector<std::string>{"COMM", "USB"}));
    EXPECT_EQ(controls.GetComboSelection(IDC_DRIVER), kDriverUsb);
    EXPECT_EQ(controls.GetText(IDC_COMM_NUMBER), "0");
    for (int k = 0; k < kSlotCount; ++k) {
        EXPECT_EQ(controls.GetText(SlotPathId(k)), "");
        EXPECT_EQ(dialog.imageSlots.pathTexts[k], &dialog.pathTexts[k]);
        EXPECT_EQ(dialog.imageSlots.checkBoxes[k], SlotCheckBoxId(k));
    }
    EXPECT_FALSE(controls.IsVisible(SlotCheckBoxId(5)));
    EXPECT_FALSE(controls.IsVisible(SlotPathId(6)));
    // The one line is start-up saying the library could not be loaded.
    EXPECT_EQ(controls.ListCount(IDC_EVENT_LOG), 1);
    EXPECT_EQ(controls.GetText(IDC_STATUS_BANNER), "");

    const FontDescription& banner = controls.At(IDC_STATUS_BANNER).font;
    EXPECT_EQ(banner.height, 35);
    EXPECT_EQ(banner.width, 15);
    EXPECT_EQ(banner.weight, 600);
    EXPECT_TRUE(banner.italic);
    EXPECT_STREQ(banner.faceName, "Tahoma");
}

TEST_F(DialogTest, InitialisationForgetsEveryRecordedDevice) {
    dialog.OnInitDialog();
    for (int n = 0; n < DevicePathTable::kSlots; ++n) EXPECT_STREQ(devicePaths.Slot(n), "") << n;
    for (std::uint8_t b : dialog.bootBlock) EXPECT_EQ(b, 0);
}

TEST_F(DialogTest, JournalShowsStopsGreyedThenEachRowWhiteBeforeItsText) {
    dialog.OnInitDialog();
    std::vector<std::string> expected;
    for (int n = 1; n <= 8; ++n) {
        expected.push_back(R"({"t":0,"ev":"enable","id":)" + std::to_string(StopButtonId(n)) + R"(,"on":false})");
    }
    for (int n = 1; n <= 8; ++n) {
        const std::string ch = std::to_string(n);
        expected.push_back(R"({"t":0,"ev":"colour","ch":)" + ch + R"(,"rgb":[255,255,255]})");
        expected.push_back(R"({"t":0,"ev":"status","ch":)" + ch + R"(,"text":"READY"})");
    }
    expected.push_back(std::string(R"({"t":0,"ev":"log","text":"Could not load the download library: )") +
                       kLibraryFileName + R"(: cannot open shared object file"})");
    EXPECT_EQ(journalFile.Lines(), expected);
}

TEST_F(DialogTest, ReadingStopsAtACommNumberThatIsNoIntegerAndKeepsThePaths) {
    dialog.OnInitDialog();
    dialog.pathTexts[0] = "/images/before.fls";
    for (const char* typed : {"12a", "abc", "", "1 2", "99999999999"}) {
        SCOPED_TRACE(typed);
        controls.Type(IDC_COMM_NUMBER, typed);
        controls.Type(SlotPathId(0), "/images/after.fls");
        EXPECT_FALSE(dialog.UpdateData(true));
        EXPECT_EQ(controls.MessageBoxes().back(), "Please enter an integer.");
        EXPECT_EQ(dialog.commNumber, 0);
        EXPECT_EQ(dialog.pathTexts[0], "/images/before.fls");
    }
}

TEST_F(DialogTest, ReadingTakesAnIntegerAndEveryPath) {
    dialog.OnInitDialog();
    controls.Type(IDC_COMM_NUMBER, " -7 ");
    for (int k = 0; k < kSlotCount; ++k) controls.Type(SlotPathId(k), "/images/" + std::to_string(k));
    EXPECT_TRUE(dialog.UpdateData(true));
    EXPECT_TRUE(controls.MessageBoxes().empty());
    EXPECT_EQ(dialog.commNumber, -7);
    for (int k = 0; k < kSlotCount; ++k) EXPECT_EQ(dialog.pathTexts[k], "/images/" + std::to_string(k));
}

TEST_F(DialogTest, WindowMenuCommands16To31OpenAboutAndTheRestGoToTheDesktop) {
    dialog.OnInitDialog();
    for (unsigned id = 0x0010; id <= 0x001F; ++id) controls.SysCommand(id);
    EXPECT_EQ(controls.AboutBoxes(), 16);
    EXPECT_TRUE(controls.DefaultSysCommands().empty());

    const std::vector<unsigned> others = {0x0000, 0x000F, 0x0020, 0x0110, SC_CLOSE};
    for (unsigned id : others) controls.SysCommand(id);
    EXPECT_EQ(controls.AboutBoxes(), 16);
    EXPECT_EQ(controls.DefaultSysCommands(), others);
}

}  // namespace
}  // namespace tandrel
