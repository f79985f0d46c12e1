#include "platform/posix/SysfsRegistry.h"

#include <fcntl.h>
#include <limits.h>

#include <cstdio>

#include "platform/DecimalText.h"
#include "platform/FolderReads.h"
#include "platform/PhoneRegistryKeys.h"
#include "platform/RegistryText.h"

namespace tandrel {

namespace {

constexpr std::string_view kPhoneVendor = "058b";
constexpr std::string_view kPhoneProduct = "0041";
// Kernel names of USB devices stay far below this (seven hub tiers).
constexpr std::size_t kDeviceNameSize = 64;

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text) {
        if (!IsDigit(c)) return false;
    }
    return true;
}

// The instance name inside "<enumeration key>\<name>\Device Parameters", or
// an empty view for any other key.
std::string_view InstanceOfParametersKey(std::string_view key) {
    key = WithoutTrailingBackslash(key);
    if (!key.starts_with(kPhoneEnumerationKey)) return {};
    key.remove_prefix(kPhoneEnumerationKey.size());
    if (!key.starts_with('\\')) return {};
    key.remove_prefix(1);
    if (!key.ends_with(kDeviceParametersKey)) return {};
    key.remove_suffix(kDeviceParametersKey.size());
    if (!key.ends_with('\\')) return {};
    key.remove_suffix(1);
    return key;
}

// True when the attribute file of a device holds exactly expected. The
// device's folder is folderFd's entry prefix + device.
bool AttributeIs(int folderFd, std::string_view prefix, std::string_view device, const char* attribute,
                 std::string_view expected) {
    char path[PATH_MAX];
    const int written = std::snprintf(path, sizeof path, "%.*s%.*s/%s", static_cast<int>(prefix.size()),
                                      prefix.data(), static_cast<int>(device.size()), device.data(), attribute);
    if (written < 0 || static_cast<std::size_t>(written) >= sizeof path) return false;
    char text[16];
    const long read = ReadSmallFile(folderFd, path, text, sizeof text);
    return read >= 0 && WithoutTrailingNewline({text, static_cast<std::size_t>(read)}) == expected;
}

bool IsPhone(int folderFd, std::string_view prefix, std::string_view device) {
    return IsUsbDeviceName(device) && AttributeIs(folderFd, prefix, device, "idVendor", kPhoneVendor) &&
           AttributeIs(folderFd, prefix, device, "idProduct", kPhoneProduct);
}

}  // namespace

bool IsUsbDeviceName(std::string_view name) {
    if (name.size() >= kDeviceNameSize) return false;
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos || !AllDigits(name.substr(0, dash))) return false;
    std::string_view ports = name.substr(dash + 1);
    for (;;) {
        const std::size_t dot = ports.find('.');
        if (!AllDigits(ports.substr(0, dot))) return false;
        if (dot == std::string_view::npos) return true;
        ports.remove_prefix(dot + 1);
    }
}

std::string_view LastPortNumber(std::string_view name) {
    const std::size_t cut = name.find_last_of("-.");
    return cut == std::string_view::npos ? std::string_view{} : name.substr(cut + 1);
}

SysfsRegistry::SysfsRegistry(const std::string& root) : devices_(root + "/bus/usb/devices/") {}

bool SysfsRegistry::ListSubkeys(std::string_view key, const NameVisitor& visit) const {
    if (WithoutTrailingBackslash(key) != kPhoneEnumerationKey) return false;
    SortedNames phones;
    const bool listed = CollectEntries(
        devices_.c_str(), [](int fd, std::string_view name, unsigned char) { return IsPhone(fd, "", name); }, phones);
    if (listed) phones.ForEach(visit);
    return listed;
}

bool SysfsRegistry::ReadString(std::string_view key, std::string_view valueName, char* buffer,
                               std::size_t size) const {
    const std::string_view device = InstanceOfParametersKey(key);
    // The phone may have gone since it was listed.
    if (valueName != kCreateFileNameValue || !IsPhone(AT_FDCWD, devices_, device)) return false;

    char text[kDeviceNameSize + 4];
    const int written = std::snprintf(text, sizeof text, "USB%.*s", static_cast<int>(LastPortNumber(device).size()),
                                      LastPortNumber(device).data());
    if (written < 0 || static_cast<std::size_t>(written) >= sizeof text) return false;
    return StoreValueText({text, static_cast<std::size_t>(written)}, buffer, size);
}

}  // namespace tandrel
