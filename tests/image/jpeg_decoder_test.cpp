// JPEG pictures through libjpeg-turbo: colour spaces, progressive files, DCT scaling, damage.
#include "image/jpeg_decoder.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/picture_fixtures.h"

namespace lumenta::image {
namespace {

using testing::Bytes;
using testing::JpegSpec;
using testing::WriteBlockJpeg;
using testing::WriteJpeg;

// True when every channel of `argb` is within `tolerance` of `expected`.
::testing::AssertionResult Near(std::uint32_t argb, std::uint32_t expected, int tolerance = 3) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = (argb >> shift) & 0xFF, b = (expected >> shift) & 0xFF;
    if (std::abs(a - b) > tolerance) {
      char text[64];
      std::snprintf(text, sizeof text, "%08X is not near %08X", argb, expected);
      return ::testing::AssertionFailure() << text;
    }
  }
  return ::testing::AssertionSuccess();
}

// A 16 x 16 JPEG of one colour given as samples of `components` bytes.
JpegSpec Flat(int components, int colourSpace, Bytes sample) {
  JpegSpec spec{.width = 16, .height = 16, .components = components, .colourSpace = colourSpace};
  for (int i = 0; i < 16 * 16; ++i) spec.samples += sample;
  return spec;
}

struct ColourCase {
  const char* name;
  JpegSpec spec;
  std::uint32_t expected;
};

std::vector<ColourCase> ColourCases() {
  std::vector<ColourCase> cases;
  cases.push_back({"RGB baseline", Flat(3, JCS_RGB, "\xC8\x64\x32"), 0xFFC86432});
  JpegSpec progressive = Flat(3, JCS_RGB, "\x20\x40\xE0");
  progressive.progressive = true;
  cases.push_back({"RGB progressive", progressive, 0xFF2040E0});
  cases.push_back({"grey", Flat(1, JCS_GRAYSCALE, "\x80"), 0xFF808080});
  // Adobe files store CMYK inverted: 0 is full ink. Full cyan and nothing else is cyan.
  JpegSpec adobe = Flat(4, JCS_CMYK, Bytes("\x00\xFF\xFF\xFF", 4));
  cases.push_back({"CMYK with the Adobe marker (inverted samples)", adobe, 0xFF00FFFF});
  JpegSpec adobeHalf = Flat(4, JCS_CMYK, Bytes("\xFF\x80\xFF\x80", 4));
  cases.push_back({"inverted half magenta, half black", adobeHalf, 0xFF804080});
  JpegSpec plain = Flat(4, JCS_CMYK, Bytes("\xFF\x00\x00\x00", 4));
  plain.adobeMarker = false;
  cases.push_back({"CMYK without the Adobe marker (plain samples)", plain, 0xFF00FFFF});
  JpegSpec ycck = Flat(4, JCS_CMYK, Bytes("\xFF\xFF\x00\xFF", 4));
  ycck.storedSpace = JCS_YCCK;
  cases.push_back({"YCCK", ycck, 0xFFFFFF00});
  return cases;
}

TEST(JpegDecoder, GivesTheColourOfEveryColourSpace) {
  for (const auto& c : ColourCases()) {
    const Bytes file = WriteJpeg(c.spec);
    testing::SaveFuzzSeed("fuzz_jpeg_decode", c.name, file);
    const Image image = DecodeJpeg(file);
    ASSERT_EQ(image.width(), 16) << c.name;
    ASSERT_EQ(image.height(), 16) << c.name;
    EXPECT_TRUE(Near(image.Pixel(0, 0), c.expected)) << c.name;
    EXPECT_TRUE(Near(image.Pixel(15, 15), c.expected)) << c.name;
  }
}

TEST(JpegDecoder, KeepsBlocksInTheirPlaces) {
  // 32 x 16: a red block on the left, a blue block on the right.
  const Bytes file = WriteBlockJpeg(32, 16, 16, {0xFF0000, 0x0000FF});
  const Image image = DecodeJpeg(file);
  ASSERT_EQ(image.width(), 32);
  EXPECT_TRUE(Near(image.Pixel(3, 8), 0xFFFF0000));
  EXPECT_TRUE(Near(image.Pixel(28, 8), 0xFF0000FF));
}

// Rows of a DCT-scaled decode, collected.
class CollectingSink final : public JpegRowSink {
 public:
  explicit CollectingSink(int eighths) : eighths_(eighths) {}
  int ChooseScale(int width, int height) noexcept override {
    storedWidth = width;
    storedHeight = height;
    return eighths_;
  }
  bool Begin(int width, int height) noexcept override {
    image = Image::Create(width, height);
    return !image.empty();
  }
  void Row(int y, const std::uint8_t* bgra) noexcept override {
    std::copy(bgra, bgra + image.stride(), image.Row(y));
  }
  int storedWidth = 0, storedHeight = 0;
  Image image;

 private:
  int eighths_;
};

