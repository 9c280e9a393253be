// The sponsor window's picture (res/sponsor.jpg, made by res/make-sponsor-picture).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "image/jpeg_decoder.h"
#include "image/picture_kind.h"
#include "image/preview.h"

namespace lumenta::image {
namespace {

std::string SponsorPicture() {
  std::ifstream in(std::string(LUMENTA_SOURCE_DIR) + "/res/sponsor.jpg", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(SponsorPicture, IsABaselineJpegOf1080By1080OfAbout64Kilobytes) {
  const std::string file = SponsorPicture();
  ASSERT_EQ(DetectPictureKind(file), PictureKind::kJpeg);
  EXPECT_GT(file.size(), 56u * 1024);
  EXPECT_LT(file.size(), 72u * 1024);
  // A baseline frame header (FF C0), no progressive one (FF C2).
  EXPECT_NE(file.find("\xFF\xC0"), std::string::npos);
  EXPECT_EQ(file.find("\xFF\xC2"), std::string::npos);
  const Image picture = DecodeJpeg(file);
  EXPECT_EQ(picture.width(), 1080);
  EXPECT_EQ(picture.height(), 1080);
}

TEST(SponsorPicture, ShowsAt240By240InItsPictureBox) {
  const Preview preview = MakePreview(SponsorPicture(), 240, 248);
  EXPECT_EQ(preview.pixels.width(), 240);
  EXPECT_EQ(preview.pixels.height(), 240);
  EXPECT_EQ(preview.x, 0);
  EXPECT_EQ(preview.y, 4);
}

}  // namespace
}  // namespace lumenta::image
