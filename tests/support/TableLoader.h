#pragma once

#include <cstring>
#include <map>
#include <string>
#include <type_traits>

#include "platform/ModuleLoader.h"

namespace tandrel {

// A module loader over tables of function pointers: each module is a name
// with the symbols it exports. Loading an unknown name fails with a reason,
// as dlopen would.
class TableLoader : public ModuleLoader {
public:
    // Makes module name known, exporting nothing yet.
    void AddModule(const std::string& name);
    // Exports function fn from module name as symbol (the module is made if
    // it is not known yet).
    template <typename Fn>
    void Export(const std::string& name, const std::string& symbol, Fn* fn) {
        static_assert(std::is_function_v<Fn>, "only functions are exported");
        void* address = nullptr;
        static_assert(sizeof address == sizeof fn);
        std::memcpy(&address, &fn, sizeof address);
        modules_[name][symbol] = address;
    }

    void* Load(const std::string& name, std::string& error) override;
    void* Resolve(void* module, const char* symbol) override;
    std::string PathOf(void* module) override;
    std::vector<std::string> ExportNames(void* module) override;

private:
    using Symbols = std::map<std::string, void*>;
    std::map<std::string, Symbols> modules_;
};

}  // namespace tandrel
