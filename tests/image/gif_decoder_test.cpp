// GIF pictures: the first image with its transparency, drawn on its canvas; our own LZW decoder.
#include "image/gif_decoder.h"

#include <gtest/gtest.h>

#include <random>

#include "image/gif_lzw.h"
#include "tests/support/picture_fixtures.h"

namespace lumenta::image {
namespace {

using testing::Bytes;
using testing::Describe;
using testing::GifSpec;
using testing::WriteGif;

const std::vector<std::uint32_t> kFour = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

GifSpec ThreeByTwo() {
  GifSpec s;
  s.screenWidth = 3;
  s.screenHeight = 2;
  s.width = 3;
  s.height = 2;
  s.globalPalette = kFour;
  s.indices = {0, 1, 2, 3, 2, 1};
  return s;
}

struct GifCase {
  const char* name;
  GifSpec spec;
  int width, height;
  std::vector<std::uint32_t> expected;
};

std::vector<GifCase> Cases() {
  std::vector<GifCase> cases;
  cases.push_back({"global colour table",
                   ThreeByTwo(),
                   3,
                   2,
                   {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000}});
  GifSpec old = ThreeByTwo();
  old.version = "GIF87a";
  cases.push_back({"GIF87a",
                   old,
                   3,
                   2,
                   {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000}});
  GifSpec transparent = ThreeByTwo();
  transparent.transparent = 2;
  cases.push_back({"transparent index",
                   transparent,
                   3,
                   2,
                   {0xFF000000, 0xFFFF0000, 0x00000000, 0xFF0000FF, 0x00000000, 0xFFFF0000}});
  GifSpec local = ThreeByTwo();
  local.localPalette = {0x111111, 0x222222, 0x333333, 0x444444};
  cases.push_back({"local colour table wins",
                   local,
                   3,
                   2,
                   {0xFF111111, 0xFF222222, 0xFF333333, 0xFF444444, 0xFF333333, 0xFF222222}});
  GifSpec offset = ThreeByTwo();
  offset.screenWidth = 4;
  offset.screenHeight = 3;
  offset.left = 1;
  offset.top = 1;
  cases.push_back({"image placed on a larger screen",
                   offset,
                   4,
                   3,
                   {0, 0, 0, 0,  //
                    0, 0xFF000000, 0xFFFF0000, 0xFF00FF00, 0, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000}});
  GifSpec larger = ThreeByTwo();
  larger.screenWidth = 2;
  larger.screenHeight = 2;
  larger.left = 5;
  cases.push_back({"image larger than its screen sets the canvas",
                   larger,
                   3,
                   2,
                   {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000}});
  GifSpec extensions = ThreeByTwo();
  extensions.blocksBefore = Bytes("\x21\xFE\x05hello\x00", 9) +                         // comment
                            Bytes("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19) +  // looping
                            Bytes("\x21\x01\x0C", 3) + Bytes(12, 'x') +
                            Bytes(1, '\0');  // plain text
  cases.push_back({"extensions before the image are stepped over",
                   extensions,
                   3,
                   2,
                   {0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF00FF00, 0xFFFF0000}});
  GifSpec outside = ThreeByTwo();
  outside.globalPalette = {0x000000, 0xFF0000};  // indices 2 and 3 are past the table
  outside.minCodeSize = 2;
  cases.push_back({"indices past the colour table are black",
                   outside,
                   3,
                   2,
                   {0xFF000000, 0xFFFF0000, 0xFF000000, 0xFF000000, 0xFF000000, 0xFFFF0000}});
  return cases;
}

TEST(GifDecoder, DrawsTheFirstImageOnItsCanvas) {
  for (const auto& c : Cases()) {
    const Bytes file = WriteGif(c.spec);
    testing::SaveFuzzSeed("fuzz_gif_decode", c.name, file);
    EXPECT_EQ(Describe(DecodeGif(file)), Describe(c.width, c.height, c.expected)) << c.name;
  }
}

TEST(GifDecoder, ReadsTheSmallestTransparentGifByteForByte) {
  // The classic 43-byte transparent pixel, written by hand, not by our own LZW coder.
  const Bytes file(
      "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF\x21\xF9\x04\x01\x00\x00\x00\x00"
      "\x2C\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3B",
      43);
  EXPECT_EQ(Describe(DecodeGif(file)), Describe(1, 1, {0x00000000}));
}

// A picture of random indices: long enough for the code width to grow to 12 bits and the
// table to fill and be cleared several times.
GifSpec Random(int width, int height, bool interlaced) {
  GifSpec s;
  s.screenWidth = s.width = width;
  s.screenHeight = s.height = height;
  for (int i = 0; i < 256; ++i) s.globalPalette.push_back(i * 0x010101u);
  std::mt19937 rng(42);
  for (int i = 0; i < width * height; ++i) {
    // Mostly a few values (long strings), sometimes anything (many new codes).
    s.indices.push_back(static_cast<std::uint8_t>(rng() % 8 ? rng() % 4 : rng() % 256));
  }
  s.interlaced = interlaced;
  return s;
}

TEST(GifDecoder, DecodesLongDataWithGrowingCodesAndTableResets) {
  for (bool interlaced : {false, true}) {
    const GifSpec spec = Random(200, 101, interlaced);
    const Bytes file = WriteGif(spec);
    testing::SaveFuzzSeed("fuzz_gif_decode", interlaced ? "random-interlaced" : "random", file);
    const Image image = DecodeGif(file);
    ASSERT_EQ(image.width(), 200);
    ASSERT_EQ(image.height(), 101);
    int wrong = 0;
    for (int y = 0; y < 101; ++y) {
      for (int x = 0; x < 200; ++x) {
        const std::uint32_t v = spec.indices[y * 200 + x];
        wrong += image.Pixel(x, y) != (0xFF000000u | v * 0x010101u);
      }
    }
    EXPECT_EQ(wrong, 0) << (interlaced ? "interlaced" : "plain");
  }
}

TEST(GifDecoder, DataThatEndsEarlyKeepsThePixelsDecodedBeforeTheBreak) {
  const Bytes whole = WriteGif(Random(200, 101, false));
  const Image image = DecodeGif(whole.substr(0, whole.size() / 2));
  ASSERT_EQ(image.width(), 200);
  EXPECT_EQ(image.Pixel(0, 0) >> 24, 0xFFu);
  EXPECT_EQ(image.Pixel(199, 100), 0u);
}

TEST(GifDecoder, FilesWithoutAUsableImageGiveNoPicture) {
  GifSpec noPalette = ThreeByTwo();
  noPalette.globalPalette.clear();
  noPalette.minCodeSize = 2;
  GifSpec badCodeSize = ThreeByTwo();
  badCodeSize.minCodeSize = 12;
  GifSpec empty = ThreeByTwo();
  empty.width = 0;
  empty.indices.clear();
  const Bytes good = WriteGif(ThreeByTwo());
  const Bytes cases[] = {
      WriteGif(noPalette),
      WriteGif(badCodeSize),
      WriteGif(empty),
      good.substr(0, 12),
      good.substr(0, 24),                                   // the colour table breaks off
      good.substr(0, 25),                                   // nothing after the colour table
      good.substr(0, 25 + 8),                               // the image descriptor breaks off
      Bytes("GIF89a\x03\x00\x02\x00\x00\x00\x00\x3B", 14),  // only the trailer
      Bytes("GIF89a\x03\x00\x02\x00\x00\x00\x00\x99", 14),  // an unknown block
      "GIF90a not a GIF",
  };
  for (const auto& bytes : cases) {
    EXPECT_TRUE(DecodeGif(bytes).empty()) << bytes.size() << " bytes";
  }
}

// Collects every index the LZW decoder delivers.
struct Collect final : LzwIndexSink {
  bool Put(const std::uint8_t* indices, std::size_t count) override {
    out.insert(out.end(), indices, indices + count);
    return true;
  }
  std::vector<std::uint8_t> out;
};

TEST(GifLzw, StopsAtTheFirstCodeNotYetInTheTable) {
  // Minimum size 2, 3-bit codes: clear (4), 1, 7 (not defined yet: only 6 could come next).
  // Bits, least significant first: 100 | 001 | 111 -> 0b111'001'100 = 0x1CC.
  Collect sink;
  const std::uint8_t data[] = {0xCC, 0x01};
  EXPECT_EQ(DecodeGifLzw(ByteView(data, 2), 2, sink), 1u);
  EXPECT_EQ(sink.out, std::vector<std::uint8_t>{1});
}

TEST(GifLzw, DecodesTheStringThatIsBeingDefined) {
  // 1 1 1 1 codes as clear, 1, 6 (the pair "1 1" defined by that very code), 1, end.
  Collect sink;
  const Bytes codes = testing::LzwEncode({1, 1, 1, 1}, 2);
  EXPECT_EQ(DecodeGifLzw(ByteView(codes), 2, sink), 4u);
  EXPECT_EQ(sink.out, (std::vector<std::uint8_t>{1, 1, 1, 1}));
}

}  // namespace
}  // namespace lumenta::image
