#include "ImageFormat.h"

#include <algorithm>
#include <cstring>

#include "LittleEndian.h"

namespace tandrel::sim {

bool ValidItemName(const std::string& name, std::string& error) {
    if (name.empty()) {
        error = "the item name is empty";
        return false;
    }
    if (name.size() >= kNameField) {
        error = "the item name is longer than " + std::to_string(kNameField - 1) + " bytes";
        return false;
    }
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7f) {
            error = "the item name holds a control character";
            return false;
        }
    }
    return true;
}

namespace {

void PutName(std::uint8_t* field, const std::string& name) {
    std::memcpy(field, name.data(), std::min(name.size(), kNameField - 1));
}

}  // namespace

std::vector<std::uint8_t> EncodePlainHeader(const ImageItem& item) {
    std::vector<std::uint8_t> header(kPlainHeaderSize, 0);
    std::memcpy(header.data(), kPlainMagic, sizeof kPlainMagic);
    PutLe16(&header[8], kFormatVersion);
    PutLe16(&header[10], kPlainHeaderSize);
    PutLe32(&header[12], static_cast<std::uint32_t>(item.memoryClass));
    PutLe64(&header[16], item.length);
    PutName(&header[24], item.name);
    std::memcpy(&header[88], item.checksum.data(), item.checksum.size());
    return header;
}

std::vector<std::uint8_t> EncodeContainerHeader(const std::vector<ImageItem>& items) {
    std::vector<std::uint8_t> header(ContainerTableEnd(items.size()), 0);
    std::memcpy(header.data(), kContainerMagic, sizeof kContainerMagic);
    PutLe16(&header[8], kFormatVersion);
    PutLe16(&header[10], kEntrySize);
    PutLe32(&header[12], static_cast<std::uint32_t>(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i) {
        std::uint8_t* entry = &header[kContainerHeaderSize + i * kEntrySize];
        PutName(entry, items[i].name);
        PutLe32(entry + 64, static_cast<std::uint32_t>(items[i].memoryClass));
        PutLe64(entry + 72, items[i].offset);
        PutLe64(entry + 80, items[i].length);
        std::memcpy(entry + 88, items[i].checksum.data(), items[i].checksum.size());
    }
    return header;
}

}  // namespace tandrel::sim
