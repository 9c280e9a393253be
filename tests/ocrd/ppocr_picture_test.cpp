// The PP-OCR pipeline's work on pictures: cutting a text box out of the picture, scaling,
// turning, normalising into the models' tensors, and laying lines side by side into batches.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <vector>

#include "tools/ocrd/ppocr/geometry.h"
#include "tools/ocrd/ppocr/image.h"
#include "tools/ocrd/ppocr/line_batch.h"
#include "tools/ocrd/rgb_image.h"

namespace lumenta::ocrd::ppocr {
namespace {

using Rgb = std::array<int, 3>;

Rgb At(const RgbImage& image, int x, int y) {
  const std::uint8_t* p = image.Row(y) + static_cast<std::size_t>(x) * 3;
  return {p[0], p[1], p[2]};
}

void Set(RgbImage& image, int x, int y, Rgb rgb) {
  std::uint8_t* p = image.Row(y) + static_cast<std::size_t>(x) * 3;
  for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(rgb[static_cast<std::size_t>(c)]);
}

RgbImage Uniform(int width, int height, Rgb rgb) {
  RgbImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) Set(image, x, y, rgb);
  }
  return image;
}

// A 64 x 48 picture whose colour tells where a pixel is: red 4 x, green 5 y, blue 100. A sample
// between pixels reads as the point it was taken at (bilinear sampling of a linear ramp).
constexpr int kPictureWidth = 64;
constexpr int kPictureHeight = 48;
RgbImage PositionPicture() {
  RgbImage image(kPictureWidth, kPictureHeight);
  for (int y = 0; y < kPictureHeight; ++y) {
    for (int x = 0; x < kPictureWidth; ++x) Set(image, x, y, {4 * x, 5 * y, 100});
  }
  return image;
}
Point PositionOf(Rgb rgb) { return {rgb[0] / 4.0, rgb[1] / 5.0}; }

Quad AxisQuad(double left, double top, double right, double bottom) {
  return {Point{left, top}, Point{right, top}, Point{right, bottom}, Point{left, bottom}};
}

// ---------------------------------------------------------------------------------------------
// Cutting text boxes out of the picture

TEST(PpocrImage, ALevelBoxCutsOutExactlyThePixelsItCovers) {
  const RgbImage picture = PositionPicture();
  const RgbImage crop = CropQuad(picture, AxisQuad(10, 5, 30, 15));
  ASSERT_EQ(crop.width, 20);
  ASSERT_EQ(crop.height, 10);
  for (int y = 0; y < crop.height; ++y) {
    for (int x = 0; x < crop.width; ++x) {
      EXPECT_EQ(At(crop, x, y), At(picture, 10 + x, 5 + y)) << x << "," << y;
    }
  }
}

TEST(PpocrImage, ASlantedBoxIsStraightenedAlongItsSides) {
  // A parallelogram: the top side climbs 6 pixels down over 30, the left side is upright.
  const RgbImage picture = PositionPicture();
  const RgbImage crop =
      CropQuad(picture, {Point{10, 10}, Point{40, 16}, Point{40, 26}, Point{10, 20}});
  ASSERT_EQ(crop.width, 30);  // the top side is 30.6 long
  ASSERT_EQ(crop.height, 10);
  for (int y = 0; y < crop.height; ++y) {
    for (int x = 0; x < crop.width; ++x) {
      const Point at = PositionOf(At(crop, x, y));
      EXPECT_NEAR(at.x, 10 + x, 0.25) << x << "," << y;
      EXPECT_NEAR(at.y, 10 + 0.2 * x + y, 0.25) << x << "," << y;
    }
  }
}

