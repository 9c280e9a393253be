#pragma once
// Pictures of text that Windows tests and benchmarks draw themselves with GDI: black lines on
// white in the WenQuanYi Micro Hei face (Chinese and Latin), stored as a 24-bit BMP file.
#include <string>
#include <vector>

#include "base/text.h"

namespace lumenta::testing {

struct TextPictureLayout {
  int width = 0;         // 0: as wide as the longest line needs
  int height = 0;        // 0: as high as the lines need
  int pixelHeight = 40;  // character height
};

// The BMP file bytes of `lines` (UTF-16) drawn from the top left with a margin.
[[nodiscard]] ByteBuffer RenderTextBmp(const std::vector<std::u16string>& lines,
                                       TextPictureLayout layout = {});

}  // namespace lumenta::testing