TEST(JpegDecoder, DctScalingDeliversTheReducedSize) {
  // 64 x 48 of 16-pixel blocks in four colours.
  const std::vector<std::uint32_t> colours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  for (bool progressive : {false, true}) {
    const Bytes file = WriteBlockJpeg(64, 48, 16, colours, progressive);
    testing::SaveFuzzSeed("fuzz_jpeg_decode", progressive ? "blocks-progressive" : "blocks", file);
    for (int eighths : {1, 2, 3, 8}) {
      CollectingSink sink(eighths);
      const int rows = DecodeJpegRows(file, sink);
      const int width = (64 * eighths + 7) / 8, height = (48 * eighths + 7) / 8;
      EXPECT_EQ(sink.storedWidth, 64);
      EXPECT_EQ(sink.storedHeight, 48);
      ASSERT_EQ(rows, height) << eighths;
      ASSERT_EQ(sink.image.width(), width) << eighths;
      // The centre of block (1, 1) (green: 4 blocks a row, so index 5 is green).
      EXPECT_TRUE(Near(sink.image.Pixel(width * 3 / 8, height / 2), 0xFF00FF00, 12)) << eighths;
    }
  }
}

TEST(JpegDecoder, TheScaleIsTheSmallestNotBelowTheWantedSize) {
  struct Case {
    int width, height, minWidth, minHeight, eighths;
  } cases[] = {
      {6000, 4000, 231, 154, 1},  // 750 x 500
      {1080, 1080, 240, 240, 2},  // 270 x 270: one eighth (135) is too small
      {1000, 10, 125, 2, 1},      // exactly one eighth
      {1000, 10, 126, 2, 2},     {1000, 1000, 876, 1, 8},  // seven eighths (875) is too small
      {1000, 1000, 875, 875, 7}, {100, 100, 100, 100, 8},
      {9, 9, 2, 2, 1},  // one eighth of 9 rounds up to 2
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JpegScaleAtLeast(c.width, c.height, c.minWidth, c.minHeight), c.eighths)
        << c.width << "x" << c.height << " to at least " << c.minWidth << "x" << c.minHeight;
  }
}

// Rewrites the frame size in the start-of-frame segment.
Bytes WithFrameSize(Bytes file, int width, int height) {
  for (std::size_t i = 2; i + 9 < file.size(); ++i) {
    if (file[i] == '\xFF' && (file[i + 1] == '\xC0' || file[i + 1] == '\xC2')) {
      file[i + 5] = static_cast<char>(height >> 8);
      file[i + 6] = static_cast<char>(height);
      file[i + 7] = static_cast<char>(width >> 8);
      file[i + 8] = static_cast<char>(width);
      return file;
    }
  }
  ADD_FAILURE() << "no frame header";
  return file;
}

TEST(JpegDecoder, PicturesBeyondTheSizeLimitsGiveNoPicture) {
  const Bytes small = WriteJpeg(Flat(1, JCS_GRAYSCALE, "\x10"));
  // The data is for 16 x 16; libjpeg would make up the rest, so only the limit says no.
  EXPECT_EQ(DecodeJpeg(WithFrameSize(small, 16384, 16)).width(), 16384);
  EXPECT_TRUE(DecodeJpeg(WithFrameSize(small, 16385, 16)).empty());
  EXPECT_TRUE(DecodeJpeg(WithFrameSize(small, 16, 16385)).empty());
  EXPECT_TRUE(DecodeJpeg(WithFrameSize(small, 8001, 8000)).empty());
  EXPECT_TRUE(DecodeJpeg(WithFrameSize(small, 0, 16)).empty());
}

TEST(JpegDecoder, DataThatEndsEarlyIsFinishedByTheLibrary) {
  // Noise in the top half, so the cut falls inside the picture's data.
  JpegSpec spec{.width = 64, .height = 64, .components = 1, .colourSpace = JCS_GRAYSCALE};
  for (int i = 0; i < 64 * 64; ++i) {
    spec.samples += static_cast<char>(i < 32 * 64 ? (i * 7919) % 251 : 0x40);
  }
  const Bytes file = WriteJpeg(spec);
  const Image whole = DecodeJpeg(file);
  const Image cut = DecodeJpeg(file.substr(0, file.size() / 2));
  ASSERT_EQ(cut.width(), 64);
  ASSERT_EQ(cut.height(), 64);
  EXPECT_EQ(cut.Pixel(5, 0), whole.Pixel(5, 0));
}

TEST(JpegDecoder, CorruptOrForeignDataGivesNoPicture) {
  const Bytes good = WriteJpeg(Flat(3, JCS_RGB, "\x01\x02\x03"));
  const Bytes cases[] = {
      "",
      "\xFF",
      "\xFF\xD8",
      good.substr(0, 20),  // inside the headers
      "\xFF\xD8\xFF\xC0 garbage where a frame header belongs",
      "BM not a JPEG at all",
  };
  for (const auto& bytes : cases) {
    EXPECT_TRUE(DecodeJpeg(bytes).empty()) << bytes.size() << " bytes";
  }
}

}  // namespace
}  // namespace lumenta::image
