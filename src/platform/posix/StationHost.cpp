#include "platform/StationHost.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace tandrel {

std::string HostName() {
    std::array<char, 256> name = {};
    if (gethostname(name.data(), name.size() - 1) != 0) return {};
    return name.data();
}

namespace {

// flock, not fcntl: SQLite takes fcntl locks on the same file, and the two
// kinds do not meet on Linux. Opened for reading only, so that the lock does
// not keep a file system from being made read-only under it.
class PosixFileLock : public FileLock {
public:
    explicit PosixFileLock(int fd) : fd_(fd) {}
    ~PosixFileLock() override { close(fd_); }

private:
    int fd_;
};

}  // namespace

std::unique_ptr<FileLock> FileLock::Take(const std::string& path, bool& heldElsewhere, std::string& error) {
    heldElsewhere = false;
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        const int made = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (made >= 0) close(made);
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        heldElsewhere = errno == EWOULDBLOCK;
        error = std::strerror(errno);
        close(fd);
        return nullptr;
    }
    return std::make_unique<PosixFileLock>(fd);
}

}  // namespace tandrel
