#pragma once
// The colours the capture toolbar, its options panel and the text-size list are drawn with, as
// GDI colour values (0x00BBGGRR). The toolbar picture's background is the panel colour, which is
// also what the erase pen draws, so that an erased outline leaves no trace.
#include <cstdint>

#include "capture/model/palette.h"

namespace lumenta::capture {

inline constexpr std::uint32_t kOutlineColour = ColourRef(80, 80, 80);
inline constexpr std::uint32_t kPanelBorderColour = ColourRef(78, 153, 210);
inline constexpr std::uint32_t kPanelColour = ColourRef(222, 238, 255);
inline constexpr std::uint32_t kEraseColour = kPanelColour;
inline constexpr std::uint32_t kDotColour = ColourRef(18, 65, 133);
inline constexpr std::uint32_t kSwatchPenColour = ColourRef(51, 91, 145);
inline constexpr std::uint32_t kTriangleColour = ColourRef(94, 140, 169);
inline constexpr std::uint32_t kBoxGradientTop = ColourRef(152, 187, 212);      // at y 8
inline constexpr std::uint32_t kBoxGradientBottom = ColourRef(199, 221, 238);   // at y 27
inline constexpr std::uint32_t kHoverSquareTop = ColourRef(167, 223, 254);      // at y 0
inline constexpr std::uint32_t kHoverSquareBottom = ColourRef(121, 195, 237);   // at y 15
inline constexpr std::uint32_t kSelectionFrameColour = ColourRef(0, 175, 255);  // the capture frame

inline constexpr std::uint32_t kListTrackColour = ColourRef(236, 241, 245);
inline constexpr std::uint32_t kListThumbLeft = ColourRef(215, 226, 238);   // at x 0
inline constexpr std::uint32_t kListThumbRight = ColourRef(202, 215, 231);  // at x 49
inline constexpr std::uint32_t kListSelectedTop = ColourRef(63, 152, 214);
inline constexpr std::uint32_t kListSelectedBottom = ColourRef(49, 139, 199);

}  // namespace lumenta::capture
