#include "platform/FolderReads.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace tandrel {

static_assert(kWorkingFolder == AT_FDCWD);
static_assert(kPathSize == PATH_MAX);

namespace {

// getdents64 rather than readdir: the listing runs on every scan tick, and
// readdir's stream would be allocated each time.
bool OfferEntries(int folderFd, const EntryFilter& take, SortedNames& names) {
    alignas(dirent64) char buffer[8192];
    for (;;) {
        const ssize_t filled = getdents64(folderFd, buffer, sizeof buffer);
        if (filled < 0) return false;
        if (filled == 0) return true;
        for (ssize_t at = 0; at < filled;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            at += entry->d_reclen;
            const std::string_view name(entry->d_name);
            if (name != "." && name != ".." && take(folderFd, name, entry->d_type)) names.Offer(name);
        }
    }
}

}  // namespace

bool CollectEntries(const char* folder, const EntryFilter& take, SortedNames& names) {
    const int fd = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool listed = OfferEntries(fd, take, names);
    close(fd);
    return listed;
}

bool IsFolderEntry(int folderFd, const char* name, unsigned char type) {
    if (type == DT_DIR) return true;
    if (type != DT_UNKNOWN && type != DT_LNK) return false;
    struct stat info {};
    return fstatat(folderFd, name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

namespace {

// read() until capacity bytes are in or the file ends; -1 on an error. A
// short read ends it: value and attribute files are regular files, read
// whole at once, and the scan reads them every tick.
long ReadUpTo(int fd, char* text, std::size_t capacity) {
    std::size_t total = 0;
    while (total < capacity) {
        const std::size_t wanted = capacity - total;
        const ssize_t got = read(fd, text + total, wanted);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        total += static_cast<std::size_t>(got);
        if (static_cast<std::size_t>(got) < wanted) break;
    }
    return static_cast<long>(total);
}

}  // namespace

long ReadSmallFile(int folderFd, const char* path, char* text, std::size_t capacity) {
    const int fd = openat(folderFd, path, O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return -1;
    long length = ReadUpTo(fd, text, capacity);
    if (length == static_cast<long>(capacity)) {
        char beyond = 0;
        if (ReadUpTo(fd, &beyond, 1) != 0) length = -1;
    }
    close(fd);
    return length;
}

}  // namespace tandrel
