#include "platform/ImageFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tandrel {

namespace {

// The reason of the last failed call, safe on any thread.
std::string LastError() { return std::generic_category().message(errno); }

bool IdentityOf(const struct stat& status, FileIdentity& identity, std::string& error) {
    if (!S_ISREG(status.st_mode)) {
        error = "not a plain file";
        return false;
    }
    identity.size = static_cast<std::uint64_t>(status.st_size);
    identity.modified = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    identity.volume = static_cast<std::uint64_t>(status.st_dev);
    identity.fileId = static_cast<std::uint64_t>(status.st_ino);
    return true;
}

struct OpenFile : OpenImage {
    explicit OpenFile(const std::string& path) : fd(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~OpenFile() override {
        if (fd >= 0) close(fd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool Identify(FileIdentity& identity, std::string& error) const override {
        struct stat status {};
        if (fstat(fd, &status) != 0) {
            error = LastError();
            return false;
        }
        return IdentityOf(status, identity, error);
    }

    long long ReadSome(std::uint8_t* data, std::size_t size, std::string& error) const override {
        for (;;) {
            const ssize_t n = read(fd, data, size);
            if (n >= 0) return n;
            if (errno != EINTR) break;
        }
        error = LastError();
        return -1;
    }

    const int fd;
};

}  // namespace

bool LocalFiles::Identify(const std::string& path, FileIdentity& identity, std::string& error) const {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        error = LastError();
        return false;
    }
    return IdentityOf(status, identity, error);
}

bool LocalFiles::Read(const std::string& path, FileIdentity& identity, const ChunkSink& sink,
                      std::string& error) const {
    const OpenFile file(path);
    if (file.fd < 0) {
        error = LastError();
        return false;
    }
    return ReadWhole(file, identity, sink, error);
}

}  // namespace tandrel
