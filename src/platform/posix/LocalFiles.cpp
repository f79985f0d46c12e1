#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <vector>

#include "platform/ImageFiles.h"

namespace tandrel {

namespace {

// The last failed call, sorted by kind, in the system's words; safe on any thread.
FileError LastError(const std::string& path) {
    const int code = errno;
    FileErrorKind kind = FileErrorKind::Io;
    if (code == ENOENT || code == ENOTDIR) kind = FileErrorKind::NotFound;
    if (code == EACCES || code == EPERM || code == EROFS) kind = FileErrorKind::Denied;
    if (code == EISDIR) kind = FileErrorKind::NotAFile;
    return {kind, std::generic_category().message(code), path};
}

bool IdentityOf(const struct stat& status, FileIdentity& identity, FileError& error) {
    if (!S_ISREG(status.st_mode)) {
        error = {FileErrorKind::NotAFile, S_ISDIR(status.st_mode) ? "is a folder" : "is not a plain file", error.path};
        return false;
    }
    identity.size = static_cast<std::uint64_t>(status.st_size);
    identity.modified = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    identity.volume = static_cast<std::uint64_t>(status.st_dev);
    identity.fileId = static_cast<std::uint64_t>(status.st_ino);
    return true;
}

// Closes the descriptor it holds.
struct Descriptor {
    explicit Descriptor(int opened) : fd(opened) {}
    ~Descriptor() {
        if (fd >= 0) close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    const int fd;
};

struct OpenFile : OpenImage {
    explicit OpenFile(const std::string& name) : path(name), file(open(name.c_str(), O_RDONLY | O_CLOEXEC)) {}

    bool Identify(FileIdentity& identity, FileError& error) const override {
        struct stat status {};
        if (fstat(file.fd, &status) != 0) {
            error = LastError(path);
            return false;
        }
        error.path = path;
        return IdentityOf(status, identity, error);
    }

    long long ReadSome(std::uint8_t* data, std::size_t size, FileError& error) const override {
        for (;;) {
            const ssize_t n = read(file.fd, data, size);
            if (n >= 0) return n;
            if (errno != EINTR) break;
        }
        error = LastError(path);
        return -1;
    }

    const std::string path;
    const Descriptor file;
};

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// The source's blocks shared with the copy where the file system can (Btrfs,
// XFS): instant, and no disk taken; its bytes copied otherwise.
bool CopyBytes(const OpenFile& source, int target, const ImageFiles::GoOn& goOn, FileError& error,
               const std::string& copy) {
    if (ioctl(target, FICLONE, source.file.fd) == 0) return true;
    const auto write = [&](const std::uint8_t* data, std::size_t size) {
        if (WriteAll(target, data, size)) return true;
        error = LastError(copy);
        return false;
    };
    return CopyChunks(source, write, goOn, error, copy);
}

bool MakeFolders(const std::string& folder, FileError& error) {
    for (std::size_t at = folder.find('/', 1);; at = folder.find('/', at + 1)) {
        const std::string part = folder.substr(0, at);
        if (mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) {
            error = LastError(part);
            return false;
        }
        if (at == std::string::npos) return true;
    }
}

bool CopyInto(const OpenFile& source, const std::string& copy, FileIdentity& identity, const ImageFiles::GoOn& goOn,
              FileError& error) {
    const Descriptor target(open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (target.fd < 0) {
        error = LastError(copy);
        return false;
    }
    if (!CopyBytes(source, target.fd, goOn, error, copy)) return false;
    FileIdentity after;
    if (!source.Identify(after, error)) return false;
    if (after != identity) {
        error = {FileErrorKind::Changed, "changed while it was being copied", source.path};
        return false;
    }
    struct stat written {};
    if (fstat(target.fd, &written) != 0 || static_cast<std::uint64_t>(written.st_size) != identity.size ||
        fchmod(target.fd, 0444) != 0) {
        error = LastError(copy);
        return false;
    }
    return true;
}

}  // namespace

bool LocalFiles::Identify(const std::string& path, FileIdentity& identity, FileError& error) const {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        error = LastError(path);
        return false;
    }
    error.path = path;
    return IdentityOf(status, identity, error);
}

bool LocalFiles::Read(const std::string& path, FileIdentity& identity, const ChunkSink& sink,
                      FileError& error) const {
    const OpenFile file(path);
    if (file.file.fd < 0) {
        error = LastError(path);
        return false;
    }
    return ReadWhole(file, identity, sink, error);
}

bool LocalFiles::Copy(const std::string& source, const std::string& folder, FileIdentity& identity, std::string& copy,
                      const GoOn& goOn, FileError& error) const {
    const OpenFile file(source);
    if (file.file.fd < 0) {
        error = LastError(source);
        return false;
    }
    if (!file.Identify(identity, error) || !MakeFolders(folder, error)) return false;
    copy = NewCopyName(folder, getpid());
    if (CopyInto(file, copy, identity, goOn, error)) return true;
    unlink(copy.c_str());
    return false;
}

bool LocalFiles::Rename(const std::string& from, const std::string& to, FileError& error) const {
    if (rename(from.c_str(), to.c_str()) == 0) return true;
    error = LastError(to);
    return false;
}

void LocalFiles::Remove(const std::string& path) const { unlink(path.c_str()); }

}  // namespace tandrel
