#include "platform/DlopenLoader.h"

#include <dlfcn.h>

namespace tandrel {

void* DlopenLoader::Load(const std::string& name, std::string& error) {
    void* module = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* reason = dlerror();
        error = reason ? reason : "unknown error";
    }
    return module;
}

void* DlopenLoader::Resolve(void* module, const char* symbol) {
    if (!module) return nullptr;
    return dlsym(module, symbol);
}

}  // namespace tandrel
