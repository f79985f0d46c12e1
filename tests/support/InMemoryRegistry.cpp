#include "support/InMemoryRegistry.h"

#include <vector>

#include "platform/RegistryText.h"

namespace tandrel {

void InMemoryRegistry::AddKey(std::string_view key) {
    key = WithoutTrailingBackslash(key);
    for (std::size_t cut = key.find('\\'); cut != std::string_view::npos; cut = key.find('\\', cut + 1)) {
        keys_.try_emplace(std::string(key.substr(0, cut)));
    }
    keys_.try_emplace(std::string(key));
}

void InMemoryRegistry::SetString(std::string_view key, std::string_view valueName, std::string_view text) {
    AddKey(key);
    keys_.find(WithoutTrailingBackslash(key))->second.insert_or_assign(std::string(valueName), std::string(text));
}

void InMemoryRegistry::RemoveKey(std::string_view key) {
    if (const auto found = keys_.find(WithoutTrailingBackslash(key)); found != keys_.end()) keys_.erase(found);
    const std::string prefix = std::string(WithoutTrailingBackslash(key)) + '\\';
    auto below = keys_.lower_bound(prefix);
    while (below != keys_.end() && below->first.starts_with(prefix)) below = keys_.erase(below);
}

bool InMemoryRegistry::ListSubkeys(std::string_view key, const NameVisitor& visit) const {
    if (!keys_.contains(WithoutTrailingBackslash(key))) return false;
    // Names are taken first, so that the visitor may change the registry.
    const std::string prefix = std::string(WithoutTrailingBackslash(key)) + '\\';
    std::vector<std::string> names;
    for (auto it = keys_.lower_bound(prefix); it != keys_.end() && it->first.starts_with(prefix); ++it) {
        const std::string_view name = std::string_view(it->first).substr(prefix.size());
        if (name.find('\\') == std::string_view::npos) names.emplace_back(name);
    }
    for (const std::string& name : names) {
        if (!visit(name)) break;
    }
    return true;
}

bool InMemoryRegistry::ReadString(std::string_view key, std::string_view valueName, char* buffer,
                                  std::size_t size) const {
    const auto found = keys_.find(WithoutTrailingBackslash(key));
    if (found == keys_.end()) return false;
    const auto value = found->second.find(valueName);
    return value != found->second.end() && StoreValueText(value->second, buffer, size);
}

}  // namespace tandrel
