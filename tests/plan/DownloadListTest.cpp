#include <gtest/gtest.h>

#include "library/LibraryText.h"
#include "plan/PlanStation.h"

namespace tandrel::test {
namespace {

using Texts = std::vector<std::string>;
using Classes = std::vector<std::int32_t>;

class DownloadListBuild : public ::testing::Test {
protected:
    // Chooses plain files, each known to the library with its class.
    void ChoosePlain(const std::vector<std::pair<std::string, MemoryClass>>& files) {
        Texts paths;
        for (const auto& [path, memoryClass] : files) {
            station.fake.files[path] = FakeFile{{{"", memoryClass}}};
            paths.push_back(path);
        }
        station.Choose(paths);
    }
    Classes ItemClasses() const {
        Classes classes;
        for (int n = 0; n < list.count; ++n) classes.push_back(list.items[n].memoryClass);
        return classes;
    }

    PlanStation station;
    SimulatedControls& controls = station.controls;
    const DownloadList& list = station.dialog.downloadList;
};

TEST_F(DownloadListBuild, SevenPlainFilesIncludingTheHiddenSlotsAllBecomeItems) {
    std::vector<std::pair<std::string, MemoryClass>> files;
    for (int i = 0; i < 7; ++i) files.emplace_back("/f" + std::to_string(i), MemoryClass::Code);
    ChoosePlain(files);
    station.BuildAndSort();

    ASSERT_EQ(list.count, 7);
    EXPECT_EQ(station.FileSpecs()[6], "|0|/f6");
    // The library scribbled over what it was handed; the item kept its path.
    EXPECT_STREQ(list.items[6].path, "/f6");
    EXPECT_EQ(ItemClasses(), Classes(7, 4));
}

TEST_F(DownloadListBuild, BootCoresGoFirstAndThePhoneBootsWithTheFirstItem) {
    ChoosePlain({{"/code", MemoryClass::Code}, {"/psi", MemoryClass::PsiBootcore},
                 {"/eep", MemoryClass::StatEep}, {"/slb", MemoryClass::SlbBootcore}});
    station.BuildAndSort();
    EXPECT_EQ(station.FileSpecs(), (Texts{"|0|/psi", "|0|/slb", "|0|/code", "|0|/eep"}));
    EXPECT_STREQ(list.FirstItemPath(), "/psi");
}

TEST_F(DownloadListBuild, TwoCodeFilesBehindABootCoreEndInReverseSlotOrder) {
    ChoosePlain({{"/code1", MemoryClass::Code}, {"/code2", MemoryClass::Code}, {"/psi", MemoryClass::PsiBootcore}});
    station.BuildAndSort();
    EXPECT_EQ(station.FileSpecs(), (Texts{"|0|/psi", "|0|/code2", "|0|/code1"}));
}

TEST_F(DownloadListBuild, ContainerItemsCarryTheirSlotIndexAndTheContainerPath) {
    station.fake.files["/box"] =
        FakeFile{{{"cust", MemoryClass::Cust}, {"code", MemoryClass::Code}, {"dsp", MemoryClass::DspSw}}};
    station.Choose(Texts{"/box"});
    controls.Click(SlotCheckBoxId(1));
    station.BuildAndSort();

    EXPECT_EQ(station.FileSpecs(), (Texts{"|2|/box", "|0|/box"}));
    EXPECT_EQ(ItemClasses(), (Classes{13, 5}));
    EXPECT_STREQ(list.items[0].path, "/box");
    EXPECT_STREQ(list.items[1].path, "/box");
}

TEST_F(DownloadListBuild, EachBuildStartsAfreshFromTheCheckMarksOfTheUsedSlots) {
    ChoosePlain({{"/a", MemoryClass::Code}, {"/b", MemoryClass::Cust}, {"/c", MemoryClass::DspSw}});
    station.BuildAndSort();
    ASSERT_EQ(list.count, 3);

    controls.Click(SlotCheckBoxId(1));
    // Only a check state of exactly 1 counts.
    controls.SetCheck(SlotCheckBoxId(2), 2);
    // A slot beyond the used ones is never looked at, typed into or not.
    controls.Type(SlotPathId(4), "/typed/extra");
    controls.Click(SlotCheckBoxId(4));
    // A used slot's path is taken as typed.
    station.fake.files["/typed/a"] = FakeFile{{{"", MemoryClass::PsiBootcore}}};
    controls.Type(SlotPathId(0), "/typed/a");
    station.BuildAndSort();
    EXPECT_EQ(station.FileSpecs(), (Texts{"|0|/typed/a"}));
    EXPECT_EQ(ItemClasses(), (Classes{1}));

    controls.Click(SlotCheckBoxId(0));
    station.BuildAndSort();
    EXPECT_EQ(list.count, 0);
    EXPECT_STREQ(list.FirstItemPath(), "");
}

TEST_F(DownloadListBuild, WithoutTheLibraryEveryItemHasClassZero) {
    ChoosePlain({{"/a", MemoryClass::Code}});
    station.BuildAndSort();
    ASSERT_EQ(ItemClasses(), (Classes{4}));
    station.dialog.libraryTable = LibraryTable{};
    station.BuildAndSort();
    EXPECT_EQ(ItemClasses(), (Classes{0}));
}

// "|0|" + path + terminator fill the 500-byte fileSpec at 496 characters.
std::string PathOfLength(std::size_t n) { return "/" + std::string(n - 1, 'p'); }

// The log line naming the file that does not fit.
std::string TooLong(const std::string& path) {
    return path + ": the path is longer than 496 characters; nothing will be downloaded.";
}

TEST_F(DownloadListBuild, APlainPathTooLongForTheFileSpecRefusesTheWholeList) {
    ChoosePlain({{PathOfLength(496), MemoryClass::PsiBootcore}, {"/b", MemoryClass::Code}});
    station.BuildAndSort();
    ASSERT_EQ(list.count, 2);
    EXPECT_EQ(std::string(list.FirstItemPath()), PathOfLength(496));

    for (std::size_t length : {497u, 4096u}) {
        controls.Type(SlotPathId(1), PathOfLength(length));
        station.BuildAndSort();
        EXPECT_EQ(list.count, 0);
        EXPECT_STREQ(list.FirstItemPath(), "");
    }
    EXPECT_EQ(station.NewLogLines(), (Texts{TooLong(PathOfLength(497)), TooLong(PathOfLength(4096))}));
}

// Where the library reads another code page than the station's UTF-8
// (Windows), a path with a character that page lacks would reach it as
// another file's name: the list is refused and the log names the path.
TEST_F(DownloadListBuild, APathTheLibrarysCodePageCannotHoldRefusesTheList) {
    const std::string korean = "/images/\xED\x8E\x8C\xEC\x9B\xA8\xEC\x96\xB4.fls";
    std::string converted;
    if (ToLibraryText(korean, converted)) GTEST_SKIP() << "this system's library reads the path as it is";
    ChoosePlain({{"/a", MemoryClass::PsiBootcore}, {korean, MemoryClass::Code}});
    station.BuildAndSort();
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(station.NewLogLines(), Texts{korean + ": the path cannot be written in the download library's code "
                                                    "page; nothing will be downloaded."});
}

TEST_F(DownloadListBuild, AContainerPathTooLongForItsItemsRefusesTheList) {
    const std::string box = PathOfLength(498);
    station.fake.files[box] = FakeFile{{{"a", MemoryClass::PsiBootcore}, {"b", MemoryClass::Code}}};
    station.Choose(Texts{box});
    ASSERT_EQ(list.containerMode, 1);
    station.BuildAndSort();
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(station.NewLogLines(), (Texts{TooLong(box)}));
}

}  // namespace
}  // namespace tandrel::test
