#include "usb/DevicePathTable.h"

#include <cstring>

namespace tandrel {

void DevicePathTable::ForgetDevicePath(int n) {
    if (n < 1 || n >= kSlots) return;
    slots_[static_cast<std::size_t>(n)].fill('\0');
}

void DevicePathTable::ClearDevicePaths() {
    for (auto& slot : slots_) slot.fill('\0');
}

const char* DevicePathTable::Slot(int n) const {
    if (n < 0 || n >= kSlots) return "";
    return slots_[static_cast<std::size_t>(n)].data();
}

bool DevicePathTable::Record(int n, const char* path) {
    if (n < 1 || n >= kSlots) return false;
    const std::size_t length = strnlen(path, kDevicePathSize);
    if (length >= kDevicePathSize) return false;
    auto& slot = slots_[static_cast<std::size_t>(n)];
    slot.fill('\0');
    std::memcpy(slot.data(), path, length);
    return true;
}

bool DevicePathTable::IsRecorded(const char* path) const {
    if (path[0] == '\0') return false;
    for (int n = 1; n < kSlots; ++n) {
        if (std::strncmp(slots_[static_cast<std::size_t>(n)].data(), path, kDevicePathSize) == 0) return true;
    }
    return false;
}

DevicePathTable& TheDevicePathTable() {
    static DevicePathTable table;
    return table;
}

}  // namespace tandrel
