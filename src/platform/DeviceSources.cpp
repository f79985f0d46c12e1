#include "platform/DeviceSources.h"

namespace tandrel {

namespace {
// Placeholder source with no devices, until the real sources land.
class NoDevices : public DeviceRegistry {
public:
    bool ListSubkeys(std::string_view, const NameVisitor&) const override { return false; }
    bool ReadString(std::string_view, std::string_view, char*, std::size_t) const override { return false; }
};
}  // namespace

std::unique_ptr<DeviceRegistry> MakeDeviceRegistry(const std::string&, std::string&) {
    return std::make_unique<NoDevices>();
}

}  // namespace tandrel
