#include "platform/win32/WindowsLoader.h"

#include "platform/win32/WindowsApi.h"

#include "platform/win32/ProgramFolder.h"
#include "platform/win32/WideText.h"

namespace tandrel {

namespace {

bool IsBareName(const std::string& name) { return name.find_first_of("/\\:") == std::string::npos; }

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The search that LOAD_WITH_ALTERED_SEARCH_PATH starts in the library's own
// folder is defined for full paths only.
HMODULE LoadByPath(const std::wstring& path) {
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return nullptr;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return nullptr;
    full.resize(length);
    return LoadLibraryExW(full.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

void* WindowsLoader::Load(const std::string& name, std::string& error) {
    const std::wstring wide = Widen(name);
    HMODULE module = nullptr;
    if (!IsBareName(name)) {
        module = LoadByPath(wide);
    } else if (const std::wstring beside = ProgramFolder() + L"\\" + wide; FileExists(beside)) {
        module = LoadByPath(beside);
    } else {
        module = LoadLibraryW(wide.c_str());
    }
    // As the dynamic linker's reasons do, the reason names the file.
    if (!module) error = name + ": " + SystemErrorText(GetLastError());
    return module;
}

void* WindowsLoader::Resolve(void* module, const char* symbol) {
    if (!module) return nullptr;
    // A function address travels as an object pointer, as dlsym hands it.
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), symbol));
}

std::string WindowsLoader::PathOf(void* module) {
    if (!module) return {};
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(static_cast<HMODULE>(module), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return {};
    path.resize(length);
    return Narrow(path);
}

}  // namespace tandrel
