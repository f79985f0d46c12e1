#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "library/LibraryTable.h"
#include "platform/ModuleLoader.h"

namespace tandrel {

// The file the station loads when the operator names no other. A bare name,
// so the loader looks next to the program first, then where the system looks.
// On Windows it is the vendor's own DLL.
#ifdef _WIN32
constexpr const char* kLibraryFileName = "IFWD_DownloadDll.dll";
#else
constexpr const char* kLibraryFileName = "libIFWD_DownloadDll.so";
#endif

// The loaded library; null when loading failed. Never unloaded: library
// threads may still report after the window has gone.
extern void* g_libraryModule;

// Loads the library name and fills table; null, with the loader's reason in
// error, when it cannot be loaded (every slot then stays null). A symbol the
// library does not export leaves its slot null.
void* LoadLibraryTable(ModuleLoader& loader, const std::string& name, LibraryTable& table, std::string& error);

// The entry points the station calls that table lacks, by their exported
// names, in slot order. Those it never calls are not asked for.
std::vector<std::string> MissingEntryPoints(const LibraryTable& table);

// An entry point the library exports only under a name decorated for
// another calling convention (stdcall's "_name@N" or "name@N"). Calling it
// the station's way would corrupt the stack, so it is left unbound.
struct DecoratedExport {
    std::string entryPoint;
    std::string exported;
};

// Those of exports, a library's export names, that are entry points under a
// decorated name only, in the order they are exported.
std::vector<DecoratedExport> DecoratedOnlyExports(const std::vector<std::string>& exports);

// The library's fixed parameters as (code, value), in the order they are set.
constexpr std::array<std::pair<int, int>, 12> kLibraryParameters = {{
    {0, 0}, {15, 0}, {14, 0}, {6, 1}, {5, 1}, {16, 0}, {8, 1}, {3, 1}, {9, 0}, {19, 0}, {2, 50000}, {1, 20000},
}};

// Registers callback and sets the fixed parameters. A missing entry point is
// skipped; the texts the library leaves in message are not read.
void StartLibrary(const LibraryTable& table, IFWD_DL_Callback callback, LibraryMessage& message);

}  // namespace tandrel
