#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tandrel {

using Digest = std::array<std::uint8_t, 32>;

// Incremental SHA-256: images and flashed items are hashed as they stream, so
// a 32 MiB payload never has to sit in memory at once.
class Sha256 {
public:
    Sha256();
    void Update(const void* data, std::size_t size);
    Digest Finish();

private:
    void Compress(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state;
    std::array<std::uint8_t, 64> pending{};
    std::size_t pendingSize = 0;
    std::uint64_t totalBytes = 0;
};

Digest Sha256Of(const void* data, std::size_t size);
std::string HexOf(const Digest& digest);
// False when text is not 64 hex digits.
bool ParseHexDigest(const std::string& text, Digest& digest);

}  // namespace tandrel
