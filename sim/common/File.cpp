#include "File.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tandrel::sim {

bool HashRange(const File& file, std::uint64_t offset, std::uint64_t length, Digest& digest) {
    std::vector<std::uint8_t> buffer(1 << 20);
    Sha256 sha;
    while (length > 0) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(length, buffer.size()));
        if (!file.ReadAt(offset, buffer.data(), n)) return false;
        sha.Update(buffer.data(), n);
        offset += n;
        length -= n;
    }
    digest = sha.Finish();
    return true;
}

}  // namespace tandrel::sim

namespace tandrel::sim {

std::optional<std::uint64_t> FirstDifference(const File& a, std::uint64_t aOffset, const File& b, std::uint64_t bOffset,
                                             std::uint64_t length) {
    constexpr std::size_t kChunk = 1 << 20;
    std::vector<char> left(kChunk), right(kChunk);
    for (std::uint64_t done = 0; done < length;) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, length - done));
        if (!a.ReadAt(aOffset + done, left.data(), n) || !b.ReadAt(bOffset + done, right.data(), n)) return done;
        if (std::memcmp(left.data(), right.data(), n) != 0) {
            auto mismatch = std::mismatch(left.begin(), left.begin() + static_cast<std::ptrdiff_t>(n), right.begin());
            return done + static_cast<std::uint64_t>(mismatch.first - left.begin());
        }
        done += n;
    }
    return std::nullopt;
}

}  // namespace tandrel::sim
