#pragma once

// The system's real module loader, for tests that load real libraries.
#ifdef _WIN32
#include "win32/WindowsLoader.h"
namespace tandrel {
using SystemLoader = WindowsLoader;
}
#else
#include "platform/DlopenLoader.h"
namespace tandrel {
using SystemLoader = DlopenLoader;
}
#endif
