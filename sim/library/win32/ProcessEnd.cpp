#include <windows.h>

#include <atomic>

#include "library/ProcessEnd.h"

namespace tandrel::sim {

std::atomic<bool> g_ending{false};

bool ProcessIsEnding() { return g_ending.load(); }

}  // namespace tandrel::sim

// Called before the C++ runtime runs the library's static destructors. A
// non-null reserved argument at detach means the process is ending, not
// unloading the library.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_DETACH && reserved != nullptr) tandrel::sim::g_ending.store(true);
    return TRUE;
}
