#pragma once

#include <string>
#include <vector>

namespace tandrel {

// Loads a shared library by name and resolves its symbols.
class ModuleLoader {
public:
    virtual ~ModuleLoader() = default;

    // A handle, or null with the loader's reason in error.
    virtual void* Load(const std::string& name, std::string& error) = 0;
    // The symbol's address, or null when the module does not export it.
    virtual void* Resolve(void* module, const char* symbol) = 0;
    // The file a loaded module came from, as the operator should see it;
    // empty when the loader cannot tell.
    virtual std::string PathOf(void*) { return {}; }
    // Every name a loaded module exports, as its export table spells it;
    // empty where the system has no such table to read.
    virtual std::vector<std::string> ExportNames(void*) { return {}; }
};

}  // namespace tandrel
