// MakePreview on any bytes in any box: the picture stays inside the box, and its premultiplied
// colours never exceed their alpha. The first four bytes are the box width and height (16 bits
// each, little-endian, at most 1023), the rest is the picture file.
#include <string_view>

#include "fuzz/fuzz_input.h"
#include "fuzz/picture_checks.h"
#include "image/preview.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const int boxWidth = (data[0] | data[1] << 8) & 1023;
  const int boxHeight = (data[2] | data[3] << 8) & 1023;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 4), size - 4);
  const lumenta::image::Preview preview = lumenta::image::MakePreview(bytes, boxWidth, boxHeight);
  using lumenta::fuzz::Require;
  if (preview.pixels.empty()) return 0;
  Require(preview.x >= 0 && preview.y >= 0);
  Require(preview.x + preview.pixels.width() <= boxWidth);
  Require(preview.y + preview.pixels.height() <= boxHeight);
  for (int y = 0; y < preview.pixels.height(); ++y) {
    const uint8_t* p = preview.pixels.Row(y);
    for (int x = 0; x < preview.pixels.width(); ++x, p += 4) {
      Require(p[0] <= p[3] && p[1] <= p[3] && p[2] <= p[3]);
    }
  }
  return 0;
}
