#pragma once
// Decoding an uploaded picture for recognition: with Leptonica on Linux (PNG, JPEG, BMP, GIF,
// TIFF, WebP, PNM), with the program's own decoders on Windows (PNG, JPEG, GIF, BMP, ICO, CUR,
// PCX).
#include <string_view>

#include "tools/ocrd/rgb_image.h"

namespace lumenta::ocrd {

enum class PictureError {
  kNone,
  kFormat,  // not a picture the decoder reads, or damaged
  kSize,    // a side shorter than kMinSide or longer than kMaxSide pixels
};

inline constexpr int kMinSide = 15;
inline constexpr int kMaxSide = 8192;

// Decodes `bytes` into RGB. A picture that claims huge dimensions is turned away before its
// pixels take memory (Leptonica's header, the own decoders' allocation limits). Transparent parts
// are laid on white, as a viewer shows them, instead of reading as black.
[[nodiscard]] PictureError ReadPicture(std::string_view bytes, RgbImage& picture);

}  // namespace lumenta::ocrd
