#include "SimTestSupport.h"

#include <fstream>
#include <iterator>
#include <random>

namespace tandrel::sim::test {

std::vector<std::uint8_t> Payload(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    return bytes;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WritePlainImage(const std::string& path, std::int32_t memoryClass, const std::string& name,
                     const std::vector<std::uint8_t>& payload) {
    ImageItem item{name, memoryClass, kPlainHeaderSize, payload.size(), Sha256Of(payload.data(), payload.size())};
    std::vector<std::uint8_t> bytes = EncodePlainHeader(item);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    WriteBytes(path, bytes);
}

void WriteContainer(const std::string& path, const std::vector<Part>& parts) {
    std::vector<ImageItem> items;
    std::uint64_t offset = ContainerTableEnd(parts.size());
    for (const Part& part : parts) {
        items.push_back({part.name, part.memoryClass, offset, part.payload.size(),
                         Sha256Of(part.payload.data(), part.payload.size())});
        offset += part.payload.size();
    }
    std::vector<std::uint8_t> bytes = EncodeContainerHeader(items);
    for (const Part& part : parts) bytes.insert(bytes.end(), part.payload.begin(), part.payload.end());
    WriteBytes(path, bytes);
}

}  // namespace tandrel::sim::test
