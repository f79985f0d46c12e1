#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tandrel {

// Writes an 8-bit RGB image (rows top to bottom, 3 bytes a pixel) as a PNG
// file. The image data is stored, not compressed: screenshots are rare and
// small, and that keeps the writer a page long. False with the reason in
// error when the file cannot be written.
bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb,
              std::string& error);

}  // namespace tandrel
