#pragma once
// Decoding an uploaded picture for recognition (Leptonica: PNG, JPEG, BMP, GIF, TIFF, WebP, PNM).
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

// Decodes `bytes` into RGB. The size is checked from the header before any pixel is decoded, so
// a picture that claims huge dimensions costs nothing. Transparent parts are laid on white, as a
// viewer shows them, instead of reading as black.
[[nodiscard]] PictureError ReadPicture(std::string_view bytes, RgbImage& picture);

}  // namespace lumenta::ocrd
