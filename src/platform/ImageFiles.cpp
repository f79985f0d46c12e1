#include "platform/ImageFiles.h"

#include <algorithm>
#include <atomic>
#include <vector>

namespace tandrel {

std::string FileError::Plain() const {
    switch (kind) {
        case FileErrorKind::NotFound:
            return "not found";
        case FileErrorKind::NotAFile:
        case FileErrorKind::Changed:
            return text;
        case FileErrorKind::Denied:
            return "access denied (" + text + ")";
        case FileErrorKind::Io:
            break;
    }
    return text;
}

bool ReadWhole(const OpenImage& file, FileIdentity& identity, const ImageFiles::ChunkSink& sink, FileError& error) {
    if (!file.Identify(identity, error)) return false;
    // No more than the size the file had when opened: a file that keeps
    // growing is still read to an end, and found changed below.
    std::vector<std::uint8_t> buffer(kImageReadChunk);
    std::uint64_t total = 0;
    while (total < identity.size) {
        const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), identity.size - total));
        const long long n = file.ReadSome(buffer.data(), want, error);
        if (n < 0) return false;
        if (n == 0) break;
        total += static_cast<std::uint64_t>(n);
        if (!sink(buffer.data(), static_cast<std::size_t>(n))) {
            error = {FileErrorKind::Io, "reading was stopped", error.path};
            return false;
        }
    }
    // Bytes written meanwhile may or may not be among those read: such a
    // reading proves nothing.
    FileIdentity after;
    if (!file.Identify(after, error)) return false;
    if (after != identity || total != identity.size) {
        error = {FileErrorKind::Changed, "changed while it was being read", error.path};
        return false;
    }
    return true;
}

bool CopyChunks(const OpenImage& source, const ImageFiles::ChunkSink& write, const ImageFiles::GoOn& goOn,
                FileError& error, const std::string& copy) {
    std::vector<std::uint8_t> buffer(kImageReadChunk);
    for (;;) {
        if (!goOn()) {
            error = {FileErrorKind::Io, "copying was stopped", copy};
            return false;
        }
        const long long n = source.ReadSome(buffer.data(), buffer.size(), error);
        if (n < 0) return false;
        if (n == 0) return true;
        if (!write(buffer.data(), static_cast<std::size_t>(n))) return false;
    }
}

std::string NewCopyName(const std::string& folder, long long processId) {
    static std::atomic<unsigned long long> made{0};
    return folder + "/incoming-" + std::to_string(processId) + "-" + std::to_string(++made);
}

}  // namespace tandrel
