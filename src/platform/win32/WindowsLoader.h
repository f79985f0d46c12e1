#pragma once

#include "platform/ModuleLoader.h"

namespace tandrel {

// The real module loader on Windows: LoadLibraryW and GetProcAddress. A bare
// file name is looked for in the program's own folder first, then in the
// system's search order; a name with a folder in it is taken as a path, and
// the DLLs that library needs are then looked for beside it first.
class WindowsLoader : public ModuleLoader {
public:
    void* Load(const std::string& name, std::string& error) override;
    void* Resolve(void* module, const char* symbol) override;
    std::string PathOf(void* module) override;
    std::vector<std::string> ExportNames(void* module) override;
};

}  // namespace tandrel
