#pragma once

#include <cstdint>

#include "platform/DeviceRegistry.h"
#include "usb/DevicePathTable.h"

namespace tandrel {

// The device numbers one scan pass reported, in the order it accepted them.
struct FoundList {
    static constexpr int kCapacity = 10;
    std::int32_t numbers[kCapacity] = {};
    std::int32_t count = 0;

    bool Contains(std::int32_t n) const;
};

// One pass over the registry: appends the numbers of phones present now whose
// instance is not yet recorded, and records each reported instance.
void ScanUsbDevices(const DeviceRegistry& registry, DevicePathTable& table, FoundList& found);

}  // namespace tandrel