// Where the diagonals of `quad` cross: what a projective map makes of the centre of a square.
Point DiagonalsCross(const Quad& q) {
  const double dx1 = q[2].x - q[0].x, dy1 = q[2].y - q[0].y;
  const double dx2 = q[3].x - q[1].x, dy2 = q[3].y - q[1].y;
  const double t = ((q[1].x - q[0].x) * dy2 - (q[1].y - q[0].y) * dx2) / (dx1 * dy2 - dy1 * dx2);
  return {q[0].x + t * dx1, q[0].y + t * dy1};
}

double DistanceToLine(Point a, Point b, Point p) {
  return std::abs((b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x)) /
         std::hypot(b.x - a.x, b.y - a.y);
}

TEST(PpocrImage, AQuadSeenInPerspectiveIsStraightenedThroughAProjectiveMap) {
  struct Case {
    const char* what;
    Quad quad;
    int width;
    int height;
  };
  const Case cases[] = {
      // The centre of the crop is where the diagonals cross, (30, 23.3), not the mean of the
      // corners, (30, 20).
      {"a sign seen from below",
       {Point{10, 10}, Point{50, 10}, Point{40, 30}, Point{20, 30}},
       40,
       22},
      // Crossing at (30, 20), not (25, 20).
      {"a wall seen from its left",
       {Point{10, 10}, Point{40, 15}, Point{40, 25}, Point{10, 30}},
       30,
       20},
  };
  const RgbImage picture = PositionPicture();
  for (const Case& c : cases) {
    const Quad& q = c.quad;
    const RgbImage crop = CropQuad(picture, q);
    ASSERT_EQ(crop.width, c.width) << c.what;
    ASSERT_EQ(crop.height, c.height) << c.what;
    const Point centre = PositionOf(At(crop, c.width / 2, c.height / 2));
    const Point cross = DiagonalsCross(q);
    EXPECT_NEAR(centre.x, cross.x, 0.3) << c.what;
    EXPECT_NEAR(centre.y, cross.y, 0.3) << c.what;
    const Point first = PositionOf(At(crop, 0, 0));
    EXPECT_NEAR(first.x, q[0].x, 0.2) << c.what;
    EXPECT_NEAR(first.y, q[0].y, 0.2) << c.what;
    for (int y = 0; y < crop.height; ++y) {
      for (int x = 0; x < crop.width; ++x) {
        const Point at = PositionOf(At(crop, x, y));
        EXPECT_TRUE(InsideQuad(q, at, 0.3)) << c.what << ": " << x << "," << y;
      }
    }
    // The top row lies on the top side, the left column on the left side.
    for (int x = 0; x < crop.width; ++x) {
      EXPECT_LT(DistanceToLine(q[0], q[1], PositionOf(At(crop, x, 0))), 0.3) << c.what << x;
    }
    for (int y = 0; y < crop.height; ++y) {
      EXPECT_LT(DistanceToLine(q[0], q[3], PositionOf(At(crop, 0, y))), 0.3) << c.what << y;
    }
    // The last row and column lie next to the other three corners.
    const Point right = PositionOf(At(crop, crop.width - 1, 0));
    const Point bottomRight = PositionOf(At(crop, crop.width - 1, crop.height - 1));
    const Point bottomLeft = PositionOf(At(crop, 0, crop.height - 1));
    EXPECT_LT(std::hypot(right.x - q[1].x, right.y - q[1].y), 1.5) << c.what;
    EXPECT_LT(std::hypot(bottomRight.x - q[2].x, bottomRight.y - q[2].y), 1.5) << c.what;
    EXPECT_LT(std::hypot(bottomLeft.x - q[3].x, bottomLeft.y - q[3].y), 1.5) << c.what;
  }
}

TEST(PpocrImage, ATallBoxIsTurnedAQuarterCounterClockwise) {
  const RgbImage picture = PositionPicture();
  const RgbImage turned = CropQuad(picture, AxisQuad(20, 5, 30, 35));
  ASSERT_EQ(turned.width, 30);
  ASSERT_EQ(turned.height, 10);
  // The box's right column is the top row, read downwards from the left.
  for (int y = 0; y < turned.height; ++y) {
    for (int x = 0; x < turned.width; ++x) {
      EXPECT_EQ(At(turned, x, y), At(picture, 29 - y, 5 + x)) << x << "," << y;
    }
  }
}

