#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "ImageFormat.h"

namespace tandrel::sim {

// Random access to the bytes of an image, so the parser reads only the
// header and table of a large file and works on memory when fuzzed.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // False unless all size bytes at offset were read.
    virtual bool Read(std::uint64_t offset, void* out, std::size_t size) const = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const void* data, std::size_t size) : bytes(static_cast<const std::uint8_t*>(data)), size(size) {}
    std::uint64_t Size() const override { return size; }
    bool Read(std::uint64_t offset, void* out, std::size_t count) const override;

private:
    const std::uint8_t* bytes;
    std::size_t size;
};

// The table of contents of a plain image or a container. Every offset and
// length is checked against the source's size; items never overlap. Payload
// checksums are not verified here (that needs every byte), only carried.
std::optional<ImageToc> ParseImage(const ByteSource& source, std::string& error);

}  // namespace tandrel::sim
