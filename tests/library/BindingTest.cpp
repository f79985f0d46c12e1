#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "library/LibraryBinding.h"
#include "support/SystemLoader.h"
#include "support/TempFolder.h"

namespace tandrel {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The real loader, noting every symbol asked for.
class RecordingLoader : public SystemLoader {
public:
    void* Resolve(void* module, const char* symbol) override {
        asked.emplace_back(symbol);
        return SystemLoader::Resolve(module, symbol);
    }
    std::vector<std::string> asked;
};

std::string FolderOf(const std::string& path) { return path.substr(0, path.find_last_of("/\\")); }

TEST(LibraryBinding, ResolvesInTheFixedOrderAndFillsEverySlot) {
    RecordingLoader loader;
    LibraryTable table;
    std::string error;
    void* module = LoadLibraryTable(loader, FAKE_LIBRARY_PATH, table, error);
    ASSERT_NE(module, nullptr) << error;

    EXPECT_EQ(loader.asked, (std::vector<std::string>{
                                "_IFWD_DL_get_dll_version", "_IFWD_DL_open_comm_port", "_IFWD_DL_init_callback",
                                "_IFWD_DL_open_comm_port", "_IFWD_DL_close_comm_port", "_IFWD_DL_boot_target",
                                "_IFWD_DL_set_get_control_signal", "_IFWD_DL_download_fls_file",
                                "_IFWD_DL_download_eep_file", "_IFWD_DL_abort_process", "_IFWD_DL_force_target_reset",
                                "_IFWD_DL_end_of_process", "_IFWD_DL_set_dll_parameter",
                                "_IFWD_DL_TOC_get_memory_class", "_IFWD_DL_download_dffs_file",
                                "_IFWD_DL_download_cust_file", "_IFWD_DL_TOC_get_nof_items",
                                "_IFWD_DL_TOC_get_filename"}));
    // Each slot holds its own entry point, not a neighbour's.
    EXPECT_EQ(reinterpret_cast<void*>(table.boot_target), loader.Resolve(module, "_IFWD_DL_boot_target"));
    EXPECT_EQ(reinterpret_cast<void*>(table.TOC_get_filename), loader.Resolve(module, "_IFWD_DL_TOC_get_filename"));
    EXPECT_EQ(reinterpret_cast<void*>(table.get_dll_version), loader.Resolve(module, "_IFWD_DL_get_dll_version"));
    EXPECT_TRUE(MissingEntryPoints(table).empty());
}

TEST(LibraryBinding, ABareNameIsFoundInTheProgramsOwnFolderFirst) {
    SystemLoader loader;
    LibraryTable table;
    std::string error;
    void* module = LoadLibraryTable(loader, kLibraryFileName, table, error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_EQ(loader.PathOf(module), FAKE_LIBRARY_PATH);
}

TEST(LibraryBinding, ABareNameNotBesideTheProgramIsLookedForWhereTheSystemLooks) {
    SystemLoader loader;
    std::string error;
    void* module = loader.Load(kSystemLibraryName, error);
    ASSERT_NE(module, nullptr) << error;
    EXPECT_NE(FolderOf(loader.PathOf(module)), FolderOf(FAKE_LIBRARY_PATH));
}

#ifndef _WIN32
// An installed station finds the simulator in its package's folder, given
// relative to the program's; a library beside the program or where the
// system looks (the vendor's) wins over it. Only Linux has packages.
TEST(LibraryBinding, ThePackagesFolderIsLookedInOnlyAfterTheProgramsFolderAndTheSystem) {
    const test::TempFolder folder;
    const std::string& package = folder.Path();
    for (const std::string name : {kLibraryFileName, "libm.so.6", "libonly-packaged.so"}) {
        // A copy, not a link: the dynamic linker takes a file it has loaded
        // before for the same module, under its first name.
        std::filesystem::copy_file(FAKE_PARTIAL_LIBRARY_PATH, package + "/" + name);
    }
    const std::string program = FolderOf(FAKE_LIBRARY_PATH);
    DlopenLoader loader(std::filesystem::relative(package, program).string());

    struct Case {
        std::string name;
        std::string folder;  // empty: not loaded
    };
    for (const Case& c : {Case{kLibraryFileName, program}, Case{"libonly-packaged.so", package},
                          Case{"libnowhere.so", ""}}) {
        std::string error;
        void* module = loader.Load(c.name, error);
        EXPECT_EQ(module ? FolderOf(loader.PathOf(module)) : "", c.folder) << c.name;
        if (!module) {
            EXPECT_THAT(error, HasSubstr(c.name));
        }
    }
    std::string error;
    void* system = loader.Load("libm.so.6", error);
    ASSERT_NE(system, nullptr) << error;
    EXPECT_NE(FolderOf(loader.PathOf(system)), package);
}
#endif

TEST(LibraryBinding, MissingSymbolsLeaveNullSlotsAndOnlyCalledOnesAreReported) {
    SystemLoader loader;
    LibraryTable table;
    std::string error;
    ASSERT_NE(LoadLibraryTable(loader, FAKE_PARTIAL_LIBRARY_PATH, table, error), nullptr) << error;

    EXPECT_EQ(table.init_callback, nullptr);
    EXPECT_EQ(table.boot_target, nullptr);
    EXPECT_EQ(table.end_of_process, nullptr);
    EXPECT_EQ(table.TOC_get_filename, nullptr);
    EXPECT_NE(table.open_comm_port, nullptr);
    EXPECT_NE(table.set_dll_parameter, nullptr);
    // end_of_process is never called, so its absence is no loss.
    EXPECT_THAT(MissingEntryPoints(table),
                ElementsAre("_IFWD_DL_init_callback", "_IFWD_DL_boot_target", "_IFWD_DL_TOC_get_filename"));
}

TEST(LibraryBinding, ALibraryThatWillNotLoadLeavesEverySlotNullWithTheLoadersReason) {
    SystemLoader loader;
    LibraryTable table;
    std::string error;
    // A table filled by an earlier load must not keep stale entry points.
    ASSERT_NE(LoadLibraryTable(loader, FAKE_LIBRARY_PATH, table, error), nullptr);

    EXPECT_EQ(LoadLibraryTable(loader, "/nonexistent/libIFWD_DownloadDll.so", table, error), nullptr);
    EXPECT_THAT(error, HasSubstr("/nonexistent/libIFWD_DownloadDll.so"));
    EXPECT_EQ(MissingEntryPoints(table).size(), 14u);
    EXPECT_EQ(table.get_dll_version, nullptr);
    EXPECT_EQ(table.open_comm_port, nullptr);
}

}  // namespace
}  // namespace tandrel
