// The dimming pass: each channel under black at alpha 100, rounded to the nearest, the fourth
// byte as GDI+ leaves it; the same for every pixel of a row whatever its length and place. That it
// is exactly the GDI+ fill it replaced is checked under Wine (composition_test_win.cpp).
#include "capture/model/dimming.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace lumenta::capture {
namespace {

TEST(Dimming, RoundsEachChannelToTheNearest) {
  EXPECT_EQ(DimChannel(0), 0);
  EXPECT_EQ(DimChannel(255), 155);
  EXPECT_EQ(DimChannel(1), 1);     // 0.61
  EXPECT_EQ(DimChannel(100), 61);  // 60.78
  EXPECT_EQ(DimChannel(128), 78);  // 77.80
  EXPECT_EQ(DimAlpha(0), 100);
  EXPECT_EQ(DimAlpha(255), 255);
  for (unsigned c = 0; c < 256; ++c) {
    const double exact = c * 155.0 / 255.0;
    EXPECT_LE(std::abs(double(DimChannel(c)) - exact), 0.5) << c;
  }
}

TEST(Dimming, EveryByteOfEveryPixelWhateverTheRowsLengthAndAlignment) {
  // Every value in every byte position, in rows of 1 to 9 pixels starting anywhere.
  std::vector<std::uint32_t> from;
  for (std::uint32_t v = 0; v < 256; ++v) {
    from.push_back(v | (255 - v) << 8 | ((v * 7) & 0xFF) << 16 | ((v * 13 + 5) & 0xFF) << 24);
  }
  const auto expected = [](std::uint32_t p) {
    return std::uint32_t(DimChannel(p & 0xFF)) | std::uint32_t(DimChannel((p >> 8) & 0xFF)) << 8 |
           std::uint32_t(DimChannel((p >> 16) & 0xFF)) << 16 |
           std::uint32_t(DimAlpha(p >> 24)) << 24;
  };
  std::vector<std::uint32_t> to(from.size(), 0xDEADBEEF);
  DimPixels(from.data(), to.data(), from.size());
  for (size_t i = 0; i < from.size(); ++i) EXPECT_EQ(to[i], expected(from[i])) << i;
  for (size_t start = 0; start < 5; ++start) {
    for (size_t count = 1; count <= 9; ++count) {
      std::vector<std::uint32_t> part(count + 2, 0x12345678);
      DimPixels(from.data() + start, part.data() + 1, count);
      EXPECT_EQ(part.front(), 0x12345678u) << "nothing written before";
      EXPECT_EQ(part.back(), 0x12345678u) << "nothing written after";
      for (size_t i = 0; i < count; ++i) EXPECT_EQ(part[i + 1], expected(from[start + i]));
    }
  }
  std::vector<std::uint32_t> inPlace = from;
  DimPixels(inPlace.data(), inPlace.data(), inPlace.size());
  EXPECT_EQ(inPlace, to);
}

}  // namespace
}  // namespace lumenta::capture
