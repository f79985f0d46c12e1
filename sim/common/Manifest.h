#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Sha256.h"

namespace tandrel::sim {

// One line of a phone's flash manifest: what was written, and into which
// file of the flash folder.
struct FlashEntry {
    std::string name;
    std::int32_t memoryClass = 0;
    std::uint64_t size = 0;
    Digest checksum{};
    std::string file;
};

inline constexpr const char* kManifestName = "manifest";

// Tab-separated: name, class, size, SHA-256 (hex), file.
std::string FormatManifestLine(const FlashEntry& entry);
bool ParseManifest(const std::string& text, std::vector<FlashEntry>& entries, std::string& error);

}  // namespace tandrel::sim
