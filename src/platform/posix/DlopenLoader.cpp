#include "platform/posix/DlopenLoader.h"

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

std::filesystem::path ProgramFolder() {
    std::error_code ec;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : program.parent_path();
}

bool Exists(const std::filesystem::path& file) { return access(file.c_str(), F_OK) == 0; }

}  // namespace

DlopenLoader::DlopenLoader(std::string packageFolder) : packageFolder_(std::move(packageFolder)) {}

void* DlopenLoader::Load(const std::string& name, std::string& error) {
    if (name.find('/') != std::string::npos) return Open(name, error);
    // The program's RUNPATH names its own folder too, but the dynamic linker
    // applies it only to dlopen calls made from the program itself; under a
    // sanitizer the call comes from the sanitizer's runtime. So look there
    // first explicitly.
    const std::filesystem::path folder = ProgramFolder();
    if (!folder.empty() && Exists(folder / name)) return Open((folder / name).string(), error);
    void* module = Open(name, error);
    if (module || folder.empty() || packageFolder_.empty()) return module;
    // Last, so that a library installed where the system looks (the vendor's)
    // wins over the package's stand-in. Without one there, the reason the
    // system gave is the one worth showing.
    const std::filesystem::path packaged = (folder / packageFolder_ / name).lexically_normal();
    return Exists(packaged) ? Open(packaged.string(), error) : nullptr;
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