TEST(PpocrImage, ABoxIsTurnedFromOneAndAHalfTimesAsHighAsWide) {
  struct Case {
    int width;
    int height;
    bool turned;
  };
  const Case cases[] = {{10, 14, false}, {10, 15, true}, {20, 29, false}, {20, 30, true},
                        {30, 10, false}, {1, 1, false},  {1, 2, true}};
  const RgbImage picture = PositionPicture();
  for (const Case& c : cases) {
    const RgbImage crop = CropQuad(picture, AxisQuad(2, 2, 2 + c.width, 2 + c.height));
    EXPECT_EQ(crop.width, c.turned ? c.height : c.width) << c.width << "x" << c.height;
    EXPECT_EQ(crop.height, c.turned ? c.width : c.height) << c.width << "x" << c.height;
  }
}

TEST(PpocrImage, CornersOutsideThePictureRepeatItsEdge) {
  const RgbImage picture = PositionPicture();
  struct Case {
    Quad quad;
    int left;  // the picture's column and row of the crop's first pixel
    int top;
  };
  const Case cases[] = {{AxisQuad(-10, -10, 10, 10), -10, -10}, {AxisQuad(54, 38, 74, 58), 54, 38}};
  for (const Case& c : cases) {
    const RgbImage crop = CropQuad(picture, c.quad);
    ASSERT_EQ(crop.width, 20);
    ASSERT_EQ(crop.height, 20);
    for (int y = 0; y < crop.height; ++y) {
      for (int x = 0; x < crop.width; ++x) {
        const int px = std::clamp(c.left + x, 0, kPictureWidth - 1);
        const int py = std::clamp(c.top + y, 0, kPictureHeight - 1);
        EXPECT_EQ(At(crop, x, y), At(picture, px, py)) << c.left << ": " << x << "," << y;
      }
    }
  }
}

TEST(PpocrImage, ADegenerateQuadOrAnEmptyPictureGivesAnEmptyCrop) {
  const RgbImage picture = PositionPicture();
  const Quad cases[] = {
      AxisQuad(10, 10, 10, 10),                                      // one point
      AxisQuad(10, 10, 40, 10),                                      // a line
      AxisQuad(10, 10, 10.9, 30),                                    // under a pixel wide
      {Point{10, 10}, Point{30, 10}, Point{50, 10}, Point{30, 10}},  // corners on one line
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_TRUE(CropQuad(picture, cases[i]).empty()) << "case " << i;
  }
  EXPECT_TRUE(CropQuad(RgbImage{}, AxisQuad(0, 0, 10, 10)).empty());
}

// ---------------------------------------------------------------------------------------------
// Scaling, turning, normalising

TEST(PpocrImage, ScalingAUniformPictureKeepsItsColour) {
  const RgbImage scaled = ResizeBilinear(Uniform(7, 5, {12, 34, 56}), 3, 9);
  ASSERT_EQ(scaled.width, 3);
  ASSERT_EQ(scaled.height, 9);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(At(scaled, x, y), (Rgb{12, 34, 56})) << x << "," << y;
  }
}

