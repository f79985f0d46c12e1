// The simulator's files on a POSIX system: plain descriptors, pread for
// reads at an offset, rename for atomic replacement.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "common/File.h"
#include "common/System.h"

namespace tandrel::sim {

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (fd >= 0) ::close(fd);
        fd = other.fd;
        path = std::move(other.path);
        other.fd = -1;
    }
    return *this;
}

File::~File() {
    if (fd >= 0) ::close(fd);
}

File File::OpenRead(const std::string& path, std::string& error) {
    File file;
    file.path = path;
    file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file.fd < 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return file;
    }
    struct stat info {};
    if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = path + " is not a regular file";
        ::close(file.fd);
        file.fd = -1;
    }
    return file;
}

File File::Create(const std::string& path, std::string& error) {
    File file;
    file.path = path;
    file.fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file.fd < 0) error = "cannot create " + path + ": " + std::strerror(errno);
    return file;
}

std::uint64_t File::Size() const {
    struct stat info {};
    if (fd < 0 || ::fstat(fd, &info) != 0) return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

bool File::ReadAt(std::uint64_t offset, void* out, std::size_t size) const {
    auto* bytes = static_cast<char*>(out);
    while (size > 0) {
        ssize_t got = ::pread(fd, bytes, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        bytes += got;
        size -= static_cast<std::size_t>(got);
        offset += static_cast<std::uint64_t>(got);
    }
    return true;
}

bool File::Write(const void* data, std::size_t size, std::string& error) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t put = ::write(fd, bytes, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            error = "cannot write " + path + ": " + std::strerror(errno);
            return false;
        }
        bytes += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

bool File::Commit(std::string& error) {
    bool ok = ::close(fd) == 0;
    fd = -1;
    if (!ok) error = "cannot finish writing " + path + ": " + std::strerror(errno);
    return ok;
}

bool RenameReplacing(const std::string& from, const std::string& to, std::string& why) {
    if (std::rename(from.c_str(), to.c_str()) == 0) return true;
    why = std::strerror(errno);
    return false;
}

unsigned long ProcessId() { return static_cast<unsigned long>(::getpid()); }

}  // namespace tandrel::sim
