#include "platform/DlopenLoader.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <filesystem>

namespace tandrel {

namespace {

void* Open(const std::string& path, std::string& error) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* reason = dlerror();
        error = reason ? reason : "unknown error";
    }
    return module;
}

std::string ProgramFolder() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : program.parent_path().string();
}

}  // namespace

void* DlopenLoader::Load(const std::string& name, std::string& error) {
    // The program's RUNPATH names its own folder too, but the dynamic linker
    // applies it only to dlopen calls made from the program itself; under a
    // sanitizer the call comes from the sanitizer's runtime. So look there
    // first explicitly.
    if (name.find('/') == std::string::npos) {
        const std::string beside = ProgramFolder() + "/" + name;
        if (access(beside.c_str(), F_OK) == 0) return Open(beside, error);
    }
    return Open(name, error);
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