TEST(PpocrImage, ScalingAlignsPixelCentres) {
  // 2 x 2 to 4 x 4: the new pixels' centres lie a quarter and three quarters of an old pixel
  // from the old centres, so the ramp 0..200 becomes 0, 50, 150, 200 (not 0, 67, 133, 200).
  RgbImage square(2, 2);
  Set(square, 0, 0, {0, 0, 7});
  Set(square, 1, 0, {200, 0, 7});
  Set(square, 0, 1, {0, 200, 7});
  Set(square, 1, 1, {200, 200, 7});
  const RgbImage large = ResizeBilinear(square, 4, 4);
  const int ramp[] = {0, 50, 150, 200};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 4; ++x) EXPECT_EQ(At(large, x, y), (Rgb{ramp[x], ramp[y], 7})) << x << y;
  }
  // 4 x 1 to 2 x 1: each new pixel is the mean of the two it covers.
  RgbImage row(4, 1);
  for (int x = 0; x < 4; ++x) Set(row, x, 0, {10 * (x + 1), 0, 0});
  const RgbImage half = ResizeBilinear(row, 2, 1);
  EXPECT_EQ(At(half, 0, 0), (Rgb{15, 0, 0}));
  EXPECT_EQ(At(half, 1, 0), (Rgb{35, 0, 0}));
}

TEST(PpocrImage, ScalingToOrFromNothingGivesAnEmptyPicture) {
  EXPECT_TRUE(ResizeBilinear(RgbImage{}, 10, 10).empty());
  EXPECT_TRUE(ResizeBilinear(Uniform(4, 4, {1, 2, 3}), 0, 10).empty());
  EXPECT_TRUE(ResizeBilinear(Uniform(4, 4, {1, 2, 3}), 10, -1).empty());
}

TEST(PpocrImage, HalfATurnPutsEveryPixelAtTheOppositePlace) {
  RgbImage picture(5, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) Set(picture, x, y, {x, y, 10 * x + y});
  }
  const RgbImage turned = RotateHalfTurn(picture);
  ASSERT_EQ(turned.width, 5);
  ASSERT_EQ(turned.height, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) EXPECT_EQ(At(turned, x, y), At(picture, 4 - x, 2 - y));
  }
  EXPECT_EQ(RotateHalfTurn(turned).pixels, picture.pixels);
  EXPECT_TRUE(RotateHalfTurn(RgbImage{}).empty());
}

TEST(PpocrImage, PlanesHoldRedGreenThenBlueNormalisedAndZeroPadding) {
  struct Case {
    Rgb colour;
    Normalisation normalisation;
    float expected[3];
  };
  const Case cases[] = {
      {{255, 255, 255}, kSymmetricNormalisation, {1, 1, 1}},
      {{0, 0, 0}, kSymmetricNormalisation, {-1, -1, -1}},
      {{255, 0, 51}, kSymmetricNormalisation, {1, -1, -0.6f}},
      {{255, 255, 255},
       kImageNetNormalisation,
       {(1 - 0.485f) / 0.229f, (1 - 0.456f) / 0.224f, (1 - 0.406f) / 0.225f}},
      {{0, 0, 0}, kImageNetNormalisation, {-0.485f / 0.229f, -0.456f / 0.224f, -0.406f / 0.225f}},
  };
  constexpr int kScaled = 4, kHeight = 3, kPlane = 6;
  for (const Case& c : cases) {
    std::vector<float> out(static_cast<std::size_t>(kPlane) * kHeight * 3, 7.0f);  // stale
    ScaleIntoPlanes(Uniform(2, 2, c.colour), kScaled, kHeight, kPlane, c.normalisation, out.data());
    for (int plane = 0; plane < 3; ++plane) {
      for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kPlane; ++x) {
          const float value = out[(static_cast<std::size_t>(plane) * kHeight + y) * kPlane + x];
          EXPECT_NEAR(value, x < kScaled ? c.expected[plane] : 0.0f, 1e-5)
              << "colour " << c.colour[0] << "," << c.colour[1] << "," << c.colour[2] << " plane "
              << plane << " at " << x << "," << y;
        }
      }
    }
  }
}

