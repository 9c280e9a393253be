#pragma once
// BMP files: the 14-byte file header ("BM", size, two reserved words, offset of the pixel rows)
// followed by a device-independent bitmap (see dib_decoder.h for the variants read).
#include <string_view>

#include "image/image.h"

namespace lumenta::image {

// Straight-alpha BGRA; empty when the file is not a BMP or its bitmap cannot be read. Rows
// missing at the end of the file stay transparent.
[[nodiscard]] Image DecodeBmp(std::string_view bytes);

}  // namespace lumenta::image
