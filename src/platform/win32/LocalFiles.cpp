// The image files on Windows: the same contract as on Linux, on CreateFileW
// and GetFileInformationByHandle. A file is opened with every sharing mode,
// so that looking at an image never stops a new build being copied over it,
// and with backup semantics, so that a folder opens too and is told apart
// from a file the station may not read.
#include "platform/ImageFiles.h"

#include <vector>

#include "platform/win32/WindowsApi.h"

#include "platform/win32/WideText.h"

namespace tandrel {

namespace {

// The last failed call, sorted by kind, in the system's words.
FileError LastError(const std::string& path) {
    const DWORD code = GetLastError();
    FileErrorKind kind = FileErrorKind::Io;
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND || code == ERROR_INVALID_NAME ||
        code == ERROR_BAD_NETPATH) {
        kind = FileErrorKind::NotFound;
    }
    if (code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION || code == ERROR_WRITE_PROTECT) {
        kind = FileErrorKind::Denied;
    }
    return {kind, SystemErrorText(code), path};
}

// Closes the handle it holds.
struct Handle {
    explicit Handle(HANDLE opened) : handle(opened) {}
    ~Handle() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    const HANDLE handle;
};

struct OpenFile : OpenImage {
    explicit OpenFile(const std::string& name)
        : path(name),
          file(CreateFileW(Widen(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}

    bool Identify(FileIdentity& identity, FileError& error) const override {
        BY_HANDLE_FILE_INFORMATION info{};
        if (!GetFileInformationByHandle(file.handle, &info)) {
            error = LastError(path);
            return false;
        }
        if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            error = {FileErrorKind::NotAFile, "is a folder", path};
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

    long long ReadSome(std::uint8_t* data, std::size_t size, FileError& error) const override {
        DWORD got = 0;
        if (!ReadFile(file.handle, data, static_cast<DWORD>(size), &got, nullptr)) {
            error = LastError(path);
            return -1;
        }
        return got;
    }

    bool IsOpen() const { return file.handle != INVALID_HANDLE_VALUE; }

    const std::string path;
    const Handle file;
};

bool WriteAll(HANDLE target, const std::uint8_t* data, std::size_t size) {
    DWORD written = 0;
    return WriteFile(target, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

bool CopyBytes(const OpenFile& source, HANDLE target, const ImageFiles::GoOn& goOn, FileError& error,
               const std::string& copy) {
    const auto write = [&](const std::uint8_t* data, std::size_t size) {
        if (WriteAll(target, data, size)) return true;
        error = LastError(copy);
        return false;
    };
    return CopyChunks(source, write, goOn, error, copy);
}

bool MakeFolders(const std::string& folder, FileError& error) {
    for (std::size_t at = folder.find_first_of("/\\", 3);; at = folder.find_first_of("/\\", at + 1)) {
        const std::string part = folder.substr(0, at);
        if (!CreateDirectoryW(Widen(part).c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            error = LastError(part);
            return false;
        }
        if (at == std::string::npos) return true;
    }
}

bool CopyInto(const OpenFile& source, const std::string& copy, const FileIdentity& identity,
              const ImageFiles::GoOn& goOn, FileError& error) {
    {
        const Handle target(
            CreateFileW(Widen(copy).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (target.handle == INVALID_HANDLE_VALUE) {
            error = LastError(copy);
            return false;
        }
        if (!CopyBytes(source, target.handle, goOn, error, copy)) return false;
    }
    FileIdentity after;
    if (!source.Identify(after, error)) return false;
    if (after != identity) {
        error = {FileErrorKind::Changed, "changed while it was being copied", source.path};
        return false;
    }
    if (!SetFileAttributesW(Widen(copy).c_str(), FILE_ATTRIBUTE_READONLY)) {
        error = LastError(copy);
        return false;
    }
    return true;
}

}  // namespace

bool LocalFiles::Identify(const std::string& path, FileIdentity& identity, FileError& error) const {
    const OpenFile file(path);
    if (!file.IsOpen()) {
        error = LastError(path);
        return false;
    }
    return file.Identify(identity, error);
}

bool LocalFiles::Read(const std::string& path, FileIdentity& identity, const ChunkSink& sink,
                      FileError& error) const {
    const OpenFile file(path);
    if (!file.IsOpen()) {
        error = LastError(path);
        return false;
    }
    return ReadWhole(file, identity, sink, error);
}

bool LocalFiles::Copy(const std::string& source, const std::string& folder, FileIdentity& identity, std::string& copy,
                      const GoOn& goOn, FileError& error) const {
    const OpenFile file(source);
    if (!file.IsOpen()) {
        error = LastError(source);
        return false;
    }
    if (!file.Identify(identity, error) || !MakeFolders(folder, error)) return false;
    copy = NewCopyName(folder, static_cast<long long>(GetCurrentProcessId()));
    if (CopyInto(file, copy, identity, goOn, error)) return true;
    Remove(copy);
    return false;
}

bool LocalFiles::Rename(const std::string& from, const std::string& to, FileError& error) const {
    SetFileAttributesW(Widen(to).c_str(), FILE_ATTRIBUTE_NORMAL);
    if (MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    error = LastError(to);
    return false;
}

void LocalFiles::Remove(const std::string& path) const {
    const std::wstring wide = Widen(path);
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(wide.c_str());
}

}  // namespace tandrel
