#include <gtest/gtest.h>

#include "plan/PlanStation.h"

namespace tandrel::test {
namespace {

using Texts = std::vector<std::string>;
using Checks = std::vector<int>;

std::vector<std::string> Paths(const std::string& prefix, int n) {
    std::vector<std::string> paths;
    for (int i = 1; i <= n; ++i) paths.push_back(prefix + std::to_string(i) + ".fls");
    return paths;
}

void AddContainer(const std::string& path, std::vector<FakeItem> items) { Fake().files[path] = FakeFile{std::move(items), -1}; }

class OpenFile : public ::testing::Test {
protected:
    PlanStation station;
    SimulatedControls& controls = station.controls;
    DownloadDialog& dialog = station.dialog;
};

TEST_F(OpenFile, PlainChoicesAppendAfterUsedSlotsAndDropWhatFindsNoSlot) {
    station.Choose(Paths("/img/a", 3));
    EXPECT_EQ(station.SlotTexts(), (Texts{"/img/a1.fls", "/img/a2.fls", "/img/a3.fls", "", "", "", ""}));
    EXPECT_EQ(station.SlotChecks(), (Checks{1, 1, 1, 0, 0, 0, 0}));

    station.Choose(Paths("/img/b", 5));
    EXPECT_EQ(station.SlotTexts(), (Texts{"/img/a1.fls", "/img/a2.fls", "/img/a3.fls", "/img/b1.fls", "/img/b2.fls",
                                          "/img/b3.fls", "/img/b4.fls"}));
    EXPECT_EQ(station.SlotChecks(), (Checks{1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(dialog.imageSlots.usedCount, 7);
    EXPECT_TRUE(station.NewLogLines().empty());
    // The hidden slots are filled like the others.
    EXPECT_FALSE(controls.IsVisible(SlotPathId(6)));

    station.Choose(Paths("/img/c", 2));
    EXPECT_EQ(station.SlotTexts()[0], "/img/a1.fls");
    EXPECT_EQ(station.SlotTexts()[6], "/img/b4.fls");
}

TEST_F(OpenFile, OnlyTheFirstChosenFileIsAskedForItsItems) {
    AddContainer("/img/box.fls", {{"a", MemoryClass::Code}, {"b", MemoryClass::Cust}});
    station.Choose(Texts{"/img/plain.fls", "/img/box.fls"});
    EXPECT_EQ(Fake().countQueries, (Texts{"/img/plain.fls"}));
    EXPECT_EQ(station.SlotTexts()[1], "/img/box.fls");
    EXPECT_EQ(dialog.downloadList.containerMode, 0);
}

TEST_F(OpenFile, ContainerReplacesTheSelectionWithItsItemsAndIgnoresOtherFiles) {
    station.Choose(Paths("/img/a", 6));
    AddContainer("/img/box.fls", {{"psi.bin", MemoryClass::PsiBootcore}, {"code.bin", MemoryClass::Code},
                                  {"eep.bin", MemoryClass::StatEep}});
    station.Choose(Texts{"/img/box.fls", "/img/other.fls"});

    EXPECT_EQ(station.SlotTexts(), (Texts{"psi.bin", "code.bin", "eep.bin", "", "", "", ""}));
    EXPECT_EQ(station.SlotChecks(), (Checks{1, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(dialog.imageSlots.usedCount, 3);
    EXPECT_EQ(controls.GetText(IDC_CONTAINER_PATH), "/img/box.fls");
    EXPECT_STREQ(dialog.downloadList.containerPath, "/img/box.fls");
    EXPECT_EQ(dialog.downloadList.containerMode, 1);
}

TEST_F(OpenFile, SevenUsedSlotsTakeNoMorePlainFilesButAContainerRefills) {
    station.Choose(Paths("/img/a", 7));
    station.Choose(Paths("/img/b", 1));
    EXPECT_EQ(station.SlotTexts()[6], "/img/a7.fls");

    AddContainer("/img/box.fls", {{"one", MemoryClass::Code}, {"two", MemoryClass::Cust}});
    station.Choose(Texts{"/img/box.fls"});
    EXPECT_EQ(station.SlotTexts(), (Texts{"one", "two", "", "", "", "", ""}));
    EXPECT_EQ(station.SlotChecks(), (Checks{1, 1, 0, 0, 0, 0, 0}));
}

TEST_F(OpenFile, PlainFilesAfterAContainerRefillFromSlotZeroAndKeepTheContainerField) {
    AddContainer("/img/box.fls", {{"one", MemoryClass::Code}, {"two", MemoryClass::Cust}, {"three", MemoryClass::DspSw}});
    station.Choose(Texts{"/img/box.fls"});
    station.Choose(Paths("/img/p", 2));

    EXPECT_EQ(station.SlotTexts(), (Texts{"/img/p1.fls", "/img/p2.fls", "", "", "", "", ""}));
    EXPECT_EQ(station.SlotChecks(), (Checks{1, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(dialog.downloadList.containerMode, 0);
    EXPECT_EQ(controls.GetText(IDC_CONTAINER_PATH), "/img/box.fls");
    EXPECT_STREQ(dialog.downloadList.containerPath, "/img/box.fls");

    // Back in plain mode, the next plain choice appends again.
    station.Choose(Paths("/img/q", 1));
    EXPECT_EQ(station.SlotTexts()[2], "/img/q1.fls");
}

TEST_F(OpenFile, AFileWithOneItemOrNoLibraryAnswerIsPlain) {
    AddContainer("/img/single.fls", {{"only", MemoryClass::Code}});
    station.Choose(Texts{"/img/single.fls"});
    dialog.libraryTable = LibraryTable{};
    station.Choose(Texts{"/img/unasked.fls"});
    EXPECT_EQ(station.SlotTexts()[0], "/img/single.fls");
    EXPECT_EQ(station.SlotTexts()[1], "/img/unasked.fls");
    EXPECT_EQ(dialog.downloadList.containerMode, 0);
}

TEST_F(OpenFile, ContainerWithMoreThanSevenItemsFillsSevenSlotsAndSaysSo) {
    std::vector<FakeItem> items;
    for (int i = 0; i < 9; ++i) items.push_back({"item" + std::to_string(i), MemoryClass::Code});
    AddContainer("/img/big.fls", items);
    station.Choose(Texts{"/img/big.fls"});

    EXPECT_EQ(station.SlotTexts(), (Texts{"item0", "item1", "item2", "item3", "item4", "item5", "item6"}));
    EXPECT_EQ(dialog.imageSlots.usedCount, 7);
    EXPECT_EQ(station.NewLogLines(), (Texts{"The container holds 9 items; only the first 7 are used."}));
}

TEST_F(OpenFile, ContainerCountBeyondTheSignedRangeFillsNoSlot) {
    Fake().files["/img/odd.fls"] = FakeFile{{}, 0x80000000LL};
    station.Choose(Texts{"/img/odd.fls"});
    EXPECT_EQ(dialog.downloadList.containerMode, 1);
    EXPECT_EQ(dialog.imageSlots.usedCount, 0);
    EXPECT_TRUE(station.NewLogLines().empty());
}

TEST_F(OpenFile, ItemNamesAreReadNoFurtherThanTheNameBuffer) {
    AddContainer("/img/box.fls", {{std::string(IFWD_DL_NAME_SIZE + 20, 'n'), MemoryClass::Code}, {"b", MemoryClass::Cust}});
    station.Choose(Texts{"/img/box.fls"});
    EXPECT_EQ(station.SlotTexts()[0], std::string(IFWD_DL_NAME_SIZE, 'n'));
}

TEST_F(OpenFile, APathTooLongForTheLibraryIsNotAskedAndTakenAsPlain) {
    const std::string longPath = "/" + std::string(kPathBufferSize, 'p');
    station.Choose(Texts{longPath});
    EXPECT_TRUE(Fake().countQueries.empty());
    EXPECT_EQ(station.SlotTexts()[0], longPath);
}

TEST_F(OpenFile, CancelRestoresTheStoredTextsOverWhatWasTyped) {
    station.Choose(Paths("/img/a", 1));
    controls.Type(SlotPathId(0), "/typed/over.fls");
    controls.Type(SlotPathId(3), "/typed/new.fls");
    station.Choose(std::nullopt);
    EXPECT_EQ(station.SlotTexts(), (Texts{"/img/a1.fls", "", "", "", "", "", ""}));
    EXPECT_EQ(station.SlotChecks(), (Checks{1, 0, 0, 0, 0, 0, 0}));
}

TEST_F(OpenFile, ACheckBoxClickEnablesOrDisablesItsPathFieldOnly) {
    station.Choose(Paths("/img/a", 2));
    ASSERT_TRUE(controls.Click(SlotCheckBoxId(1)));
    EXPECT_FALSE(controls.IsEnabled(SlotPathId(1)));
    EXPECT_TRUE(controls.IsEnabled(SlotPathId(0)));

    // A later choice checks the slot again by program; the field stays as
    // the operator's click left it.
    AddContainer("/img/box.fls", {{"one", MemoryClass::Code}, {"two", MemoryClass::Cust}});
    station.Choose(Texts{"/img/box.fls"});
    EXPECT_EQ(controls.GetCheck(SlotCheckBoxId(1)), 1);
    EXPECT_FALSE(controls.IsEnabled(SlotPathId(1)));

    controls.Click(SlotCheckBoxId(1));
    controls.Click(SlotCheckBoxId(1));
    EXPECT_TRUE(controls.IsEnabled(SlotPathId(1)));
}

TEST(StartupImages, FillTheSlotsAsOneOpenFileChoiceInTheOrderGiven) {
    Options options;
    options.images = {"/img/z.fls", "/img/a.fls", "/img/m.fls"};
    PlanStation station(options);
    station.dialog.OnWindowShown();
    EXPECT_EQ(station.SlotTexts(), (Texts{"/img/z.fls", "/img/a.fls", "/img/m.fls", "", "", "", ""}));
    EXPECT_EQ(station.SlotChecks(), (Checks{1, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(Fake().countQueries, (Texts{"/img/z.fls"}));
}

TEST(StartupImages, AContainerFirstFillsItsItems) {
    Options options;
    options.images = {"/img/box.fls", "/img/plain.fls"};
    PlanStation station(options);
    AddContainer("/img/box.fls", {{"psi", MemoryClass::PsiBootcore}, {"code", MemoryClass::Code}});
    station.dialog.OnWindowShown();
    EXPECT_EQ(station.SlotTexts(), (Texts{"psi", "code", "", "", "", "", ""}));
    EXPECT_EQ(station.controls.GetText(IDC_CONTAINER_PATH), "/img/box.fls");
}

}  // namespace
}  // namespace tandrel::test
