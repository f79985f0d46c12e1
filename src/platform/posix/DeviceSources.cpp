#include "platform/DeviceSources.h"

#include <filesystem>
#include <system_error>

#include "platform/DirectoryRegistry.h"
#include "platform/posix/SysfsRegistry.h"

namespace tandrel {

namespace {

constexpr std::string_view kSysfsRoot = "/sys";
constexpr std::string_view kDirectoryPrefix = "dir:";

}  // namespace

const char* DefaultDeviceSource() { return "sysfs"; }

std::unique_ptr<DeviceRegistry> MakeDeviceRegistry(const std::string& spec, std::string& error) {
    if (spec == "sysfs") return std::make_unique<SysfsRegistry>(std::string(kSysfsRoot));
    if (!spec.starts_with(kDirectoryPrefix)) {
        error = "unknown device source \"" + spec + "\": use sysfs or dir:PATH";
        return nullptr;
    }
    // A mistyped bench folder must not look like a bench with no phones.
    const std::string path = spec.substr(kDirectoryPrefix.size());
    std::error_code failure;
    if (path.empty() || !std::filesystem::exists(path, failure)) {
        error = "device tree \"" + path + "\" does not exist";
        return nullptr;
    }
    if (!std::filesystem::is_directory(path, failure)) {
        error = "device tree \"" + path + "\" is not a folder";
        return nullptr;
    }
    return std::make_unique<DirectoryRegistry>(path);
}

}  // namespace tandrel
