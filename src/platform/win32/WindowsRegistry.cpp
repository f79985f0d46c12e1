#include "platform/win32/WindowsRegistry.h"

#include "platform/win32/WindowsApi.h"

#include "platform/RegistryText.h"
#include "platform/win32/WideText.h"

namespace tandrel {

namespace {

// Key paths the station reads are far shorter; registry names are at most
// 255 characters, values here a few dozen bytes.
constexpr int kKeyChars = 512;
constexpr int kNameChars = 256;
constexpr int kValueChars = 256;

class OpenKey {
public:
    OpenKey(std::string_view key, REGSAM access) {
        wchar_t wide[kKeyChars];
        if (WidenInto(WithoutTrailingBackslash(key), wide, kKeyChars) < 0) return;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, wide, 0, access, &handle_) != ERROR_SUCCESS) handle_ = nullptr;
    }
    ~OpenKey() {
        if (handle_) RegCloseKey(handle_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    HKEY Handle() const { return handle_; }

private:
    HKEY handle_ = nullptr;
};

}  // namespace

bool WindowsRegistry::ListSubkeys(std::string_view key, const NameVisitor& visit) const {
    const OpenKey open(key, KEY_ENUMERATE_SUB_KEYS);
    if (!open.Handle()) return false;
    for (DWORD index = 0; index < kMaxSubkeys; ++index) {
        wchar_t name[kNameChars];
        DWORD length = kNameChars;
        const LONG result = RegEnumKeyExW(open.Handle(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) return true;
        if (result != ERROR_SUCCESS) return index > 0;
        char utf8[kNameChars * 3];
        const int n = NarrowInto({name, length}, utf8, sizeof utf8);
        if (n < 0) continue;
        if (!visit({utf8, static_cast<std::size_t>(n)})) return true;
    }
    return true;
}

bool WindowsRegistry::ReadString(std::string_view key, std::string_view valueName, char* buffer,
                                 std::size_t size) const {
    wchar_t wideName[kNameChars];
    if (WidenInto(valueName, wideName, kNameChars) < 0) return false;
    const OpenKey open(key, KEY_QUERY_VALUE);
    if (!open.Handle()) return false;

    wchar_t data[kValueChars] = {};
    DWORD type = REG_NONE;
    DWORD bytes = sizeof data;
    const LONG result =
        RegQueryValueExW(open.Handle(), wideName, nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes);
    // A value too long for the buffer is refused, not cut: a cut text could
    // name another device.
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    std::wstring_view text(data, bytes / sizeof(wchar_t));
    text = text.substr(0, text.find(L'\0'));

    char utf8[kValueChars * 3];
    const int n = NarrowInto(text, utf8, sizeof utf8);
    return n >= 0 && StoreValueText({utf8, static_cast<std::size_t>(n)}, buffer, size);
}

}  // namespace tandrel
