#pragma once

#include <string_view>

namespace tandrel {

// Where the phones' device instances are found: the enumeration key has one
// subkey per instance, and each instance's "Device Parameters" key holds the
// "CreateFileName" text naming the phone's port (USB3 for device 3). The
// station reads these keys; the virtual bench writes them.
inline constexpr std::string_view kPhoneEnumerationKey = "SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_058b&Pid_0041";
inline constexpr std::string_view kDeviceParametersKey = "Device Parameters";
inline constexpr std::string_view kCreateFileNameValue = "CreateFileName";

// The enumeration key in a folder tree that mirrors the registry, where a key
// is a folder (the "dir:" device source).
inline constexpr std::string_view kPhoneEnumerationFolder = "SYSTEM/CurrentControlSet/Enum/USB/Vid_058b&Pid_0041";

constexpr bool IsFolderOfKey(std::string_view folder, std::string_view key) {
    if (folder.size() != key.size()) return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (folder[i] != (key[i] == '\\' ? '/' : key[i])) return false;
    }
    return true;
}
static_assert(IsFolderOfKey(kPhoneEnumerationFolder, kPhoneEnumerationKey));

}  // namespace tandrel
