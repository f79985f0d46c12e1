#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Sha256.h"

namespace tandrel::sim {

// Layout constants of the two image kinds; docs/image-format.md is their
// description for people. All numbers are little-endian.
inline constexpr char kPlainMagic[8] = {'T', 'D', 'R', 'L', 'I', 'M', 'G', '\0'};
inline constexpr char kContainerMagic[8] = {'T', 'D', 'R', 'L', 'P', 'A', 'K', '\0'};
inline constexpr std::uint16_t kFormatVersion = 1;
inline constexpr std::size_t kPlainHeaderSize = 128;
inline constexpr std::size_t kContainerHeaderSize = 16;
inline constexpr std::size_t kEntrySize = 128;
inline constexpr std::size_t kNameField = 64;  // a name is at most 63 bytes
inline constexpr std::uint32_t kMaxItems = 256;

enum class ImageKind { Plain, Container };

struct ImageItem {
    std::string name;
    std::int32_t memoryClass = 0;
    std::uint64_t offset = 0;  // of the payload, from the start of the file
    std::uint64_t length = 0;
    Digest checksum{};
};

struct ImageToc {
    ImageKind kind = ImageKind::Plain;
    std::vector<ImageItem> items;
};

// False, with the reason, when name cannot be stored in an image.
bool ValidItemName(const std::string& name, std::string& error);

std::vector<std::uint8_t> EncodePlainHeader(const ImageItem& item);
// items' offsets must already be laid out after the table.
std::vector<std::uint8_t> EncodeContainerHeader(const std::vector<ImageItem>& items);
inline std::uint64_t ContainerTableEnd(std::uint64_t count) { return kContainerHeaderSize + count * kEntrySize; }

}  // namespace tandrel::sim
