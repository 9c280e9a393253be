// PCX pictures: 256-colour, true-colour and 1-bit planar files, run-length decoded.
#include "image/pcx_decoder.h"

#include <gtest/gtest.h>

#include "tests/support/picture_fixtures.h"

namespace lumenta::image {
namespace {

using testing::Bytes;
using testing::Describe;
using testing::PcxSpec;
using testing::WritePcx;

Bytes B(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

constexpr std::uint32_t K = 0xFF000000, W = 0xFFFFFFFF, T = 0;

std::vector<std::uint32_t> Palette256() {
  std::vector<std::uint32_t> palette(256);
  for (int i = 0; i < 256; ++i) palette[i] = static_cast<std::uint32_t>(i) << 16 | (255 - i);
  return palette;
}

struct PcxCase {
  const char* name;
  PcxSpec spec;
  std::vector<std::uint32_t> expected;  // rows top first
};

std::vector<PcxCase> Cases() {
  std::vector<PcxCase> cases;
  PcxSpec indexed{.width = 3, .height = 2, .palette = Palette256()};
  indexed.rows = {B({0, 200, 200}), B({255, 255, 255})};  // 200 200 and 255 255 255 are runs
  cases.push_back({"256 colours with the table at the end",
                   indexed,
                   {0xFF0000FF, 0xFFC80037, 0xFFC80037, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000}});
  PcxSpec grey{.version = 3, .width = 2, .height = 1};
  grey.rows = {B({0x10, 0xF0})};
  cases.push_back({"8 bits without a table are grey levels", grey, {0xFF101010, 0xFFF0F0F0}});
  PcxSpec rgb{.planes = 3, .width = 2, .height = 1, .bytesPerLine = 2};
  rgb.rows = {B({0xFF, 0x00, /*green*/ 0x80, 0x00, /*blue*/ 0x00, 0xC0})};
  cases.push_back({"three planes of red, green and blue", rgb, {0xFFFF8000, 0xFF0000C0}});
  PcxSpec rgba{.planes = 4, .width = 2, .height = 1, .bytesPerLine = 2};
  rgba.rows = {B({1, 2, 3, 4, 5, 6, 0x80, 0})};
  cases.push_back({"four planes with alpha", rgba, {0x80010305, 0x00020406}});
  PcxSpec mono{.version = 3, .bits = 1, .width = 10, .height = 1};
  mono.rows = {B({0xA5, 0x40})};
  cases.push_back({"1 bit, one plane: black and white", mono, {W, K, W, K, K, W, K, W, K, W}});
  PcxSpec ega{.version = 3, .bits = 1, .planes = 4, .width = 2, .height = 1, .bytesPerLine = 2};
  // Pixel 0 has bits in planes 0 and 2 (index 5), pixel 1 in all four (index 15).
  ega.rows = {B({0xC0, 0, 0x40, 0, 0xC0, 0, 0x40, 0})};
  cases.push_back({"1 bit, four planes, standard colours", ega, {0xFFAA00AA, 0xFFFFFFFF}});
  PcxSpec own = ega;
  own.headerPalette[15] = 0x11;  // colour 5: 11 22 33
  own.headerPalette[16] = 0x22;
  own.headerPalette[17] = 0x33;
  cases.push_back({"1 bit, four planes, the header's colours", own, {0xFF112233, 0xFF000000}});
  PcxSpec padded{.width = 3, .height = 2, .bytesPerLine = 4, .palette = Palette256()};
  padded.rows = {B({1, 2, 3, 99}), B({4, 5, 6, 99})};
  cases.push_back({"padding bytes at the ends of lines are not pixels",
                   padded,
                   {0xFF0100FE, 0xFF0200FD, 0xFF0300FC, 0xFF0400FB, 0xFF0500FA, 0xFF0600F9}});
  PcxSpec across{.width = 4, .height = 2, .bytesPerLine = 4, .palette = Palette256()};
  across.rawData = B({0xC8, 5});  // one run of eight 5s covers both lines
  cases.push_back(
      {"a run may cross the end of a line", across, std::vector<std::uint32_t>(8, 0xFF0500FA)});
  PcxSpec shortData{.width = 2, .height = 3, .palette = Palette256()};
  shortData.rawData = B({0xC2, 1, 2, 2});  // two lines, then the colour table
  cases.push_back({"rows the data does not reach stay transparent",
                   shortData,
                   {0xFF0100FE, 0xFF0100FE, 0xFF0200FD, 0xFF0200FD, T, T}});
  return cases;
}

TEST(PcxDecoder, DecodesEveryKindOfFile) {
  for (const auto& c : Cases()) {
    const Bytes file = WritePcx(c.spec);
    testing::SaveFuzzSeed("fuzz_pcx_decode", c.name, file);
    EXPECT_EQ(Describe(DecodePcx(file)), Describe(c.spec.width, c.spec.height, c.expected))
        << c.name;
  }
}

TEST(PcxDecoder, HeadersItCannotReadGiveNoPicture) {
  const auto file = [](auto change) {
    PcxSpec spec{.width = 4, .height = 2, .palette = Palette256()};
    spec.rows = {B({1, 2, 3, 4}), B({1, 2, 3, 4})};
    change(spec);
    return WritePcx(spec);
  };
  Bytes upsideDown = file([](PcxSpec&) {});
  upsideDown[4] = 5;  // xMin 5, past xMax 3
  Bytes uncompressed = file([](PcxSpec&) {});
  uncompressed[2] = 0;
  const Bytes cases[] = {
      file([](PcxSpec& s) { s.bytesPerLine = 2; }),  // lines shorter than the width
      file([](PcxSpec& s) { s.planes = 2; }),
      file([](PcxSpec& s) { s.bits = 4; }),
      file([](PcxSpec& s) {
        s.bits = 1;
        s.planes = 5;
        s.bytesPerLine = 2;
      }),
      file([](PcxSpec& s) {
        s.width = 16385;
        s.bytesPerLine = 16386;
      }),
      file([](PcxSpec& s) {
        s.rows.clear();
        s.palette.clear();
      }),
      upsideDown,
      uncompressed,
      file([](PcxSpec&) {}).substr(0, 127),
  };
  int i = 0;
  for (const auto& bytes : cases) {
    EXPECT_TRUE(DecodePcx(bytes).empty()) << "case " << i++;
  }
}

}  // namespace
}  // namespace lumenta::image
