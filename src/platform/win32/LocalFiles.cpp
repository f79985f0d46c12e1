// The image files on Windows: the same contract as on Linux, on CreateFileW
// and GetFileInformationByHandle. A file is opened with every sharing mode,
// so that looking at an image never stops a new build being copied over it.
#include "platform/ImageFiles.h"

#include "platform/win32/WindowsApi.h"

#include "platform/win32/WideText.h"

namespace tandrel {

namespace {

// Closes the handle it holds.
struct OpenFile : OpenImage {
    explicit OpenFile(const std::string& path)
        : handle(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~OpenFile() override {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool Identify(FileIdentity& identity, std::string& error) const override {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!GetFileInformationByHandle(handle, &info)) {
            error = SystemErrorText(GetLastError());
            return false;
        }
        if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            error = "not a plain file";
            return false;
        }
        identity.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
        identity.modified = static_cast<std::int64_t>((static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime)
                                                       << 32) |
                                                      info.ftLastWriteTime.dwLowDateTime);
        identity.volume = info.dwVolumeSerialNumber;
        identity.fileId = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
        return true;
    }

    long long ReadSome(std::uint8_t* data, std::size_t size, std::string& error) const override {
        DWORD got = 0;
        if (!ReadFile(handle, data, static_cast<DWORD>(size), &got, nullptr)) {
            error = SystemErrorText(GetLastError());
            return -1;
        }
        return got;
    }

    const HANDLE handle;
};

}  // namespace

bool LocalFiles::Identify(const std::string& path, FileIdentity& identity, std::string& error) const {
    const OpenFile file(path);
    if (file.handle == INVALID_HANDLE_VALUE) {
        error = SystemErrorText(GetLastError());
        return false;
    }
    return file.Identify(identity, error);
}

bool LocalFiles::Read(const std::string& path, FileIdentity& identity, const ChunkSink& sink,
                      std::string& error) const {
    const OpenFile file(path);
    if (file.handle == INVALID_HANDLE_VALUE) {
        error = SystemErrorText(GetLastError());
        return false;
    }
    return ReadWhole(file, identity, sink, error);
}

}  // namespace tandrel
