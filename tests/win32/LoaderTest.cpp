// The simulator DLL through the real loader: built with one entry point
// exported under its stdcall name only, that entry point stays unbound and is
// named; built plainly, every entry point binds.
#include <gtest/gtest.h>

#include "library/LibraryBinding.h"
#include "platform/win32/WindowsLoader.h"

namespace tandrel {
namespace {

TEST(DecoratedExports, OnlyTheEntryPointExportedUnderAStdcallNameIsLeftUnbound) {
    struct Case {
        const char* library;
        std::vector<std::string> unbound;
    };
    for (const Case& c : {Case{"IFWD_DownloadDll.dll", {}},
                          Case{"IFWD_DownloadDll-stdcall.dll", {"_IFWD_DL_open_comm_port"}}}) {
        WindowsLoader loader;
        LibraryTable table;
        std::string error;
        void* module = LoadLibraryTable(loader, c.library, table, error);
        ASSERT_NE(module, nullptr) << error;
        std::vector<std::string> refused;
        for (const DecoratedExport& d : DecoratedOnlyExports(loader.ExportNames(module))) refused.push_back(d.entryPoint);
        EXPECT_EQ(refused, c.unbound) << c.library;
        EXPECT_EQ(MissingEntryPoints(table), c.unbound) << c.library;
    }
}

}  // namespace
}  // namespace tandrel
