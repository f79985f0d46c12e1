#pragma once

#include <memory>
#include <string>

#include "platform/DeviceRegistry.h"

namespace tandrel {

// The source used when the operator names none: the system's own.
const char* DefaultDeviceSource();

// The device source an operator named: "sysfs" (Linux), "registry"
// (Windows) or "dir:PATH". Null, with the reason in error, when it cannot be
// used here.
std::unique_ptr<DeviceRegistry> MakeDeviceRegistry(const std::string& spec, std::string& error);

// Each system's port (platform/posix, platform/win32) defines these two, and
// DefaultDeviceSource: the system's own registry, and what a path names.
std::unique_ptr<DeviceRegistry> MakeSystemRegistry();
enum class PathKind { Missing, Folder, Other };
PathKind KindOfPath(const std::string& path);

}  // namespace tandrel
