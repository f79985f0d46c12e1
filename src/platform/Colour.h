#pragma once

#include <cstdint>

namespace tandrel {

// Colours travel as 32-bit values laid out 0x00BBGGRR: red in the low byte.
using Colour = std::uint32_t;

constexpr Colour Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Colour{r} | (Colour{g} << 8) | (Colour{b} << 16);
}
constexpr std::uint8_t RedOf(Colour c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GreenOf(Colour c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(Colour c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kRowBlue = Rgb(0, 31, 255);
constexpr Colour kGreen = Rgb(0, 255, 0);
constexpr Colour kRed = Rgb(255, 0, 0);
// A port that keeps failing: its row while it waits for a phone.
constexpr Colour kAmber = Rgb(255, 191, 0);
constexpr Colour kBannerBlue = Rgb(0, 0, 255);
// The desktop's window-text and button-face colours, which a fresh label starts with.
constexpr Colour kWindowText = Rgb(0, 0, 0);
constexpr Colour kButtonFace = Rgb(240, 240, 240);

}  // namespace tandrel