TEST(PpocrImage, PlanesAreFilledFromThePictureScaledAndNeverPastTheirWidth) {
  // Black on the left half, white on the right: scaled to 8 columns of a plane only 6 wide,
  // the picture is squeezed into the 6 (and nothing is written past them).
  RgbImage picture = Uniform(4, 2, {0, 0, 0});
  for (int y = 0; y < 2; ++y) {
    for (int x = 2; x < 4; ++x) Set(picture, x, y, {255, 255, 255});
  }
  std::vector<float> out(6 * 2 * 3, 7.0f);
  ScaleIntoPlanes(picture, 8, 2, 6, kSymmetricNormalisation, out.data());
  for (int plane = 0; plane < 3; ++plane) {
    const float* row = out.data() + static_cast<std::size_t>(plane) * 12;
    EXPECT_FLOAT_EQ(row[0], -1) << plane;
    EXPECT_FLOAT_EQ(row[5], 1) << plane;
    EXPECT_TRUE(std::is_sorted(row, row + 6)) << plane;
  }
  // No picture: zeros.
  ScaleIntoPlanes(RgbImage{}, 4, 2, 6, kSymmetricNormalisation, out.data());
  EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float v) { return v == 0; }));
}

// ---------------------------------------------------------------------------------------------
// Line batches

TEST(PpocrLineBatch, ALineIsScaledToTheLineHeightWithinTheWidthLimit) {
  struct Case {
    int width;
    int height;
    int maxWidth;
    int scaled;
    const char* what;
  };
  const Case cases[] = {
      {100, 48, 1000, 100, "at the line height"},
      {100, 24, 1000, 200, "twice as high"},
      {33, 32, 1000, 50, "49.5 rounds up"},
      {10, 9, 1000, 54, "53.3 rounds up"},
      {1000, 10, 320, 320, "at most the limit"},
      {1, 1000, 1000, 1, "at least a column"},
      {0, 10, 1000, 1, "no width"},
      {100, 0, 1000, 1, "no height"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScaledLineWidth(c.width, c.height, c.maxWidth), c.scaled) << c.what;
  }
}

// Lines of the given widths, all 48 pixels high: their scaled width is their width.
std::vector<RgbImage> LinesOfWidths(const std::vector<int>& widths) {
  std::vector<RgbImage> lines;
  for (const int width : widths) lines.emplace_back(width, kLineHeight);
  return lines;
}

TEST(PpocrLineBatch, LinesOfSimilarShapeShareABatchNarrowestFirst) {
  using Batches = std::vector<std::vector<std::size_t>>;
  struct Case {
    const char* what;
    std::vector<int> widths;
    BatchLimits limits;
    Batches batches;
  };
  const Case cases[] = {
      {"at most six lines a batch",
       {100, 100, 100, 100, 100, 100, 100, 100},
       {6, 1 << 30, 1},
       {{0, 1, 2, 3, 4, 5}, {6, 7}}},
      {"sorted by shape", {300, 100, 200}, {6, 1 << 30, 1}, {{1, 2, 0}}},
      {"short lines together, wide lines alone",
       {800, 100, 900, 100, 100},
       {6, 1000, 1},
       {{1, 3, 4}, {0}, {2}}},
      {"the columns padded to the widest line",
       {100, 200, 300, 400},
       {6, 1000, 1},
       {{0, 1, 2}, {3}}},
      {"a line wider than the budget still gets a batch", {2000, 50}, {6, 1000, 1}, {{1}, {0}}},
      {"narrow lines counted at the least width",
       {10, 10, 10, 10, 10},
       {6, 1000, 320},
       {{0, 1, 2}, {3, 4}}},
      {"no lines", {}, {6, 1000, 1}, {}},
  };
  for (const Case& c : cases) {
    const Batches batches = BatchesByShape(LinesOfWidths(c.widths), c.limits);
    EXPECT_EQ(batches, c.batches) << c.what;
  }
}

