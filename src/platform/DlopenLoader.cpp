#include "platform/DlopenLoader.h"

#include <dlfcn.h>
#include <link.h>

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

std::string DlopenLoader::PathOf(void* module) {
    link_map* map = nullptr;
    if (!module || dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) return {};
    return map->l_name;
}

}  // namespace tandrel
