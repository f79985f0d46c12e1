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

// A loaded module's handle is its image's base, its export table read in place.
std::vector<std::string> WindowsLoader::ExportNames(void* module) {
    if (!module) return {};
    const auto* base = static_cast<const unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return {};
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (headers->Signature != IMAGE_NT_SIGNATURE) return {};
    const IMAGE_DATA_DIRECTORY& table = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    if (table.VirtualAddress == 0 || table.Size == 0) return {};
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + table.VirtualAddress);
    const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::vector<std::string> found;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i) found.emplace_back(reinterpret_cast<const char*>(base + names[i]));
    return found;
}

}  // namespace tandrel
