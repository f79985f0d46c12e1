#pragma once

#include "platform/win32/WindowsApi.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tandrel {

// What the screen shows of a window, as 8-bit RGB rows top to bottom.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

Picture CaptureWindow(HWND window);

// Writes picture as a PNG file; false with the reason in error.
bool SavePicture(const Picture& picture, const std::string& file, std::string& error);

}  // namespace tandrel
