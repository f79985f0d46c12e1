#include "usb/DeviceScan.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/DecimalText.h"
#include "platform/PhoneRegistryKeys.h"

namespace tandrel {

namespace {

constexpr std::int32_t kChannelCount = channelCount;

// The three rules a text must pass before its number is looked at.
bool IsAcceptedText(std::string_view text) { return text != "USB0" && !text.empty() && text.size() > 3; }

// One pass: each listed instance is handed to Visit in registry order.
class ScanPass {
public:
    ScanPass(const DeviceRegistry& registry, DevicePathTable& table, FoundList& found,
             const DuplicateClaim& onDuplicate)
        : registry_(registry), table_(table), found_(found), onDuplicate_(onDuplicate) {}

    // False once the found list is full, which ends the listing.
    bool Visit(std::string_view instanceName) {
        if (found_.Full()) return false;
        char path[kDevicePathSize];
        if (!FormInstancePath(instanceName, path) || table_.IsRecorded(path)) return true;

        const std::int32_t n = NumberAt(path);
        if (n > kChannelCount) {
            if (!HoldsUnservedNumber()) found_.Append(n);
        } else if (n >= 1) {
            found_.Append(n);
            CheckDuplicate(n, instanceName);
            table_.Record(n, path);
        }
        return !found_.Full();
    }

private:
    std::int32_t NumberAt(const char* path) const {
        char value[kCreateFileNameSize] = {};
        registry_.ReadString(path, kCreateFileNameValue, value, sizeof value);
        return ParseDeviceNumber({value, strnlen(value, sizeof value - 1)});
    }

    // The instance recorded for n is replaced: if it is still there and
    // still claims n, two devices claim one port.
    void CheckDuplicate(std::int32_t n, std::string_view instanceName) const {
        const char* recorded = table_.Slot(n);
        if (!onDuplicate_ || !*recorded || NumberAt(recorded) != n) return;
        std::string_view name(recorded);
        name.remove_prefix(std::min(name.size(), kPhoneEnumerationKey.size() + 1));
        name.remove_suffix(std::min(name.size(), kDeviceParametersKey.size() + 1));
        if (name != instanceName) onDuplicate_(n, name, instanceName);
    }

    bool HoldsUnservedNumber() const {
        return std::any_of(found_.numbers, found_.numbers + found_.count,
                           [](std::int32_t n) { return n > kChannelCount; });
    }

    const DeviceRegistry& registry_;
    DevicePathTable& table_;
    FoundList& found_;
    const DuplicateClaim& onDuplicate_;
};

}  // namespace

bool FoundList::Contains(std::int32_t n) const {
    const int held = std::clamp(count, 0, kCapacity);
    return std::find(numbers, numbers + held, n) != numbers + held;
}

bool FoundList::Append(std::int32_t n) {
    if (Full()) return false;
    numbers[count++] = n;
    return true;
}

std::int32_t ParseDeviceNumber(std::string_view text) {
    if (!IsAcceptedText(text)) return 0;
    text.remove_prefix(3);
    const std::int32_t number = ReadLeadingDecimal(text).value;
    return number < 0 ? 0 : number;
}

bool FormInstancePath(std::string_view instanceName, char (&path)[kDevicePathSize]) {
    if (instanceName.find_first_of(std::string_view("\\\0", 2)) != std::string_view::npos) return false;
    const int written = std::snprintf(path, sizeof path, "%.*s\\%.*s\\%.*s",
                                      static_cast<int>(kPhoneEnumerationKey.size()), kPhoneEnumerationKey.data(),
                                      static_cast<int>(instanceName.size()), instanceName.data(),
                                      static_cast<int>(kDeviceParametersKey.size()), kDeviceParametersKey.data());
    return written >= 0 && static_cast<std::size_t>(written) < sizeof path;
}

void ScanUsbDevices(const DeviceRegistry& registry, DevicePathTable& table, FoundList& found,
                    const DuplicateClaim& onDuplicate) {
    ScanPass pass(registry, table, found, onDuplicate);
    registry.ListSubkeys(kPhoneEnumerationKey, [&pass](std::string_view name) { return pass.Visit(name); });
}

}  // namespace tandrel
