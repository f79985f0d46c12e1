#pragma once

#include <string>

#include "platform/ModuleLoader.h"

namespace tandrel::test {

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

}  // namespace tandrel::test
