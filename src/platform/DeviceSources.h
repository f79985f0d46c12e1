#pragma once

#include <memory>
#include <string>

#include "platform/DeviceRegistry.h"

namespace tandrel {

// The device source an operator named: "sysfs" (Linux), "registry"
// (Windows) or "dir:PATH". Null, with the reason in error, when it cannot be
// used here.
// The source used when the operator names none: the system's own.
const char* DefaultDeviceSource();

std::unique_ptr<DeviceRegistry> MakeDeviceRegistry(const std::string& spec, std::string& error);

}  // namespace tandrel
