#include "platform/win32/ProgramFolder.h"

#include "platform/win32/WindowsApi.h"

namespace tandrel {

// Long paths (past MAX_PATH) are allowed; the module name is cut silently
// when the buffer is too small, which the length check catches.
std::wstring ProgramFolder() {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return {};
    path.resize(length);
    const std::size_t cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
}

}  // namespace tandrel
