#pragma once

#include <functional>
#include <string_view>

#include "platform/DeviceRegistry.h"

namespace tandrel::testing {

// Hands every listed name to a hook before the visitor sees it: a phone can
// be unplugged between the listing and the read of its value.
class HookedRegistry : public DeviceRegistry {
public:
    HookedRegistry(const DeviceRegistry& inner, std::function<void(std::string_view)> hook)
        : inner_(inner), hook_(std::move(hook)) {}
    bool ListSubkeys(std::string_view key, const NameVisitor& visit) const override {
        return inner_.ListSubkeys(key, [&](std::string_view name) {
            hook_(name);
            return visit(name);
        });
    }
    bool ReadString(std::string_view key, std::string_view valueName, char* buffer, std::size_t size) const override {
        return inner_.ReadString(key, valueName, buffer, size);
    }

private:
    const DeviceRegistry& inner_;
    std::function<void(std::string_view)> hook_;
};

}  // namespace tandrel::testing
