#pragma once
// PCX pictures (ZSoft), run-length encoded:
//   - 8 bits per pixel, one plane: indices into the 256-colour table at the end of the file
//     (the byte 12 and 768 bytes of red, green, blue); without that table, grey levels;
//   - 8 bits per pixel, three or four planes: red, green, blue (and alpha) rows;
//   - 1 bit per pixel, one plane: black and white; two to four planes: up to 16 colours from the
//     header's colour table, or the standard EGA colours when the header's table is empty.
#include <string_view>

#include "image/image.h"

namespace lumenta::image {

// Straight-alpha BGRA; empty when the header is not one of the kinds above, the size is not
// allowed, or no row decodes. Rows missing at the end of the data stay transparent.
[[nodiscard]] Image DecodePcx(std::string_view bytes);

}  // namespace lumenta::image
