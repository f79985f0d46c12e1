#include "platform/ImageFiles.h"

#include <algorithm>
#include <vector>

namespace tandrel {

bool ReadWhole(const OpenImage& file, FileIdentity& identity, const ImageFiles::ChunkSink& sink, std::string& error) {
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
