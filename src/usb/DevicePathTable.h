#pragma once

#include <array>

namespace tandrel {

constexpr int kDevicePathSize = 100;

// Per device number 1..8, the registry path of the instance last reported
// with that number; an empty text means nothing is recorded. Slot 0 never
// holds a device.
class DevicePathTable {
public:
    static constexpr int kSlots = 9;

    // Zero-fills slot n (1..8; any other number is ignored).
    void Forget(int n);
    // Zero-fills every slot.
    void Clear();

    // Slot n's text ("" for a number outside 0..8).
    const char* Slot(int n) const;
    // Records path in slot n (1..8) when it fits a slot; false otherwise.
    bool Record(int n, const char* path);

private:
    std::array<std::array<char, kDevicePathSize>, kSlots> slots_ = {};
};

// The process-wide table.
DevicePathTable& TheDevicePathTable();

}  // namespace tandrel
