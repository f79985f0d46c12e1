#include "platform/StationHost.h"

#include "platform/win32/WindowsApi.h"

#include "platform/win32/WideText.h"

namespace tandrel {

std::string HostName() {
    wchar_t name[256] = {};
    DWORD size = static_cast<DWORD>(std::size(name));
    if (!GetComputerNameExW(ComputerNameDnsHostname, name, &size)) return {};
    return Narrow(std::wstring_view(name, size));
}

namespace {

// A byte range far past SQLite's own lock bytes, locked on a handle of its
// own: SQLite's locking of the same file is not disturbed by it.
constexpr DWORD kLockOffsetHigh = 0x7F;

class WindowsFileLock : public FileLock {
public:
    explicit WindowsFileLock(HANDLE file) : file_(file) {}
    ~WindowsFileLock() override { CloseHandle(file_); }

private:
    HANDLE file_;
};

}  // namespace

std::unique_ptr<FileLock> FileLock::Take(const std::string& path, bool& heldElsewhere, std::string& error) {
    heldElsewhere = false;
    HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "cannot open " + path;
        return nullptr;
    }
    OVERLAPPED at = {};
    at.OffsetHigh = kLockOffsetHigh;
    if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        heldElsewhere = GetLastError() == ERROR_LOCK_VIOLATION;
        error = "cannot lock " + path;
        CloseHandle(file);
        return nullptr;
    }
    return std::make_unique<WindowsFileLock>(file);
}

}  // namespace tandrel