TEST(PpocrLineBatch, EveryLineOfAPageIsInOneBatchWithinTheLimits) {
  // Lines of many shapes, as a page gives them.
  std::vector<RgbImage> lines;
  for (int i = 0; i < 60; ++i) lines.emplace_back(5 + (i * 37) % 400, 8 + (i * 13) % 40);
  const BatchLimits limits{6, 3000, 64};
  const auto batches = BatchesByShape(lines, limits);
  auto scaled = [&](std::size_t i) {
    return std::max(limits.minWidth, ScaledLineWidth(lines[i].width, lines[i].height, 1 << 20));
  };
  std::vector<int> seen(lines.size(), 0);
  int previousWidest = 0;
  for (const auto& batch : batches) {
    ASSERT_FALSE(batch.empty());
    EXPECT_LE(batch.size(), limits.maxLines);
    int narrowest = 1 << 30, widest = 0;
    for (const std::size_t i : batch) {
      ASSERT_LT(i, lines.size());
      ++seen[i];
      narrowest = std::min(narrowest, scaled(i));
      widest = std::max(widest, scaled(i));
    }
    if (batch.size() > 1) {
      EXPECT_LE(widest * static_cast<int>(batch.size()), limits.maxColumns);
    }
    EXPECT_GE(narrowest, previousWidest);  // narrowest first
    previousWidest = widest;
  }
  EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; }));
}

TEST(PpocrLineBatch, BatchesFollowTheWidthToHeightRatioNotTheWidth) {
  // 96 x 96 is as narrow as 48 x 48 once scaled; 60 x 20 is wider than 100 x 48.
  std::vector<RgbImage> lines;
  lines.emplace_back(60, 20);   // scaled 144
  lines.emplace_back(96, 96);   // 48
  lines.emplace_back(100, 48);  // 100
  lines.emplace_back(48, 48);   // 48
  const auto batches = BatchesByShape(lines, {2, 1 << 30, 1});
  EXPECT_EQ(batches, (std::vector<std::vector<std::size_t>>{{1, 3}, {2, 0}}));
}

TEST(PpocrLineBatch, TheBatchIsAsWideAsItsWidestLineAndPaddedWithZeros) {
  std::vector<RgbImage> lines;
  lines.push_back(Uniform(96, 48, {255, 255, 255}));  // scaled 96 wide
  lines.push_back(Uniform(24, 24, {0, 0, 0}));        // scaled 48 wide
  struct Case {
    int minWidth;
    int planeWidth;
    int width;
  };
  const Case cases[] = {{1, 0, 96}, {200, 0, 200}, {1, 120, 120}, {1, 64, 64}};
  LineBatch batch;
  for (const Case& c : cases) {
    batch.values.assign(10000, 7.0f);  // a batch is reused from run to run
    FillLineBatch(lines, {1, 0}, c.minWidth, c.planeWidth, batch);
    ASSERT_EQ(batch.shape[0], 2);
    ASSERT_EQ(batch.shape[1], 3);
    ASSERT_EQ(batch.shape[2], kLineHeight);
    ASSERT_EQ(batch.shape[3], c.width);
    const std::size_t perLine = 3u * kLineHeight * static_cast<std::size_t>(c.width);
    ASSERT_EQ(batch.values.size(), 2 * perLine);
    for (int plane = 0; plane < 3; ++plane) {
      for (int y = 0; y < kLineHeight; ++y) {
        const std::size_t row = (static_cast<std::size_t>(plane) * kLineHeight + y) * c.width;
        for (int x = 0; x < c.width; ++x) {
          // First the black line (48 columns), then the white one, squeezed when the plane is
          // narrower than it.
          const float black = batch.values[row + x];
          const float white = batch.values[perLine + row + x];
          ASSERT_NEAR(black, x < 48 ? -1.0f : 0.0f, 1e-6) << c.width << ": " << x << "," << y;
          ASSERT_NEAR(white, x < 96 ? 1.0f : 0.0f, 1e-6) << c.width << ": " << x << "," << y;
        }
      }
    }
  }
}

}  // namespace
}  // namespace lumenta::ocrd::ppocr
