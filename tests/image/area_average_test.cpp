// Area averaging: exact weights, premultiplied colours, rows streamed in.
#include "image/area_average.h"

#include <gtest/gtest.h>

#include "tests/support/picture_fixtures.h"

namespace lumenta::image {
namespace {

using testing::Describe;

Image Make(int width, int height, const std::vector<std::uint32_t>& argb) {
  Image image = Image::Create(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) image.SetPixel(x, y, argb[y * width + x]);
  }
  return image;
}

TEST(AreaAverage, AveragesWholeBlocksExactly) {
  const Image source = Make(4, 2,
                            {0xFF102030, 0xFF102030, 0xFF000000, 0xFFFFFFFF,  //
                             0xFF102030, 0xFF102030, 0xFFFFFFFF, 0xFF000000});
  EXPECT_EQ(Describe(ScaleAreaAverage(source, 2, 1)), Describe(2, 1, {0xFF102030, 0xFF808080}));
}

TEST(AreaAverage, WeighsPixelsCutByTheEdgeOfTheArea) {
  // Three pixels into two: each output takes one whole pixel and half of the middle one.
  const Image source = Make(3, 1, {0xFF000000, 0xFF5A5A5A, 0xFFB4B4B4});
  EXPECT_EQ(Describe(ScaleAreaAverage(source, 2, 1)), Describe(2, 1, {0xFF1E1E1E, 0xFF969696}));
  // The same along the other axis.
  const Image column = Make(1, 3, {0xFF000000, 0xFF5A5A5A, 0xFFB4B4B4});
  EXPECT_EQ(Describe(ScaleAreaAverage(column, 1, 2)), Describe(1, 2, {0xFF1E1E1E, 0xFF969696}));
}

TEST(AreaAverage, KeepsAUniformColourExactAtAnyRatio) {
  const std::pair<int, int> sizes[][2] = {{{17, 13}, {5, 4}},
                                          {{1000, 3}, {7, 1}},
                                          {{7, 7}, {7, 7}},
                                          {{16384, 1}, {1, 1}},
                                          {{255, 97}, {254, 96}}};
  for (const auto& s : sizes) {
    const auto [sw, sh] = s[0];
    const auto [dw, dh] = s[1];
    const Image source = Make(sw, sh, std::vector<std::uint32_t>(sw * sh, 0xFF7B2D01));
    const Image out = ScaleAreaAverage(source, dw, dh);
    ASSERT_EQ(out.width(), dw);
    ASSERT_EQ(out.height(), dh);
    EXPECT_EQ(Describe(out), Describe(dw, dh, std::vector<std::uint32_t>(dw * dh, 0xFF7B2D01)))
        << sw << "x" << sh << " to " << dw << "x" << dh;
  }
}

TEST(AreaAverage, AveragesAWholeRampToItsMean) {
  // 0..255 repeated 64 times: the mean is 127.5.
  std::vector<std::uint32_t> ramp;
  for (int i = 0; i < 16384; ++i) ramp.push_back(0xFF000000u | (i % 256) * 0x010101u);
  const Image out = ScaleAreaAverage(Make(16384, 1, ramp), 1, 1);
  const std::uint32_t grey = out.Pixel(0, 0) & 0xFF;
  EXPECT_TRUE(grey == 127 || grey == 128) << grey;
}

TEST(AreaAverage, GivesPremultipliedColoursSoTransparentPixelsDoNotBleed) {
  // Opaque red beside fully transparent green: the average is red at half strength, no green.
  const Image source = Make(2, 1, {0xFFFF0000, 0x0000FF00});
  EXPECT_EQ(Describe(ScaleAreaAverage(source, 1, 1)), Describe(1, 1, {0x80800000}));
  // At equal size the picture is only premultiplied.
  const Image half = Make(1, 1, {0x80FF8040});
  EXPECT_EQ(Describe(ScaleAreaAverage(half, 1, 1)), Describe(1, 1, {0x80804020}));
}

TEST(AreaAverage, OutputRowsWhoseSourceRowsNeverCameStayTransparent) {
  AreaAverageScaler scaler;
  ASSERT_TRUE(scaler.Start(2, 4, 1, 2));
  const std::uint8_t white[8] = {255, 255, 255, 255, 255, 255, 255, 255};
  scaler.PushRow(white);
  scaler.PushRow(white);
  EXPECT_EQ(Describe(scaler.Finish()), Describe(1, 2, {0xFFFFFFFF, 0}));
}

TEST(AreaAverage, RefusesAnythingButAReduction) {
  AreaAverageScaler scaler;
  EXPECT_FALSE(scaler.Start(10, 10, 11, 10));
  EXPECT_FALSE(scaler.Start(10, 10, 10, 11));
  EXPECT_FALSE(scaler.Start(10, 10, 0, 5));
  EXPECT_FALSE(scaler.Start(0, 10, 0, 5));
  EXPECT_FALSE(scaler.Start(16385, 1, 1, 1));
  EXPECT_TRUE(ScaleAreaAverage(Image(), 1, 1).empty());
}

}  // namespace
}  // namespace lumenta::image
