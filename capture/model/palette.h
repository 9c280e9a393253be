#pragma once
// The sixteen colours of the capture tool's palette, as GDI colour values (0x00BBGGRR), in the
// order of their entries: the dark colours in the first row, the light ones in the second.
#include <array>
#include <cstdint>

namespace lumenta::capture {

[[nodiscard]] constexpr std::uint32_t ColourRef(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return std::uint32_t{r} | (std::uint32_t{g} << 8) | (std::uint32_t{b} << 16);
}

inline constexpr int kPaletteSize = 16;
inline constexpr int kPaletteWhite = 8;
inline constexpr int kPaletteRed = 10;  // every tool choice starts with it

inline constexpr std::array<std::uint32_t, kPaletteSize> kPaletteColours = {
    ColourRef(0, 0, 0),       ColourRef(128, 128, 128), ColourRef(128, 0, 0),
    ColourRef(128, 128, 0),   ColourRef(0, 128, 0),     ColourRef(0, 0, 128),
    ColourRef(128, 0, 128),   ColourRef(0, 128, 128),   ColourRef(255, 255, 255),
    ColourRef(192, 192, 192), ColourRef(255, 0, 0),     ColourRef(255, 255, 0),
    ColourRef(0, 255, 0),     ColourRef(0, 0, 255),     ColourRef(255, 0, 255),
    ColourRef(0, 255, 255),
};

}  // namespace lumenta::capture
