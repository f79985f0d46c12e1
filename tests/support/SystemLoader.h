#pragma once

// The system's real module loader, for tests that load real libraries.
#ifdef _WIN32
#include "platform/win32/WindowsLoader.h"
namespace tandrel {
using SystemLoader = WindowsLoader;
// A library every such system has, found where the system looks.
constexpr const char* kSystemLibraryName = "kernel32.dll";
}
#else
#include "platform/posix/DlopenLoader.h"
namespace tandrel {
using SystemLoader = DlopenLoader;
constexpr const char* kSystemLibraryName = "libm.so.6";
}
#endif
