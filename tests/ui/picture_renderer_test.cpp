// The picture boxes' renderer: decodes once per picture and size, draws centred.
#include <gtest/gtest.h>
#include <png.h>

#include "tests/support/picture_fixtures.h"
#include "ui/picture_renderer_win.h"

namespace lumenta::ui {
namespace {

using image::MakePreview;
namespace testing = image::testing;

// A white memory canvas of the given size.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                               nullptr, 0);
    dc_ = CreateCompatibleDC(nullptr);
    previous_ = SelectObject(dc_, bitmap_);
    std::fill(bits_, bits_ + width * height, 0x00FFFFFFu);
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  std::uint32_t At(int x, int y) const {
    GdiFlush();
    return bits_[y * width_ + x] & 0xFFFFFF;
  }

 private:
  int width_;
  HBITMAP bitmap_ = nullptr;
  HDC dc_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

testing::Bytes GreenPng(int width, int height) {
  testing::PngSpec spec{
      .width = width, .height = height, .colorType = PNG_COLOR_TYPE_RGB, .bitDepth = 8};
  testing::Bytes row;
  for (int x = 0; x < width; ++x) row += testing::Bytes("\x00\xC0\x00", 3);
  spec.rows.assign(height, row);
  return testing::WritePng(spec);
}

class PictureRendererTest : public ::testing::Test {
 protected:
  int fits_ = 0;
  PreviewRenderer renderer_{[this](std::string_view bytes, int width, int height) {
    ++fits_;
    return MakePreview(bytes, width, height);
  }};
};

TEST_F(PictureRendererTest, DecodesAtTheFirstDrawAndOnlyAgainForAnotherSize) {
  auto picture = renderer_.Decode(GreenPng(10, 10));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(fits_, 0);
  Canvas canvas(40, 30);
  const RECT box{0, 0, 40, 30};
  picture->Draw(canvas.dc(), box);
  picture->Draw(canvas.dc(), box);
  EXPECT_EQ(fits_, 1);
  EXPECT_EQ(canvas.At(15, 10), 0x00C000u);  // the picture: 10 x 10 from (15, 10)
  EXPECT_EQ(canvas.At(24, 19), 0x00C000u);
  EXPECT_EQ(canvas.At(14, 10), 0xFFFFFFu);
  EXPECT_EQ(canvas.At(25, 19), 0xFFFFFFu);
  picture->Draw(canvas.dc(), RECT{0, 0, 8, 8});  // smaller than the picture: fitted again
  EXPECT_EQ(fits_, 2);
  EXPECT_EQ(canvas.At(0, 0), 0x00C000u);
  EXPECT_EQ(canvas.At(7, 7), 0x00C000u);
}

TEST_F(PictureRendererTest, BytesWithoutAPictureSignatureGiveNoPicture) {
  EXPECT_EQ(renderer_.Decode("plain text, not a picture"), nullptr);
  EXPECT_EQ(renderer_.Decode(GreenPng(4, 4).substr(0, 7)), nullptr);
  EXPECT_EQ(fits_, 0);
}

TEST_F(PictureRendererTest, ACorruptPictureDrawsNothingAndIsNotTriedAtEveryPaint) {
  auto picture = renderer_.Decode(testing::Bytes("\x89PNG\r\n\x1A\n damaged", 16));
  ASSERT_NE(picture, nullptr);
  Canvas canvas(20, 20);
  picture->Draw(canvas.dc(), RECT{0, 0, 20, 20});
  picture->Draw(canvas.dc(), RECT{0, 0, 20, 20});
  EXPECT_EQ(fits_, 1);
  EXPECT_EQ(canvas.At(10, 10), 0xFFFFFFu);
}

}  // namespace
}  // namespace lumenta::ui
