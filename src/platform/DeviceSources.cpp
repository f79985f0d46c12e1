#include "platform/DeviceSources.h"

namespace tandrel {

// Placeholder until the device sources land.
std::unique_ptr<DeviceRegistry> MakeDeviceRegistry(const std::string& spec, std::string& error) {
    error = "device source " + spec + " is not available yet";
    return nullptr;
}

}  // namespace tandrel
