#include "support/TableLoader.h"

namespace tandrel {

void TableLoader::AddModule(const std::string& name) { modules_[name]; }

void* TableLoader::Load(const std::string& name, std::string& error) {
    auto it = modules_.find(name);
    if (it == modules_.end()) {
        error = name + ": cannot open shared object file: No such file or directory";
        return nullptr;
    }
    // A module's handle is its entry in the table: stable while the loader lives.
    return &*it;
}

void* TableLoader::Resolve(void* module, const char* symbol) {
    if (!module || !symbol) return nullptr;
    const auto& symbols = static_cast<std::pair<const std::string, Symbols>*>(module)->second;
    auto it = symbols.find(symbol);
    return it == symbols.end() ? nullptr : it->second;
}

std::string TableLoader::PathOf(void* module) {
    if (!module) return {};
    return static_cast<std::pair<const std::string, Symbols>*>(module)->first;
}

std::vector<std::string> TableLoader::ExportNames(void* module) {
    std::vector<std::string> names;
    if (!module) return names;
    for (const auto& [symbol, address] : static_cast<std::pair<const std::string, Symbols>*>(module)->second) {
        names.push_back(symbol);
    }
    return names;
}

}  // namespace tandrel
