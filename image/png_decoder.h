#pragma once
// PNG pictures through libpng: every colour type and bit depth (palette, grey, grey with alpha,
// RGB, RGBA; 1 to 16 bits), a tRNS transparent colour or palette alpha, and Adam7 interlacing.
// Sixteen-bit samples are scaled to eight bits; no gamma or colour-profile correction is applied.
#include <string_view>

#include "image/image.h"

namespace lumenta::image {

// Straight-alpha BGRA. Empty for a file that is not a PNG, too large, or corrupt before its first
// row; a file that breaks off (or turns corrupt) later gives the rows that decoded completely,
// the rest transparent.
[[nodiscard]] Image DecodePng(std::string_view bytes);

}  // namespace lumenta::image
