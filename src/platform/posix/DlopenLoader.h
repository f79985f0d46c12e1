#pragma once

#include <string>

#include "platform/ModuleLoader.h"

namespace tandrel {

// The real module loader: dlopen and dlsym. A bare file name is looked for in
// the program's own folder first, then where the dynamic linker looks, and
// last in packageFolder, where an installed package keeps a library of its
// own out of the system's way; a name with a slash is taken as a path.
class DlopenLoader : public ModuleLoader {
public:
    // packageFolder: relative to the program's folder, or absolute; empty
    // for none.
    explicit DlopenLoader(std::string packageFolder = {});

    void* Load(const std::string& name, std::string& error) override;
    void* Resolve(void* module, const char* symbol) override;
    // The path the dynamic linker found, so a bare name shows where it led.
    std::string PathOf(void* module) override;

private:
    std::string packageFolder_;
};

}  // namespace tandrel
