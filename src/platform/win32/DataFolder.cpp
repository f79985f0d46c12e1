#include "platform/DataFolder.h"

#include "platform/win32/WideText.h"
#include "platform/win32/WindowsApi.h"

namespace tandrel {

std::string StationDataFolder() {
    std::wstring folder(32768, L'\0');
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder.data(), static_cast<DWORD>(folder.size()));
    if (length == 0 || length >= folder.size()) return {};
    folder.resize(length);
    return Narrow(folder) + "\\Tandrel";
}

}  // namespace tandrel
