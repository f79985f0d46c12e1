#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/ImageFormat.h"
#include "support/TempFolder.h"

namespace tandrel::sim::test {

using tandrel::test::TempFolder;

std::vector<std::uint8_t> Payload(std::size_t size, unsigned seed);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::string& path);

// Images are written here straight from the format's encoders, so the tests
// do not lean on the packer they also check.
void WritePlainImage(const std::string& path, std::int32_t memoryClass, const std::string& name,
                     const std::vector<std::uint8_t>& payload);
struct Part {
    std::string name;
    std::int32_t memoryClass;
    std::vector<std::uint8_t> payload;
};
void WriteContainer(const std::string& path, const std::vector<Part>& parts);

}  // namespace tandrel::sim::test
