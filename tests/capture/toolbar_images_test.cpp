#include "capture/toolbar/toolbar_images.h"

#include <gtest/gtest.h>

#include "capture/model/toolbar_layout.h"
#include "capture/toolbar/toolbar_style.h"
#include "tests/support/bmp_test_reader.h"

namespace lumenta::capture {
namespace {

using image::bmpread::BmpFile;
using image::bmpread::ReadBmp;
using image::bmpread::Rgb;

Rgb FromColourRef(std::uint32_t c) {
  return {static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
          static_cast<int>((c >> 16) & 0xFF)};
}

BmpFile Read(std::string_view bytes) {
  auto file = ReadBmp(bytes);
  EXPECT_TRUE(file.has_value());
  return file.value_or(BmpFile{});
}

TEST(ToolbarImages, AreUncompressedBottomUpTwentyFourBitFilesOfTheirSizes) {
  const struct {
    const char* name;
    std::string_view bytes;
    int width, height;
  } cases[] = {{"toolbar", ToolbarImageFile(), 292, 26},
               {"divider", DividerImageFile(), 5, 28},
               {"chevron", ChevronImageFile(), 14, 14}};
  for (const auto& c : cases) {
    const auto file = ReadBmp(c.bytes);
    ASSERT_TRUE(file.has_value()) << c.name;
    EXPECT_EQ(file->type, 19778) << c.name;
    EXPECT_EQ(file->fileSize, c.bytes.size()) << c.name;
    EXPECT_EQ(file->headerSize, 40u) << c.name;
    EXPECT_EQ(file->format.width, c.width) << c.name;
    EXPECT_EQ(file->format.height, c.height) << c.name;  // positive: bottom-up
    EXPECT_EQ(file->format.bitCount, 24) << c.name;
    EXPECT_EQ(file->format.compression, 0u) << c.name;
  }
}

// The outlines drawn on a zone's edge and erased with the background colour must never cover
// an icon, so every icon pixel lies inside a zone, clear of its edge pixels.
TEST(ToolbarImage, KeepsEveryIconInsideItsButtonClearOfTheOutline) {
  const BmpFile toolbar = Read(ToolbarImageFile());
  const Rgb background = FromColourRef(kEraseColour);
  int inkPerButton[9] = {};
  for (int y = 1; y < kToolbarHeight - 1; ++y) {
    for (int x = 1; x < kToolbarWidth - 1; ++x) {
      if (toolbar.At(x, y) == background) continue;
      const bool divider = x == 139 || x == 140 || x == 199 || x == 200;
      int owner = 0;
      for (int k = 0; k < 9; ++k) {
        const Zone z = kToolbarButtonZones[k];
        if (x > z.left && x < z.right - 1 && y > z.top && y < z.bottom - 1) owner = k + 1;
      }
      EXPECT_TRUE(owner != 0 || divider) << "stray pixel at " << x << "," << y;
      if (owner != 0) ++inkPerButton[owner - 1];
    }
  }
  for (int k = 0; k < 9; ++k) EXPECT_GT(inkPerButton[k], 20) << "button " << k + 1;
  EXPECT_EQ(toolbar.At(3, 3), background);
}

TEST(ToolbarImage, ShowsARedCrossForCancelAndAGreenCheckForDone) {
  const BmpFile toolbar = Read(ToolbarImageFile());
  auto count = [&](const Zone& z, auto predicate) {
    int n = 0;
    for (int y = z.top; y < z.bottom; ++y) {
      for (int x = z.left; x < z.right; ++x) n += predicate(toolbar.At(x, y)) ? 1 : 0;
    }
    return n;
  };
  auto red = [](Rgb c) { return c.r > 180 && c.g < 80 && c.b < 80; };
  auto green = [](Rgb c) { return c.g > 120 && c.r < 80 && c.b < 100; };
  EXPECT_GT(count(kToolbarButtonZones[kButtonCancel - 1], red), 20);
  EXPECT_EQ(count(kToolbarButtonZones[kButtonCancel - 1], green), 0);
  EXPECT_GT(count(kToolbarButtonZones[kButtonDone - 1], green), 20);
  for (int k = 0; k < 9; ++k) {
    if (k + 1 != kButtonCancel) {
      EXPECT_EQ(count(kToolbarButtonZones[k], red), 0) << k + 1;
    }
  }
}

// The options panel copies the 21 x 18 block at (112, 4) as its "A": the whole text icon.
TEST(ToolbarImage, HoldsTheTextIconWithinTheBlockThePanelCopies) {
  const BmpFile toolbar = Read(ToolbarImageFile());
  const Rgb background = FromColourRef(kPanelColour);
  const Zone text = kToolbarButtonZones[4];
  int inside = 0;
  for (int y = text.top + 1; y < text.bottom - 1; ++y) {
    for (int x = text.left + 1; x < text.right - 1; ++x) {
      if (toolbar.At(x, y) == background) continue;
      EXPECT_TRUE(x >= 112 && x < 112 + 21 && y >= 4 && y < 4 + 18) << x << "," << y;
      ++inside;
    }
  }
  EXPECT_GT(inside, 40);
}

TEST(DividerImage, IsAVerticalLineOnThePanelColour) {
  const BmpFile divider = Read(DividerImageFile());
  const Rgb panel = FromColourRef(kPanelColour);
  for (int y = 0; y < 28; ++y) {
    EXPECT_EQ(divider.At(0, y), panel);
    EXPECT_EQ(divider.At(4, y), panel);
    EXPECT_NE(divider.At(2, y), panel) << y;
  }
}

TEST(ChevronImage, PointsDownOnTheScrollTrackColour) {
  const BmpFile chevron = Read(ChevronImageFile());
  const Rgb track = FromColourRef(kListTrackColour);
  EXPECT_EQ(chevron.At(0, 0), track);
  EXPECT_EQ(chevron.At(13, 13), track);
  // Each row of the "v" is narrower than the one above it, down to its point.
  int previousSpan = 100, rows = 0;
  for (int y = 0; y < 14; ++y) {
    int first = -1, last = -1;
    for (int x = 0; x < 14; ++x) {
      if (chevron.At(x, y) == track) continue;
      if (first < 0) first = x;
      last = x;
    }
    if (first < 0) continue;
    ++rows;
    EXPECT_LT(last - first, previousSpan) << "row " << y;
    EXPECT_EQ(first + last, 13) << "row " << y;  // symmetric about the middle
    previousSpan = last - first;
  }
  EXPECT_GE(rows, 4);
}

}  // namespace
}  // namespace lumenta::capture
