#include "platform/ImageFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <vector>

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

struct OpenFile {
    explicit OpenFile(const std::string& path) : fd(open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~OpenFile() {
        if (fd >= 0) close(fd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool Identify(FileIdentity& identity, std::string& error) const {
        struct stat status {};
        if (fstat(fd, &status) != 0) {
            error = LastError();
            return false;
        }
        return IdentityOf(status, identity, error);
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
    if (!file.Identify(identity, error)) return false;
    // No more than the size the file had when opened: a file that keeps
    // growing is still read to an end, and found changed below.
    std::vector<std::uint8_t> buffer(kImageReadChunk);
    std::uint64_t total = 0;
    while (total < identity.size) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), identity.size - total));
        const ssize_t n = read(file.fd, buffer.data(), want);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = LastError();
            return false;
        }
        if (n == 0) break;
        total += static_cast<std::uint64_t>(n);
        if (!sink(buffer.data(), static_cast<std::size_t>(n))) {
            error = "reading was stopped";
            return false;
        }
    }
    // Bytes written meanwhile may or may not be among those read: such a
    // reading proves nothing.
    FileIdentity after;
    if (!file.Identify(after, error)) return false;
    if (after != identity || total != identity.size) {
        error = "it changed while it was being read";
        return false;
    }
    return true;
}

}  // namespace tandrel
