#include "platform/DeviceSources.h"

#include "platform/DirectoryRegistry.h"

namespace tandrel {

namespace {

constexpr std::string_view kDirectoryPrefix = "dir:";

}  // namespace

std::unique_ptr<DeviceRegistry> MakeDeviceRegistry(const std::string& spec, std::string& error) {
    const std::string own = DefaultDeviceSource();
    if (spec == own) return MakeSystemRegistry();
    if (!spec.starts_with(kDirectoryPrefix)) {
        error = "unknown device source \"" + spec + "\": use " + own + " or dir:PATH";
        return nullptr;
    }
    // A mistyped bench folder must not look like a bench with no phones.
    const std::string path = spec.substr(kDirectoryPrefix.size());
    const PathKind kind = path.empty() ? PathKind::Missing : KindOfPath(path);
    if (kind == PathKind::Missing) {
        error = "device tree \"" + path + "\" does not exist";
        return nullptr;
    }
    if (kind != PathKind::Folder) {
        error = "device tree \"" + path + "\" is not a folder";
        return nullptr;
    }
    return std::make_unique<DirectoryRegistry>(path);
}

}  // namespace tandrel
