#include <gtest/gtest.h>

#include "plan/PlanStation.h"

namespace tandrel::test {
namespace {

using Texts = std::vector<std::string>;
using Checks = std::vector<int>;

Texts Paths(const std::string& prefix, int n) {
    Texts paths;
    for (int i = 1; i <= n; ++i) paths.push_back(prefix + std::to_string(i));
    return paths;
}

class OpenFile : public ::testing::Test {
protected:
    PlanStation station;
    SimulatedControls& controls = station.controls;
    DownloadList& list = station.dialog.downloadList;
};

TEST_F(OpenFile, PlainChoicesAppendAfterTheUsedSlotsUntilAllSevenAreFull) {
    station.Choose(Paths("/a", 3));
    EXPECT_EQ(station.SlotTexts(), (Texts{"/a1", "/a2", "/a3", "", "", "", ""}));
    EXPECT_EQ(station.SlotChecks(), (Checks{1, 1, 1, 0, 0, 0, 0}));

    // The fifth finds no slot and is dropped without a word; the hidden
    // slots fill like the others.
    station.Choose(Paths("/b", 5));
    EXPECT_EQ(station.SlotTexts(), (Texts{"/a1", "/a2", "/a3", "/b1", "/b2", "/b3", "/b4"}));
    EXPECT_EQ(station.SlotChecks(), Checks(7, 1));
    station.Choose(Paths("/c", 1));
    EXPECT_EQ(station.SlotTexts()[6], "/b4");
    EXPECT_TRUE(station.NewLogLines().empty());
}

TEST_F(OpenFile, TheFirstChosenFileAloneDecidesContainerOrPlain) {
    station.fake.files["/box"] =
        FakeFile{{{"psi", MemoryClass::PsiBootcore}, {"code", MemoryClass::Code}, {"eep", MemoryClass::StatEep}}};
    station.Choose(Texts{"/plain", "/box"});
    EXPECT_EQ(station.SlotTexts(), (Texts{"/plain", "/box", "", "", "", "", ""}));
    EXPECT_EQ(list.containerMode, 0);

    station.Choose(Texts{"/box", "/other"});
    EXPECT_EQ(station.SlotTexts(), (Texts{"psi", "code", "eep", "", "", "", ""}));
    EXPECT_EQ(station.SlotChecks(), (Checks{1, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(controls.GetText(IDC_CONTAINER_PATH), "/box");
    EXPECT_STREQ(list.containerPath, "/box");
    EXPECT_EQ(list.containerMode, 1);
    EXPECT_EQ(station.fake.countQueries, (Texts{"/plain", "/box"}));
}

TEST_F(OpenFile, PlainFilesAfterAContainerRefillFromSlotZeroAndKeepTheContainerField) {
    station.fake.files["/box"] =
        FakeFile{{{"one", MemoryClass::Code}, {"two", MemoryClass::Cust}, {"three", MemoryClass::DspSw}}};
    station.Choose(Texts{"/box"});
    station.Choose(Paths("/p", 2));
    EXPECT_EQ(station.SlotTexts(), (Texts{"/p1", "/p2", "", "", "", "", ""}));
    EXPECT_EQ(station.SlotChecks(), (Checks{1, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(list.containerMode, 0);
    EXPECT_EQ(controls.GetText(IDC_CONTAINER_PATH), "/box");
    EXPECT_STREQ(list.containerPath, "/box");
}

TEST_F(OpenFile, AOneItemFileOrOneTheLibraryCannotBeAskedAboutIsPlain) {
    station.fake.files["/single"] = FakeFile{{{"only", MemoryClass::Code}}};
    station.Choose(Texts{"/single"});
    // Too long for the library's buffer: never handed to it.
    const std::string longPath = "/" + std::string(kPathBufferSize, 'p');
    station.Choose(Texts{longPath});
    station.dialog.libraryTable = LibraryTable{};
    station.Choose(Texts{"/unasked"});
    EXPECT_EQ(station.SlotTexts(), (Texts{"/single", longPath, "/unasked", "", "", "", ""}));
    EXPECT_EQ(station.fake.countQueries, (Texts{"/single"}));
}

TEST_F(OpenFile, AContainerOfMoreThanSevenItemsFillsSevenSlotsAndSaysSo) {
    station.Choose(Paths("/a", 7));
    std::vector<FakeItem> items;
    for (int i = 0; i < 9; ++i) items.push_back({"item" + std::to_string(i), MemoryClass::Code});
    // A name filling the whole buffer comes back without a terminator.
    items[1].name = std::string(IFWD_DL_NAME_SIZE + 20, 'n');
    station.fake.files["/big"] = FakeFile{items};
    station.Choose(Texts{"/big"});

    EXPECT_EQ(station.SlotTexts(),
              (Texts{"item0", std::string(IFWD_DL_NAME_SIZE, 'n'), "item2", "item3", "item4", "item5", "item6"}));
    EXPECT_EQ(station.NewLogLines(), (Texts{"The container holds 9 items; only the first 7 are used."}));
}

TEST_F(OpenFile, CancelPutsTheStoredTextsBackOverWhatWasTyped) {
    station.Choose(Paths("/a", 1));
    controls.Type(SlotPathId(0), "/typed/over");
    controls.Type(SlotPathId(3), "/typed/new");
    station.Choose(std::nullopt);
    EXPECT_EQ(station.SlotTexts(), (Texts{"/a1", "", "", "", "", "", ""}));
    EXPECT_EQ(station.SlotChecks(), (Checks{1, 0, 0, 0, 0, 0, 0}));
}

TEST_F(OpenFile, OnlyTheOperatorsCheckBoxClicksEnableOrDisableAPathField) {
    station.Choose(Paths("/a", 2));
    ASSERT_TRUE(controls.Click(SlotCheckBoxId(1)));
    EXPECT_FALSE(controls.IsEnabled(SlotPathId(1)));
    EXPECT_TRUE(controls.IsEnabled(SlotPathId(0)));

    // Clearing and refilling check the slot by program: the field stays.
    station.fake.files["/box"] = FakeFile{{{"one", MemoryClass::Code}, {"two", MemoryClass::Cust}}};
    station.Choose(Texts{"/box"});
    EXPECT_EQ(controls.GetCheck(SlotCheckBoxId(1)), 1);
    EXPECT_FALSE(controls.IsEnabled(SlotPathId(1)));
}

TEST(StartupImages, FillTheSlotsAsOneOpenFileChoiceInTheOrderGiven) {
    Options options;
    options.images = {"/z", "/a", "/m"};
    PlanStation station(options);
    station.dialog.OnWindowShown();
    EXPECT_EQ(station.SlotTexts(), (Texts{"/z", "/a", "/m", "", "", "", ""}));
    EXPECT_EQ(station.SlotChecks(), (Checks{1, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(station.fake.countQueries, (Texts{"/z"}));
}

}  // namespace
}  // namespace tandrel::test
