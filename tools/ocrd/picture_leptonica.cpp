#include "tools/ocrd/picture.h"

#include <leptonica/allheaders.h>

#include <memory>

namespace lumenta::ocrd {
namespace {

struct PixRelease {
  void operator()(Pix* pix) const { pixDestroy(&pix); }
};
using PixPtr = std::unique_ptr<Pix, PixRelease>;

}  // namespace

PictureError ReadPicture(std::string_view bytes, RgbImage& picture) {
  picture = RgbImage();
  const auto* data = reinterpret_cast<const l_uint8*>(bytes.data());
  l_int32 format = 0, width = 0, height = 0, bitsPerSample = 0, samples = 0, colormap = 0;
  if (bytes.size() < 8 || pixReadHeaderMem(data, bytes.size(), &format, &width, &height,
                                           &bitsPerSample, &samples, &colormap) != 0) {
    return PictureError::kFormat;
  }
  if (width < kMinSide || height < kMinSide || width > kMaxSide || height > kMaxSide) {
    return PictureError::kSize;
  }
  PixPtr pix(pixReadMem(data, bytes.size()));
  if (!pix) return PictureError::kFormat;
  // The header and the decoded picture can disagree for damaged files: check again.
  if (pixGetWidth(pix.get()) != width || pixGetHeight(pix.get()) != height) {
    return PictureError::kFormat;
  }
  if (pixGetDepth(pix.get()) == 32 && pixGetSpp(pix.get()) == 4) {
    PixPtr flat(pixAlphaBlendUniform(pix.get(), 0xFFFFFF00));
    if (!flat) return PictureError::kFormat;
    pix = std::move(flat);
  }
  // Every depth and colour map as 32-bit RGB words (0xRRGGBBxx).
  PixPtr rgb(pixConvertTo32(pix.get()));
  if (!rgb) return PictureError::kFormat;
  pix.reset();
  picture = RgbImage(width, height);
  const l_uint32* words = pixGetData(rgb.get());
  const l_int32 wordsPerLine = pixGetWpl(rgb.get());
  for (int y = 0; y < height; ++y) {
    const l_uint32* in = words + static_cast<std::size_t>(y) * wordsPerLine;
    std::uint8_t* out = picture.Row(y);
    for (int x = 0; x < width; ++x, out += 3) {
      out[0] = static_cast<std::uint8_t>(in[x] >> 24);
      out[1] = static_cast<std::uint8_t>(in[x] >> 16);
      out[2] = static_cast<std::uint8_t>(in[x] >> 8);
    }
  }
  return PictureError::kNone;
}

}  // namespace lumenta::ocrd
