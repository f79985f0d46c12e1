#include "ImageParser.h"

#include <algorithm>
#include <cstring>

#include "LittleEndian.h"

namespace tandrel::sim {

bool MemorySource::Read(std::uint64_t offset, void* out, std::size_t count) const {
    if (offset > size || count > size - offset) return false;
    std::memcpy(out, bytes + offset, count);
    return true;
}

namespace {

// The name field must hold a terminated, storable name; anything else is a
// damaged or hostile file.
bool ReadName(const std::uint8_t* field, std::string& name, std::string& error) {
    const void* end = std::memchr(field, '\0', kNameField);
    if (end == nullptr) {
        error = "an item name is not terminated";
        return false;
    }
    name.assign(reinterpret_cast<const char*>(field), static_cast<const std::uint8_t*>(end) - field);
    return ValidItemName(name, error);
}

bool FitsIn(std::uint64_t offset, std::uint64_t length, std::uint64_t size) {
    return offset <= size && length <= size - offset;
}

std::optional<ImageToc> ParsePlain(const ByteSource& source, std::string& error) {
    std::uint8_t header[kPlainHeaderSize];
    if (!source.Read(0, header, sizeof header)) {
        error = "the image header is truncated";
        return std::nullopt;
    }
    if (GetLe16(header + 8) != kFormatVersion || GetLe16(header + 10) != kPlainHeaderSize) {
        error = "the image has an unknown format version";
        return std::nullopt;
    }
    ImageItem item;
    if (!ReadName(header + 24, item.name, error)) return std::nullopt;
    item.memoryClass = static_cast<std::int32_t>(GetLe32(header + 12));
    item.offset = kPlainHeaderSize;
    item.length = GetLe64(header + 16);
    std::memcpy(item.checksum.data(), header + 88, item.checksum.size());
    if (source.Size() - kPlainHeaderSize != item.length) {
        error = item.length > source.Size() - kPlainHeaderSize ? "the image payload is truncated"
                                                                 : "the image has bytes after its payload";
        return std::nullopt;
    }
    return ImageToc{ImageKind::Plain, {std::move(item)}};
}

bool ReadEntry(const ByteSource& source, std::uint32_t index, std::uint64_t tableEnd, ImageItem& item,
               std::string& error) {
    std::uint8_t entry[kEntrySize];
    if (!source.Read(kContainerHeaderSize + std::uint64_t{index} * kEntrySize, entry, sizeof entry)) {
        error = "the table of contents is truncated";
        return false;
    }
    if (!ReadName(entry, item.name, error)) return false;
    item.memoryClass = static_cast<std::int32_t>(GetLe32(entry + 64));
    item.offset = GetLe64(entry + 72);
    item.length = GetLe64(entry + 80);
    std::memcpy(item.checksum.data(), entry + 88, item.checksum.size());
    if (item.offset < tableEnd || !FitsIn(item.offset, item.length, source.Size())) {
        error = "item " + std::to_string(index) + " lies outside the file's payload area";
        return false;
    }
    return true;
}

bool AnyOverlap(std::vector<ImageItem> items) {
    std::sort(items.begin(), items.end(), [](const ImageItem& a, const ImageItem& b) { return a.offset < b.offset; });
    std::uint64_t end = 0;
    for (const ImageItem& item : items) {
        if (item.length == 0) continue;
        if (item.offset < end) return true;
        end = item.offset + item.length;
    }
    return false;
}

std::optional<ImageToc> ParseContainer(const ByteSource& source, std::string& error) {
    std::uint8_t header[kContainerHeaderSize];
    if (!source.Read(0, header, sizeof header)) {
        error = "the container header is truncated";
        return std::nullopt;
    }
    if (GetLe16(header + 8) != kFormatVersion || GetLe16(header + 10) != kEntrySize) {
        error = "the container has an unknown format version";
        return std::nullopt;
    }
    std::uint32_t count = GetLe32(header + 12);
    if (count == 0 || count > kMaxItems) {
        error = "the container claims " + std::to_string(count) + " items (1.." + std::to_string(kMaxItems) + ")";
        return std::nullopt;
    }
    std::uint64_t tableEnd = ContainerTableEnd(count);
    if (tableEnd > source.Size()) {
        error = "the table of contents is truncated";
        return std::nullopt;
    }
    ImageToc toc{ImageKind::Container, std::vector<ImageItem>(count)};
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!ReadEntry(source, i, tableEnd, toc.items[i], error)) return std::nullopt;
    }
    if (AnyOverlap(toc.items)) {
        error = "two items of the container overlap";
        return std::nullopt;
    }
    return toc;
}

}  // namespace

std::optional<ImageToc> ParseImage(const ByteSource& source, std::string& error) {
    char magic[8];
    if (!source.Read(0, magic, sizeof magic)) {
        error = "the file is too short to be an image";
        return std::nullopt;
    }
    if (std::memcmp(magic, kPlainMagic, sizeof magic) == 0) return ParsePlain(source, error);
    if (std::memcmp(magic, kContainerMagic, sizeof magic) == 0) return ParseContainer(source, error);
    error = "the file is not an image (unknown magic)";
    return std::nullopt;
}

}  // namespace tandrel::sim
