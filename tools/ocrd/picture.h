#pragma once
// Decoding an uploaded picture for recognition (Leptonica: PNG, JPEG, BMP, GIF, TIFF, WebP, PNM).
#include <memory>
#include <string_view>

struct Pix;

namespace lumenta::ocrd {

struct PixDeleter {
  void operator()(Pix* pix) const;
};
using PixPtr = std::unique_ptr<Pix, PixDeleter>;

enum class PictureError {
  kNone,
  kFormat,  // not a picture the decoder reads, or damaged
  kSize,    // a side shorter than kMinSide or longer than kMaxSide pixels
};

inline constexpr int kMinSide = 15;
inline constexpr int kMaxSide = 8192;

// Decodes `bytes`. The size is checked from the header before any pixel is decoded, so a picture
// that claims huge dimensions costs nothing. Transparent parts are laid on white, as a viewer
// shows them, instead of reading as black.
[[nodiscard]] PictureError ReadPicture(std::string_view bytes, PixPtr& picture);

}  // namespace lumenta::ocrd
