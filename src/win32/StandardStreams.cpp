#include "win32/StandardStreams.h"

#include "platform/win32/WindowsApi.h"

#include <cstdio>

namespace tandrel {

namespace {

bool IsHandedOver(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

bool ConnectStandardStreams() {
    if (IsHandedOver(STD_OUTPUT_HANDLE) && IsHandedOver(STD_ERROR_HANDLE)) return true;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return IsHandedOver(STD_OUTPUT_HANDLE);
    if (!IsHandedOver(STD_OUTPUT_HANDLE)) std::freopen("CONOUT$", "w", stdout);
    if (!IsHandedOver(STD_ERROR_HANDLE)) std::freopen("CONOUT$", "w", stderr);
    return true;
}

}  // namespace tandrel
