#include "platform/DeviceSources.h"

#include <filesystem>
#include <system_error>

#include "platform/posix/SysfsRegistry.h"

namespace tandrel {

const char* DefaultDeviceSource() { return "sysfs"; }

std::unique_ptr<DeviceRegistry> MakeSystemRegistry() { return std::make_unique<SysfsRegistry>("/sys"); }

PathKind KindOfPath(const std::string& path) {
    std::error_code failure;
    const std::filesystem::file_status status = std::filesystem::status(path, failure);
    if (!std::filesystem::exists(status)) return PathKind::Missing;
    return std::filesystem::is_directory(status) ? PathKind::Folder : PathKind::Other;
}

}  // namespace tandrel
