#include <gtest/gtest.h>

#include "plan/PlanStation.h"

namespace tandrel::test {
namespace {

using Texts = std::vector<std::string>;

void AddPlain(const std::string& path, MemoryClass memoryClass) { Fake().files[path] = FakeFile{{{"", memoryClass}}, -1}; }

class DownloadListBuild : public ::testing::Test {
protected:
    // Chooses plain files, each known to the library with its class.
    void ChoosePlain(const std::vector<std::pair<std::string, MemoryClass>>& files) {
        Texts paths;
        for (const auto& [path, memoryClass] : files) {
            AddPlain(path, memoryClass);
            paths.push_back(path);
        }
        station.Choose(paths);
    }
    std::vector<std::int32_t> Classes() const {
        std::vector<std::int32_t> classes;
        for (int n = 0; n < list.count; ++n) classes.push_back(list.items[n].memoryClass);
        return classes;
    }

    PlanStation station;
    SimulatedControls& controls = station.controls;
    const DownloadList& list = station.dialog.downloadList;
};

TEST_F(DownloadListBuild, SevenPlainFilesIncludingTheHiddenSlotsAllBecomeItems) {
    Texts paths;
    for (int i = 0; i < 7; ++i) {
        paths.push_back("/img/f" + std::to_string(i) + ".fls");
        AddPlain(paths.back(), MemoryClass::Code);
    }
    station.Choose(paths);
    station.BuildAndSort();

    ASSERT_EQ(list.count, 7);
    for (int n = 0; n < 7; ++n) {
        EXPECT_EQ(list.items[n].fileSpec, "|0|" + paths[static_cast<std::size_t>(n)]);
        // The library scribbled over what it was handed; the item kept its path.
        EXPECT_STREQ(list.items[n].path, paths[static_cast<std::size_t>(n)].c_str());
        EXPECT_EQ(list.items[n].memoryClass, 4);
    }
    ASSERT_EQ(Fake().classQueries.size(), 7u);
    EXPECT_EQ(Fake().classQueries[6].index, 0);
}

TEST_F(DownloadListBuild, BootCoresGoFirstAndThePhoneBootsWithTheFirstItem) {
    ChoosePlain({{"/img/code.fls", MemoryClass::Code},
                 {"/img/psi.fls", MemoryClass::PsiBootcore},
                 {"/img/eep.fls", MemoryClass::StatEep},
                 {"/img/slb.fls", MemoryClass::SlbBootcore}});
    station.BuildAndSort();
    EXPECT_EQ(station.FileSpecs(), (Texts{"|0|/img/psi.fls", "|0|/img/slb.fls", "|0|/img/code.fls", "|0|/img/eep.fls"}));
    EXPECT_STREQ(list.FirstItemPath(), "/img/psi.fls");
}

TEST_F(DownloadListBuild, TwoCodeFilesBehindABootCoreEndInReverseSlotOrder) {
    ChoosePlain({{"/img/code1.fls", MemoryClass::Code},
                 {"/img/code2.fls", MemoryClass::Code},
                 {"/img/psi.fls", MemoryClass::PsiBootcore}});
    station.BuildAndSort();
    EXPECT_EQ(station.FileSpecs(), (Texts{"|0|/img/psi.fls", "|0|/img/code2.fls", "|0|/img/code1.fls"}));
}

TEST_F(DownloadListBuild, ContainerItemsCarryTheirSlotIndexAndTheContainerPath) {
    Fake().files["/img/box.fls"] =
        FakeFile{{{"cust.bin", MemoryClass::Cust}, {"code.bin", MemoryClass::Code}, {"dsp.bin", MemoryClass::DspSw}}, -1};
    station.Choose(Texts{"/img/box.fls"});
    controls.Click(SlotCheckBoxId(1));
    station.BuildAndSort();

    EXPECT_EQ(station.FileSpecs(), (Texts{"|2|/img/box.fls", "|0|/img/box.fls"}));
    EXPECT_EQ(Classes(), (std::vector<std::int32_t>{13, 5}));
    EXPECT_STREQ(list.items[0].path, "/img/box.fls");
    EXPECT_STREQ(list.items[1].path, "/img/box.fls");
    ASSERT_EQ(Fake().classQueries.size(), 2u);
    EXPECT_EQ(Fake().classQueries[0].file, "/img/box.fls");
    EXPECT_EQ(Fake().classQueries[1].index, 2);
}

TEST_F(DownloadListBuild, EachBuildStartsAfreshFromTheCheckMarks) {
    ChoosePlain({{"/img/a.fls", MemoryClass::Code}, {"/img/b.fls", MemoryClass::Cust}, {"/img/c.fls", MemoryClass::DspSw}});
    station.BuildAndSort();
    ASSERT_EQ(list.count, 3);

    controls.Click(SlotCheckBoxId(1));
    station.BuildAndSort();
    EXPECT_EQ(station.FileSpecs(), (Texts{"|0|/img/a.fls", "|0|/img/c.fls"}));

    // Only a check state of exactly 1 counts.
    controls.SetCheck(SlotCheckBoxId(2), 2);
    station.BuildAndSort();
    EXPECT_EQ(station.FileSpecs(), (Texts{"|0|/img/a.fls"}));
}

TEST_F(DownloadListBuild, SlotsBeyondTheUsedOnesAreNeverLookedAt) {
    ChoosePlain({{"/img/a.fls", MemoryClass::Code}});
    controls.Type(SlotPathId(4), "/typed/extra.fls");
    controls.Click(SlotCheckBoxId(4));
    station.BuildAndSort();
    EXPECT_EQ(station.FileSpecs(), (Texts{"|0|/img/a.fls"}));
}

TEST_F(DownloadListBuild, APathTypedIntoAUsedSlotIsTakenAsTyped) {
    ChoosePlain({{"/img/a.fls", MemoryClass::Code}});
    AddPlain("/typed/b.fls", MemoryClass::PsiBootcore);
    controls.Type(SlotPathId(0), "/typed/b.fls");
    station.BuildAndSort();
    EXPECT_EQ(station.FileSpecs(), (Texts{"|0|/typed/b.fls"}));
    EXPECT_EQ(Classes(), (std::vector<std::int32_t>{1}));
}

TEST_F(DownloadListBuild, WithoutTheLibraryEveryItemHasClassZero) {
    ChoosePlain({{"/img/a.fls", MemoryClass::Code}});
    station.BuildAndSort();
    ASSERT_EQ(Classes(), (std::vector<std::int32_t>{4}));
    station.dialog.libraryTable = LibraryTable{};
    station.BuildAndSort();
    EXPECT_EQ(Classes(), (std::vector<std::int32_t>{0}));
}

TEST_F(DownloadListBuild, NoCheckedSlotGivesAnEmptyListAndNoBootPath) {
    ChoosePlain({{"/img/a.fls", MemoryClass::Code}});
    controls.Click(SlotCheckBoxId(0));
    station.BuildAndSort();
    EXPECT_EQ(list.count, 0);
    EXPECT_STREQ(list.FirstItemPath(), "");
}

// The longest path that fits "|0|" + path + terminator in 500 bytes.
constexpr std::size_t kLongestPath = kPathBufferSize - 4;

std::string PathOfLength(std::size_t n) { return "/" + std::string(n - 1, 'p'); }

TEST_F(DownloadListBuild, APlainPathThatFitsTheFileSpecificationExactlyIsTaken) {
    ChoosePlain({{PathOfLength(kLongestPath), MemoryClass::Code}});
    station.BuildAndSort();
    ASSERT_EQ(list.count, 1);
    EXPECT_EQ(std::string(list.items[0].path), PathOfLength(kLongestPath));
    EXPECT_TRUE(station.NewLogLines().empty());
}

TEST_F(DownloadListBuild, APlainPathTooLongRefusesTheWholeListAndNamesTheSlot) {
    ChoosePlain({{"/img/a.fls", MemoryClass::PsiBootcore}, {"/img/b.fls", MemoryClass::Code}});
    controls.Type(SlotPathId(1), PathOfLength(kLongestPath + 1));
    station.BuildAndSort();
    EXPECT_EQ(list.count, 0);
    EXPECT_STREQ(list.FirstItemPath(), "");
    EXPECT_EQ(station.NewLogLines(),
              (Texts{"Image slot 2: the path is longer than 496 characters; nothing will be downloaded."}));

    // Much longer than any buffer: refused the same way, nothing overrun.
    controls.Type(SlotPathId(1), PathOfLength(4096));
    station.BuildAndSort();
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(station.NewLogLines().size(), 2u);
}

TEST_F(DownloadListBuild, AContainerPathTooLongForItsItemsRefusesTheList) {
    const std::string box = PathOfLength(kLongestPath + 2);
    Fake().files[box] = FakeFile{{{"a", MemoryClass::PsiBootcore}, {"b", MemoryClass::Code}}, -1};
    station.Choose(Texts{box});
    ASSERT_EQ(station.dialog.downloadList.containerMode, 1);
    station.BuildAndSort();
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(station.NewLogLines(),
              (Texts{"Image slot 1: the path is longer than 496 characters; nothing will be downloaded."}));
}

}  // namespace
}  // namespace tandrel::test
