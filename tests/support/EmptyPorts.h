#pragma once

#include <string>

#include "platform/DeviceRegistry.h"
#include "platform/ModuleLoader.h"

namespace tandrel::fakes {

// No download library anywhere: every load fails with a reason.
class NoLibrary : public ModuleLoader {
public:
    void* Load(const std::string& name, std::string& error) override {
        ++loads;
        error = name + ": cannot open shared object file";
        return nullptr;
    }
    void* Resolve(void*, const char*) override { return nullptr; }

    int loads = 0;
};

// No phone anywhere: every key is missing.
class NoDevices : public DeviceRegistry {
public:
    bool ListSubkeys(std::string_view, const NameVisitor&) const override { return false; }
    bool ReadString(std::string_view, std::string_view, char*, std::size_t) const override { return false; }
};

}  // namespace tandrel::fakes
