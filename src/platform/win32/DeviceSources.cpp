// The device sources of the Windows station: the registry itself (the
// default) or a directory tree that mirrors it, as the virtual bench writes.
#include "platform/DeviceSources.h"

#include "platform/win32/WindowsApi.h"

#include "platform/DirectoryRegistry.h"
#include "platform/win32/WideText.h"
#include "platform/win32/WindowsRegistry.h"

namespace tandrel {

namespace {

constexpr std::string_view kDirectoryPrefix = "dir:";

}  // namespace

const char* DefaultDeviceSource() { return "registry"; }

std::unique_ptr<DeviceRegistry> MakeDeviceRegistry(const std::string& spec, std::string& error) {
    if (spec == "registry") return std::make_unique<WindowsRegistry>();
    if (!spec.starts_with(kDirectoryPrefix)) {
        error = "unknown device source \"" + spec + "\": use registry or dir:PATH";
        return nullptr;
    }
    // A mistyped bench folder must not look like a bench with no phones.
    const std::string path = spec.substr(kDirectoryPrefix.size());
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        error = "device tree \"" + path + "\" does not exist";
        return nullptr;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = "device tree \"" + path + "\" is not a folder";
        return nullptr;
    }
    return std::make_unique<DirectoryRegistry>(path);
}

}  // namespace tandrel
