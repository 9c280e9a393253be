// Decoding an uploaded picture with the program's own decoders (PNG, JPEG, GIF, BMP, ICO, CUR,
// PCX): the Windows build of the service, which has no Leptonica.
#include "image/picture_decoder.h"
#include "tools/ocrd/picture.h"

namespace lumenta::ocrd {

PictureError ReadPicture(std::string_view bytes, RgbImage& picture) {
  picture = RgbImage();
  // The decoders refuse sizes beyond their own limits before they allocate; the service's
  // tighter limits are checked on what they return.
  const image::Image decoded = image::DecodePicture(bytes);
  if (decoded.empty()) return PictureError::kFormat;
  const int width = decoded.width();
  const int height = decoded.height();
  if (width < kMinSide || height < kMinSide || width > kMaxSide || height > kMaxSide) {
    return PictureError::kSize;
  }
  picture = RgbImage(width, height);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = decoded.Row(y);  // blue, green, red, straight alpha
    std::uint8_t* out = picture.Row(y);
    for (int x = 0; x < width; ++x, in += 4, out += 3) {
      // Transparent parts are laid on white, as a viewer shows them.
      const unsigned alpha = in[3];
      const unsigned white = 255 * (255 - alpha);
      out[0] = static_cast<std::uint8_t>((in[2] * alpha + white + 127) / 255);
      out[1] = static_cast<std::uint8_t>((in[1] * alpha + white + 127) / 255);
      out[2] = static_cast<std::uint8_t>((in[0] * alpha + white + 127) / 255);
    }
  }
  return PictureError::kNone;
}

}  // namespace lumenta::ocrd
