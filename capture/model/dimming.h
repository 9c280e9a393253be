#pragma once
// The dimming of the frozen screen: every pixel of the snapshot under black at alpha 100, as
// GDI+ fills a rectangle with that colour over a 32-bit surface (source over, each channel
// rounded: c * 155 / 255 to the nearest, the fourth byte 100 + a * 155 / 255 to the nearest).
// One pass from the snapshot's pixels into the dimmed copy's, in place of a copy and a fill.
#include <cstddef>
#include <cstdint>

namespace lumenta::capture {

inline constexpr unsigned kDimmingAlpha = 100;

// One channel darkened (the fourth byte: `alpha`).
[[nodiscard]] constexpr std::uint8_t DimChannel(unsigned c) {
  return static_cast<std::uint8_t>((c * (255 - kDimmingAlpha) + 127) / 255);
}
[[nodiscard]] constexpr std::uint8_t DimAlpha(unsigned a) {
  return static_cast<std::uint8_t>(kDimmingAlpha + DimChannel(a));
}

// Writes `count` 32-bit pixels (B, G, R and a fourth byte in memory) of `from`, dimmed, to `to`;
// the two may be the same.
void DimPixels(const std::uint32_t* from, std::uint32_t* to, std::size_t count);

}  // namespace lumenta::capture
