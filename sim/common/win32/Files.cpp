// The simulator's files on Windows. A File keeps a C runtime descriptor over
// a handle opened with every sharing mode: the station, the robot and the
// bench tool read files that another process is renaming a new version
// over at the same moment, which Windows refuses while a reader holds the
// file without FILE_SHARE_DELETE. Reads at an offset go through ReadFile
// with the offset given, as pread does.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>

#include "common/File.h"
#include "common/System.h"

namespace tandrel::sim {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring Wide(const std::string& text) {
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(needed > 0 ? needed : 0), L'\0');
    if (needed > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
    return wide;
}

std::string Reason(DWORD code) {
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        text, sizeof text, nullptr);
    std::string reason(text, length);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) {
        reason.pop_back();
    }
    return (reason.empty() ? "error" : reason) + " (error " + std::to_string(code) + ")";
}

HANDLE HandleOf(int fd) { return reinterpret_cast<HANDLE>(_get_osfhandle(fd)); }

// The descriptor over handle, or -1 (the handle closed) when there is none.
int Adopt(HANDLE handle, int flags) {
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), flags | _O_BINARY);
    if (fd < 0) CloseHandle(handle);
    return fd;
}

// path opened through CreateFileW with every sharing mode; with "cannot
// <verb> path: reason" in error when it cannot be.
HANDLE OpenShared(const std::string& path, DWORD access, DWORD disposition, const char* verb, std::string& error) {
    HANDLE handle =
        CreateFileW(Wide(path).c_str(), access, kShareAll, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = "cannot " + std::string(verb) + " " + path + ": " + Reason(GetLastError());
    }
    return handle;
}

// A renamed-over file may still be held for a moment by a reader that
// opened it without FILE_SHARE_DELETE (a script, a virus scanner).
constexpr int kRenameTries = 50;
constexpr DWORD kRenameRetryMs = 10;

}  // namespace

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (fd >= 0) _close(fd);
        fd = other.fd;
        path = std::move(other.path);
        other.fd = -1;
    }
    return *this;
}

File::~File() {
    if (fd >= 0) _close(fd);
}

File File::OpenRead(const std::string& path, std::string& error) {
    File file;
    file.path = path;
    HANDLE handle = OpenShared(path, GENERIC_READ, OPEN_EXISTING, "open", error);
    if (handle == INVALID_HANDLE_VALUE) return file;
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        error = path + " is not a regular file";
        return file;
    }
    file.fd = Adopt(handle, _O_RDONLY);
    if (file.fd < 0) error = "cannot open " + path;
    return file;
}

File File::Create(const std::string& path, std::string& error) {
    File file;
    file.path = path;
    HANDLE handle = OpenShared(path, GENERIC_WRITE, CREATE_ALWAYS, "create", error);
    if (handle == INVALID_HANDLE_VALUE) return file;
    file.fd = Adopt(handle, _O_WRONLY);
    if (file.fd < 0) error = "cannot create " + path;
    return file;
}

std::uint64_t File::Size() const {
    LARGE_INTEGER size{};
    if (fd < 0 || !GetFileSizeEx(HandleOf(fd), &size)) return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool File::ReadAt(std::uint64_t offset, void* out, std::size_t size) const {
    auto* bytes = static_cast<char*>(out);
    while (size > 0) {
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const DWORD wanted = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD got = 0;
        if (!ReadFile(HandleOf(fd), bytes, wanted, &got, &at) || got == 0) return false;
        bytes += got;
        size -= got;
        offset += got;
    }
    return true;
}

bool File::Write(const void* data, std::size_t size, std::string& error) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD wanted = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD put = 0;
        if (!WriteFile(HandleOf(fd), bytes, wanted, &put, nullptr) || put == 0) {
            error = "cannot write " + path + ": " + Reason(GetLastError());
            return false;
        }
        bytes += put;
        size -= put;
    }
    return true;
}

bool File::Commit(std::string& error) {
    const bool ok = _close(fd) == 0;
    fd = -1;
    if (!ok) error = "cannot finish writing " + path;
    return ok;
}

bool RenameReplacing(const std::string& from, const std::string& to, std::string& why) {
    const std::wstring source = Wide(from);
    const std::wstring target = Wide(to);
    // As rename does, a folder takes the place of an empty one.
    if (GetFileAttributesW(source.c_str()) & FILE_ATTRIBUTE_DIRECTORY) RemoveDirectoryW(target.c_str());
    DWORD code = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kRenameTries; ++attempt) {
        if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
        code = GetLastError();
        if (code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION) break;
        Sleep(kRenameRetryMs);
    }
    why = Reason(code);
    return false;
}

unsigned long ProcessId() { return GetCurrentProcessId(); }

}  // namespace tandrel::sim
