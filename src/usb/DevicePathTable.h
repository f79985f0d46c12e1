#pragma once

#include <array>

#include "channels/ChannelCount.h"

namespace tandrel {

constexpr int kDevicePathSize = 100;

// Per device number 1..channelCount, the registry path of the instance last
// reported with that number; an empty text means nothing is recorded. Slot 0
// never holds a device. A recorded instance is not reported again until its
// slot is forgotten.
class DevicePathTable {
public:
    static constexpr int kSlots = channelCount + 1;

    // Zero-fills slot n (1..channelCount; any other number is ignored).
    void ForgetDevicePath(int n);
    // Zero-fills every slot.
    void ClearDevicePaths();

    // Slot n's text ("" for a number outside 0..channelCount).
    const char* Slot(int n) const;
    // Records path in slot n (1..channelCount) when it fits a slot with its
    // NUL; false, leaving the slot as it was, otherwise.
    bool Record(int n, const char* path);
    // True when path is the text of a recorded slot 1..channelCount, compared
    // byte for byte.
    bool IsRecorded(const char* path) const;

private:
    std::array<std::array<char, kDevicePathSize>, kSlots> slots_ = {};
};

// The process-wide table.
DevicePathTable& TheDevicePathTable();

}  // namespace tandrel
