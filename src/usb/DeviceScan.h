#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "platform/DeviceRegistry.h"
#include "usb/DevicePathTable.h"

namespace tandrel {

// The device numbers one scan pass reported, in the order it accepted them.
// The caller starts every pass with an empty list.
struct FoundList {
    static constexpr int kCapacity = 10;
    std::int32_t numbers[kCapacity] = {};
    std::int32_t count = 0;

    bool Contains(std::int32_t n) const;
    bool Full() const { return count < 0 || count >= kCapacity; }
    // Appends n where there is room; false when the list is full.
    bool Append(std::int32_t n);
};

// The buffer a "CreateFileName" text is read into: at most 19 characters.
constexpr std::size_t kCreateFileNameSize = 20;

// The device number a "CreateFileName" text names: the decimal number after
// its first three characters, which are not looked at (COM3 names 3 just as
// USB3 does); leading blanks and one sign are allowed, and the number ends at
// the first non-digit. 0 when the text names no device: "USB0", an empty
// text, three characters or fewer, no digits, or a number below 1. A number
// too large for 32 bits reads as the largest one, never as a small device.
std::int32_t ParseDeviceNumber(std::string_view text);

// Writes the registry path of the "Device Parameters" key of the instance
// named instanceName into path. False when it would not fit a
// DevicePathTable slot, or when the name is not a single key name.
bool FormInstancePath(std::string_view instanceName, char (&path)[kDevicePathSize]);

// One pass over the registry: appends to found the number of every phone
// present now whose instance is not recorded in table, and records the
// instance of each reported number 1..channelCount, so that it stays quiet
// until its slot is forgotten. Numbers above channelCount are never recorded
// and stand in the list once per pass, however many instances hold them, so
// they cannot crowd out the phones the station can serve. Once the list is
// full the remaining instances are left unread and unrecorded for the next
// pass. Instances whose path does not fit a slot are skipped.
//
// Two instances present at once that claim the same number n are told to
// onDuplicate with their instance names, on every pass that sees both.
using DuplicateClaim = std::function<void(std::int32_t n, std::string_view recorded, std::string_view reported)>;
void ScanUsbDevices(const DeviceRegistry& registry, DevicePathTable& table, FoundList& found,
                    const DuplicateClaim& onDuplicate = {});

}  // namespace tandrel
