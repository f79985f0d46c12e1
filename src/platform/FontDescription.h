#pragma once

#include <cstdint>

namespace tandrel {

// A logical font as the label keeps it: the fields a font-creation call takes.
// A negative height is a character height in pixels.
struct FontDescription {
    int height = -11;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint8_t charSet = 1;
    std::uint8_t outPrecision = 0;
    std::uint8_t clipPrecision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitchAndFamily = 0;
    char faceName[32] = "Sans";
};

// The desktop's default GUI font, which every status label starts from.
FontDescription DefaultGuiFont();

}  // namespace tandrel
