// The device sources of the Windows station: the registry itself (the
// default) or a directory tree that mirrors it, as the virtual bench writes.
#include "platform/DeviceSources.h"

#include "platform/win32/WindowsApi.h"

#include "platform/win32/WideText.h"
#include "platform/win32/WindowsRegistry.h"

namespace tandrel {

const char* DefaultDeviceSource() { return "registry"; }

std::unique_ptr<DeviceRegistry> MakeSystemRegistry() { return std::make_unique<WindowsRegistry>(); }

PathKind KindOfPath(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::Other;
}

}  // namespace tandrel
