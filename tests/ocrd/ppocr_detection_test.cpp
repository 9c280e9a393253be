// The PP-OCR pipeline's text detection after the model: the geometry of boxes, from a
// probability map to boxes, and from the map's boxes to the picture's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "tools/ocrd/ppocr/geometry.h"
#include "tools/ocrd/ppocr/probability_map.h"
#include "tools/ocrd/ppocr/text_detector.h"

namespace lumenta::ocrd::ppocr {

// Found by argument-dependent lookup when gtest prints a point.
static void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();

double Degrees(double degrees) { return degrees * kPi / 180; }

// A grid of points filling a `width` x `height` rectangle centred on `centre`, its width along
// `angle` (y down): corners, edges and inside.
std::vector<Point> FilledRectangle(Point centre, double width, double height, double angle) {
  const double ux = std::cos(angle), uy = std::sin(angle);
  std::vector<Point> points;
  constexpr int kSteps = 6;
  for (int i = 0; i <= kSteps; ++i) {
    for (int j = 0; j <= kSteps; ++j) {
      const double along = (static_cast<double>(i) / kSteps - 0.5) * width;
      const double across = (static_cast<double>(j) / kSteps - 0.5) * height;
      points.push_back({centre.x + along * ux - across * uy, centre.y + along * uy + across * ux});
    }
  }
  return points;
}

// True when every point of `a` is within `tolerance` of a point of `b` and the other way round.
bool SamePoints(const std::vector<Point>& a, const std::vector<Point>& b, double tolerance) {
  auto covered = [tolerance](const std::vector<Point>& from, const std::vector<Point>& to) {
    return std::all_of(from.begin(), from.end(), [&](Point p) {
      return std::any_of(to.begin(), to.end(),
                         [&](Point q) { return std::hypot(p.x - q.x, p.y - q.y) <= tolerance; });
    });
  };
  return covered(a, b) && covered(b, a);
}

// The cross product of (b - a) and (c - a): positive for a clockwise turn on screen (y down).
double Turn(Point a, Point b, Point c) {
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

Quad AxisQuad(double left, double top, double right, double bottom) {
  return {Point{left, top}, Point{right, top}, Point{right, bottom}, Point{left, bottom}};
}

// A probability map to draw on, or drawn from text rows where '#' is 0.9 and anything else 0.
struct TestMap {
  int width = 0;
  int height = 0;
  std::vector<float> values;

  TestMap(int w, int h) : width(w), height(h), values(static_cast<std::size_t>(w) * h, 0.0f) {}
  explicit TestMap(const std::vector<std::string>& rows)
      : TestMap(static_cast<int>(rows[0].size()), static_cast<int>(rows.size())) {
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const char c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
        at(x, y) = c == '#' ? 0.9f : 0.0f;
      }
    }
  }

  float& at(int x, int y) { return values[static_cast<std::size_t>(y) * width + x]; }
  // Sets the pixels from (x0, y0) to (x1, y1), both included.
  void Fill(int x0, int y0, int x1, int y1, float value) {
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) at(x, y) = value;
    }
  }
  ProbabilityMap view() const { return {values.data(), width, height}; }
};

// ---------------------------------------------------------------------------------------------
// Geometry

TEST(PpocrGeometry, TheConvexHullKeepsOnlyCornersClockwiseOnScreen) {
  // A square's corners with points inside, on its edges and repeated.
  const std::vector<Point> points = {{5, 5},  {0, 0}, {10, 0}, {5, 0}, {10, 10}, {0, 10},
                                     {10, 5}, {0, 0}, {3, 7},  {0, 4}, {5, 10},  {10, 10}};
  const std::vector<Point> hull = ConvexHull(points);
  ASSERT_EQ(hull.size(), 4u);
  EXPECT_TRUE(SamePoints(hull, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0));
  for (std::size_t i = 0; i < hull.size(); ++i) {
    EXPECT_GT(Turn(hull[i], hull[(i + 1) % 4], hull[(i + 2) % 4]), 0) << i;
  }
}

TEST(PpocrGeometry, TheConvexHullOfFewerThanThreeDistinctPointsIsThosePoints) {
  EXPECT_TRUE(ConvexHull({}).empty());
  EXPECT_EQ(ConvexHull({{3, 4}, {3, 4}, {3, 4}}), (std::vector<Point>{{3, 4}}));
  // Points on one line: only its two ends.
  const std::vector<Point> line = ConvexHull({{4, 2}, {0, 0}, {2, 1}, {8, 4}, {6, 3}});
  EXPECT_TRUE(SamePoints(line, {{0, 0}, {8, 4}}, 0)) << ::testing::PrintToString(line);
  EXPECT_EQ(line.size(), 2u);
}

TEST(PpocrGeometry, TheRectangleOfLeastAreaOfARotatedLineLiesAlongTheLine) {
  struct Case {
    double rotation;  // of the rectangle's first side, in degrees
    double first;     // length of that side
    double second;
    double width;  // expected: the side nearer the x axis
    double height;
    double angle;  // expected, in degrees
  };
  const Case cases[] = {
      {0, 60, 12, 60, 12, 0},      // a level line
      {20, 60, 12, 60, 12, 20},    // falling to the right
      {-30, 60, 12, 60, 12, -30},  // rising to the right
      {44, 60, 12, 60, 12, 44},    // its long side still the nearer the x axis
      {0, 12, 60, 12, 60, 0},      // a column of vertical text is as wide as its letters
      {70, 60, 12, 12, 60, -20},   // a line read sideways: its short side is nearer the x axis
      {-70, 60, 12, 12, 60, 20},   // the same the other way
      {90, 60, 12, 12, 60, 0},     // a level column
      {160, 60, 12, 60, 12, -20},  // a side's direction counts modulo a half turn
  };
  const Point centre{100, 80};
  for (const Case& c : cases) {
    const RotatedRect rect =
        MinAreaRect(FilledRectangle(centre, c.first, c.second, Degrees(c.rotation)));
    EXPECT_NEAR(rect.width, c.width, 1e-9) << c.rotation;
    EXPECT_NEAR(rect.height, c.height, 1e-9) << c.rotation;
    EXPECT_NEAR(rect.angle, Degrees(c.angle), 1e-9) << c.rotation;
    EXPECT_NEAR(rect.centre.x, centre.x, 1e-9) << c.rotation;
    EXPECT_NEAR(rect.centre.y, centre.y, 1e-9) << c.rotation;
    EXPECT_GT(rect.angle, -kPi / 4) << c.rotation;
    EXPECT_LE(rect.angle, kPi / 4) << c.rotation;
  }
}

TEST(PpocrGeometry, AtAnEighthOfATurnTheWidthIsTheSideAtPlusAnEighth) {
  // Both sides are as near the x axis: the angle's range (-pi/4, pi/4] names the side going
  // down to the right the width, whichever way the rectangle leans and whichever side the hull
  // meets first. Pixel outlines meet this exactly.
  struct Case {
    const char* what;
    std::vector<Point> points;
    double width;
    double height;
  };
  const double longSide = std::hypot(30, 30), shortSide = std::hypot(5, 5);
  const Case cases[] = {
      {"a line rising to the right", {{0, 30}, {30, 0}, {35, 5}, {5, 35}}, shortSide, longSide},
      {"a line falling to the right", {{0, 0}, {30, 30}, {25, 35}, {-5, 5}}, longSide, shortSide},
      {"a rising row of pixels", {{0, 3}, {1, 2}, {2, 1}, {3, 0}}, 0, std::hypot(3, 3)},
      {"a falling row of pixels", {{0, 0}, {1, 1}, {2, 2}, {3, 3}}, std::hypot(3, 3), 0},
  };
  for (const Case& c : cases) {
    const RotatedRect rect = MinAreaRect(c.points);
    EXPECT_NEAR(rect.angle, kPi / 4, 1e-9) << c.what;
    EXPECT_NEAR(rect.width, c.width, 1e-9) << c.what;
    EXPECT_NEAR(rect.height, c.height, 1e-9) << c.what;
  }
}

TEST(PpocrGeometry, TheRectangleOfLeastAreaOfAnIrregularRegionHoldsEveryPoint) {
  // A line's core as the detector marks it: uneven ends, slightly slanted.
  const std::vector<Point> points = {{2, 10},  {3, 6},  {40, 12}, {41, 16}, {80, 18},
                                     {79, 22}, {20, 9}, {60, 19}, {30, 14}, {3, 8}};
  const RotatedRect rect = MinAreaRect(points);
  const Quad corners = Corners(rect);
  for (const Point& p : points) EXPECT_TRUE(InsideQuad(corners, p, 1e-6)) << p.x << "," << p.y;
  // No rectangle along the x axis is as small: the least one follows the slant.
  double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
  for (const Point& p : points) {
    minX = std::min(minX, p.x);
    maxX = std::max(maxX, p.x);
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  EXPECT_LT(rect.width * rect.height, (maxX - minX) * (maxY - minY));
  EXPECT_GT(rect.angle, 0.05);
  EXPECT_GT(rect.width, rect.height);
}

TEST(PpocrGeometry, OnePointOrPointsOnALineGiveARectangleWithAZeroSide) {
  struct Case {
    std::vector<Point> points;
    Point centre;
    double width;
    double height;
  };
  const Case cases[] = {
      {{{7, 9}}, {7, 9}, 0, 0},
      {{{7, 9}, {7, 9}}, {7, 9}, 0, 0},
      {{{0, 0}, {10, 5}, {20, 10}}, {10, 5}, std::hypot(20, 10), 0},
      {{{5, 0}, {5, 10}, {5, 20}}, {5, 10}, 0, 20},  // vertical: its length is the height
      {{{2, 3}, {30, 3}}, {16, 3}, 28, 0},
  };
  for (const Case& c : cases) {
    const RotatedRect rect = MinAreaRect(c.points);
    EXPECT_NEAR(rect.centre.x, c.centre.x, 1e-9) << c.points.size() << " points";
    EXPECT_NEAR(rect.centre.y, c.centre.y, 1e-9) << c.points.size() << " points";
    EXPECT_NEAR(rect.width, c.width, 1e-9) << c.points.size() << " points";
    EXPECT_NEAR(rect.height, c.height, 1e-9) << c.points.size() << " points";
  }
  const RotatedRect none = MinAreaRect({});
  EXPECT_EQ(none.width, 0);
  EXPECT_EQ(none.height, 0);
}

TEST(PpocrGeometry, CornersRunClockwiseFromTheTopLeftOfTheText) {
  const RotatedRect level{{50, 40}, 40, 10, 0};
  const Quad corners = Corners(level);
  const Quad expected = AxisQuad(30, 35, 70, 45);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_NEAR(corners[i].x, expected[i].x, 1e-9) << i;
    EXPECT_NEAR(corners[i].y, expected[i].y, 1e-9) << i;
  }
  for (const double degrees : {-40.0, -15.0, 15.0, 40.0}) {
    const RotatedRect rect{{50, 40}, 40, 10, Degrees(degrees)};
    const Quad q = Corners(rect);
    // Top left, top right, bottom right, bottom left of the line, whichever way it leans.
    EXPECT_LT(q[0].x, q[1].x) << degrees;
    EXPECT_LT(q[3].x, q[2].x) << degrees;
    EXPECT_LT(q[0].y, q[3].y) << degrees;
    EXPECT_LT(q[1].y, q[2].y) << degrees;
    for (std::size_t i = 0; i < 4; ++i) {
      EXPECT_GT(Turn(q[i], q[(i + 1) % 4], q[(i + 2) % 4]), 0) << degrees;
    }
    EXPECT_NEAR(QuadWidth(q), 40, 1e-9) << degrees;
    EXPECT_NEAR(QuadHeight(q), 10, 1e-9) << degrees;
    // The rectangle of least area around the corners is the rectangle itself.
    const RotatedRect again = MinAreaRect({q.begin(), q.end()});
    EXPECT_NEAR(again.width, rect.width, 1e-9) << degrees;
    EXPECT_NEAR(again.height, rect.height, 1e-9) << degrees;
    EXPECT_NEAR(again.angle, rect.angle, 1e-9) << degrees;
  }
}

TEST(PpocrGeometry, UnclipGrowsEverySideByAreaTimesRatioOverPerimeter) {
  struct Case {
    double width;
    double height;
    double ratio;
    double distance;  // added on every side
  };
  const Case cases[] = {
      {40, 10, 1.5, 6},  // 400 * 1.5 / 100
      {10, 10, 2, 5},    // 100 * 2 / 40
      {25, 3, 1.7, 75 * 1.7 / 56},
      {20, 0, 1.5, 0},  // a line has no area
      {0, 0, 1.5, 0},
  };
  for (const Case& c : cases) {
    const RotatedRect rect{{12, 34}, c.width, c.height, 0.3};
    const RotatedRect grown = Unclip(rect, c.ratio);
    EXPECT_NEAR(grown.width, c.width + 2 * c.distance, 1e-9) << c.width << "x" << c.height;
    EXPECT_NEAR(grown.height, c.height + 2 * c.distance, 1e-9) << c.width << "x" << c.height;
    EXPECT_EQ(grown.centre, rect.centre);
    EXPECT_EQ(grown.angle, rect.angle);
  }
}

TEST(PpocrGeometry, AQuadsWidthAndHeightAreTheLongerOfOppositeSides) {
  const Quad quad = {Point{0, 0}, Point{40, 0}, Point{40, 30}, Point{0, 10}};
  EXPECT_NEAR(QuadWidth(quad), std::hypot(40, 20), 1e-9);  // the slanted bottom
  EXPECT_NEAR(QuadHeight(quad), 30, 1e-9);                 // the right side
}

TEST(PpocrGeometry, InsideQuadCountsTheBorderAndWhatLiesWithinTheTolerance) {
  const Quad diamond = {Point{10, 0}, Point{20, 10}, Point{10, 20}, Point{0, 10}};
  struct Case {
    Point p;
    double tolerance;
    bool inside;
  };
  const Case cases[] = {
      {{10, 10}, 1e-9, true}, {{10, 0}, 1e-9, true},   {{15, 5}, 1e-9, true},
      {{16, 4}, 1e-9, false}, {{16, 4}, 1.5, true},    {{4, 4}, 1e-9, false},
      {{4, 4}, 1.5, true},    {{25, 10}, 1e-9, false}, {{10, 21}, 0.5, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(InsideQuad(diamond, c.p, c.tolerance), c.inside)
        << c.p.x << "," << c.p.y << " within " << c.tolerance;
  }
}

// ---------------------------------------------------------------------------------------------
// Regions of the probability map

TEST(PpocrProbabilityMap, RegionsAreTheEndsOfTheirRowsInTheOrderOfTheirFirstPixel) {
  const TestMap map({
      "..........",
      "..###.....",
      "..####..#.",
      ".......##.",
      "#.........",
  });
  const std::vector<std::vector<Point>> regions = RegionOutlines(map.view(), 0.3f);
  const std::vector<std::vector<Point>> expected = {
      {{2, 1}, {4, 1}, {2, 2}, {5, 2}},
      {{8, 2}, {7, 3}, {8, 3}},
      {{0, 4}},
  };
  EXPECT_EQ(regions, expected);
}

TEST(PpocrProbabilityMap, PixelsTouchingAtACornerBelongToOneRegion) {
  const TestMap diagonal({
      "#....",
      ".#...",
      "..#..",
      "...##",
  });
  EXPECT_EQ(RegionOutlines(diagonal.view(), 0.3f),
            (std::vector<std::vector<Point>>{{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 3}}}));
  // Two arms joined only at the bottom are one region whose top row spans both.
  const TestMap cup({
      ".#...#.",
      ".#...#.",
      ".#####.",
  });
  EXPECT_EQ(RegionOutlines(cup.view(), 0.3f),
            (std::vector<std::vector<Point>>{{{1, 0}, {5, 0}, {1, 1}, {5, 1}, {1, 2}, {5, 2}}}));
}

TEST(PpocrProbabilityMap, OnlyValuesAboveTheThresholdAreText) {
  TestMap map(7, 1);
  map.values = {0.3f, kNaN, -1.0f, kInfinity, 0.31f, 0.0f, 0.9f};
  EXPECT_EQ(RegionOutlines(map.view(), 0.3f),
            (std::vector<std::vector<Point>>{{{3, 0}, {4, 0}}, {{6, 0}}}));
  EXPECT_TRUE(RegionOutlines(ProbabilityMap{}, 0.3f).empty());
  const TestMap blank({"....", "...."});
  EXPECT_TRUE(RegionOutlines(blank.view(), 0.3f).empty());
}

TEST(PpocrProbabilityMap, MeanInsideAveragesThePixelsWithinTheQuadAsProbabilities) {
  struct Case {
    float rows[3];  // the values of the quad's three rows
    float mean;
  };
  const Case cases[] = {
      {{1.0f, 0.5f, 0.0f}, 0.5f},
      {{2.0f, kNaN, -3.0f}, 1.0f / 3},  // above 1 counts as 1, NaN and below 0 as 0
      {{kInfinity, 1.0f, 1.0f}, 1.0f},
  };
  for (const Case& c : cases) {
    TestMap map(8, 6);
    std::fill(map.values.begin(), map.values.end(), 0.9f);  // around the quad: not counted
    for (int row = 0; row < 3; ++row) map.Fill(2, 1 + row, 5, 1 + row, c.rows[row]);
    EXPECT_NEAR(MeanInside(map.view(), AxisQuad(2, 1, 5, 3)), c.mean, 1e-6) << c.rows[0];
  }
}

TEST(PpocrProbabilityMap, MeanInsideARotatedQuadLeavesOutTheRestOfItsBoundingBox) {
  TestMap map(9, 9);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 9; ++x) map.at(x, y) = std::abs(x - 4) + std::abs(y - 4) <= 2 ? 1.0f : 0;
  }
  const Quad diamond = {Point{4, 2}, Point{6, 4}, Point{4, 6}, Point{2, 4}};
  EXPECT_FLOAT_EQ(MeanInside(map.view(), diamond), 1.0f);
  // A quad off the map holds no pixel.
  EXPECT_EQ(MeanInside(map.view(), AxisQuad(20, 20, 30, 30)), 0.0f);
}

// ---------------------------------------------------------------------------------------------
// Boxes from the probability map

TEST(PpocrProbabilityMap, TwoTextCoresGiveTwoGrownBoxesTopToBottom) {
  TestMap map(40, 20);
  map.Fill(5, 12, 30, 15, 0.8f);  // the lower line, drawn first
  map.Fill(10, 3, 35, 6, 0.9f);
  const std::vector<ScoredBox> boxes = BoxesFromMap(map.view(), BoxSettings{});
  ASSERT_EQ(boxes.size(), 2u);
  // Each core is 25 x 3 between its pixels' centres, grown by 25 * 3 * 1.7 / 56 on every side.
  const double d = 25 * 3 * 1.7 / 56;
  const Quad upper = AxisQuad(10 - d, 3 - d, 35 + d, 6 + d);
  const Quad lower = AxisQuad(5 - d, 12 - d, 30 + d, 15 + d);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_NEAR(boxes[0].corners[i].x, upper[i].x, 1e-6) << i;
    EXPECT_NEAR(boxes[0].corners[i].y, upper[i].y, 1e-6) << i;
    EXPECT_NEAR(boxes[1].corners[i].x, lower[i].x, 1e-6) << i;
    EXPECT_NEAR(boxes[1].corners[i].y, lower[i].y, 1e-6) << i;
  }
  EXPECT_FLOAT_EQ(boxes[0].score, 0.9f);
  EXPECT_FLOAT_EQ(boxes[1].score, 0.8f);
}

TEST(PpocrProbabilityMap, ASlantedLineGivesABoxAlongItsSlant) {
  // A core 4 pixels high falling one pixel every 5 columns.
  TestMap map(48, 24);
  std::vector<Point> core;
  for (int x = 5; x <= 39; ++x) {
    const int top = 4 + (x - 5) / 5;
    for (int y = top; y <= top + 3; ++y) {
      map.at(x, y) = 0.9f;
      core.push_back({static_cast<double>(x), static_cast<double>(y)});
    }
  }
  const std::vector<ScoredBox> boxes = BoxesFromMap(map.view(), BoxSettings{});
  ASSERT_EQ(boxes.size(), 1u);
  const Quad& box = boxes[0].corners;
  const double slope = std::atan2(box[1].y - box[0].y, box[1].x - box[0].x);
  EXPECT_NEAR(slope, std::atan(0.2), 0.05);
  EXPECT_GT(QuadWidth(box), 4 * QuadHeight(box));
  EXPECT_LT(box[0].x, box[1].x);  // the top left corner first
  EXPECT_LT(box[0].y, box[3].y);
  for (const Point& p : core) EXPECT_TRUE(InsideQuad(box, p)) << p.x << "," << p.y;
  EXPECT_GE(boxes[0].score, 0.6f);
  EXPECT_LE(boxes[0].score, 0.9f);
}

TEST(PpocrProbabilityMap, ARegionIsKeptOnlyWhenItsCoreIsStrongAndLargeEnough) {
  struct Case {
    const char* what;
    int x0, y0, x1, y1;
    float value;
    float boxThreshold;
    double unclipRatio;
    bool kept;
  };
  const Case cases[] = {
      {"a line", 5, 3, 30, 6, 0.9f, 0.6f, 1.7, true},
      {"a weak line", 5, 3, 30, 6, 0.5f, 0.6f, 1.7, false},
      {"a line as strong as the threshold", 5, 3, 30, 6, 0.75f, 0.75f, 1.7, true},
      {"a line just weaker than the threshold", 5, 3, 30, 6, 0.75f, 0.76f, 1.7, false},
      {"a speck", 10, 10, 11, 11, 1.0f, 0.6f, 1.7, false},
      {"a hairline", 5, 8, 30, 8, 1.0f, 0.6f, 1.7, false},
      {"a hairline two pixels high", 5, 8, 30, 9, 1.0f, 0.6f, 1.7, false},
      {"the smallest core", 10, 10, 13, 13, 1.0f, 0.6f, 1.7, true},
      {"the smallest core grown too little", 10, 10, 13, 13, 1.0f, 0.6f, 0.5, false},
  };
  for (const Case& c : cases) {
    TestMap map(40, 20);
    map.Fill(c.x0, c.y0, c.x1, c.y1, c.value);
    BoxSettings settings;
    settings.boxThreshold = c.boxThreshold;
    settings.unclipRatio = c.unclipRatio;
    EXPECT_EQ(BoxesFromMap(map.view(), settings).size(), c.kept ? 1u : 0u) << c.what;
  }
}

TEST(PpocrProbabilityMap, BlocksTouchingAtACornerAreOneBoxAndOneColumnApartTwo) {
  BoxSettings settings;
  settings.boxThreshold = 0.3f;  // the staircase's rectangle holds much background
  for (const int gap : {0, 1}) {
    TestMap map(40, 20);
    map.Fill(5, 3, 14, 7, 1.0f);
    map.Fill(15 + gap, 8, 24 + gap, 12, 1.0f);
    EXPECT_EQ(BoxesFromMap(map.view(), settings).size(), gap == 0 ? 1u : 2u) << gap;
  }
}

TEST(PpocrProbabilityMap, AtMostMaxBoxesRegionsAreLookedAtFromTheTop) {
  struct Case {
    int maxBoxes;
    bool speckOnTop;  // a region too small for a box, above the lines
    std::size_t boxes;
  };
  const Case cases[] = {
      {1000, false, 3}, {3, false, 3}, {2, false, 2}, {2, true, 1}, {0, false, 0}};
  for (const Case& c : cases) {
    TestMap map(40, 24);
    map.Fill(5, 3, 30, 6, 0.9f);
    map.Fill(5, 10, 30, 13, 0.9f);
    map.Fill(5, 17, 30, 20, 0.9f);
    if (c.speckOnTop) map.Fill(2, 0, 3, 1, 0.9f);
    BoxSettings settings;
    settings.maxBoxes = c.maxBoxes;
    const std::vector<ScoredBox> boxes = BoxesFromMap(map.view(), settings);
    ASSERT_EQ(boxes.size(), c.boxes) << c.maxBoxes << (c.speckOnTop ? " with a speck" : "");
    if (!boxes.empty()) {
      EXPECT_LT(boxes[0].corners[0].y, 3) << c.maxBoxes;  // the top line's box
    }
  }
}

TEST(PpocrProbabilityMap, MissingProbabilitiesAreBackgroundAndCountAsZero) {
  TestMap empty(40, 20);
  EXPECT_TRUE(BoxesFromMap(empty.view(), BoxSettings{}).empty());
  EXPECT_TRUE(BoxesFromMap(ProbabilityMap{}, BoxSettings{}).empty());

  TestMap missing(40, 20);
  std::fill(missing.values.begin(), missing.values.end(), kNaN);
  EXPECT_TRUE(BoxesFromMap(missing.view(), BoxSettings{}).empty());

  // Every other pixel of a line missing: one region (its pixels touch at corners) at half the
  // probability.
  TestMap checkered(40, 20);
  for (int y = 4; y <= 9; ++y) {
    for (int x = 5; x <= 30; ++x) checkered.at(x, y) = (x + y) % 2 ? kNaN : 1.0f;
  }
  BoxSettings settings;
  settings.boxThreshold = 0.3f;
  const std::vector<ScoredBox> boxes = BoxesFromMap(checkered.view(), settings);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NEAR(boxes[0].score, 0.5f, 0.05f);
  settings.boxThreshold = 0.6f;
  EXPECT_TRUE(BoxesFromMap(checkered.view(), settings).empty());

  // Infinite probabilities are certain text.
  TestMap infinite(40, 20);
  infinite.Fill(5, 3, 30, 6, kInfinity);
  const std::vector<ScoredBox> certain = BoxesFromMap(infinite.view(), BoxSettings{});
  ASSERT_EQ(certain.size(), 1u);
  EXPECT_EQ(certain[0].score, 1.0f);
}

// ---------------------------------------------------------------------------------------------
// From the map's boxes to the picture's

TEST(PpocrDetection, TheDetectorSeesThePictureScaledDownToTheLimitInMultiplesOf32) {
  struct Case {
    Size picture;
    int limit;
    Size expected;
    const char* what;
  };
  const Case cases[] = {
      {{100, 50}, 1280, {96, 64}, "kept, each side rounded to the nearest multiple"},
      {{48, 16}, 1280, {64, 32}, "never scaled up; half of 32 rounds up"},
      {{10, 10}, 1280, {32, 32}, "at least 32"},
      {{1280, 720}, 1280, {1280, 736}, "exactly the limit"},
      {{1920, 1080}, 1280, {1280, 736}, "a full-HD screen"},
      {{1080, 1920}, 1280, {736, 1280}, "a full-HD screen standing"},
      {{1920, 1080}, 960, {960, 544}, "a full-HD screen at a lower limit"},
      {{4000, 100}, 960, {960, 32}, "a long strip"},
      {{1, 5000}, 1280, {32, 1280}, "a long column"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectionSize(c.picture, c.limit), c.expected) << c.what;
  }
}

TEST(PpocrDetection, BoxesAreScaledOntoThePictureRoundedAndKeptInside) {
  const std::vector<ScoredBox> boxes = {
      {AxisQuad(10, 5, 20, 10), 0.9f},
      {AxisQuad(-2, -1, 70, 40), 0.8f},  // beyond every edge of the map
      {{Point{10.1, 20}, Point{30.2, 18}, Point{30.3, 24}, Point{10, 26}}, 0.7f},
  };
  const std::vector<Quad> placed = BoxesOnPicture(boxes, {64, 32}, {200, 100}, 3);
  ASSERT_EQ(placed.size(), 3u);
  // 200 / 64 = 100 / 32 = 3.125; halves round away from zero.
  EXPECT_EQ(placed[0], AxisQuad(31, 16, 63, 31));
  EXPECT_EQ(placed[1], AxisQuad(0, 0, 200, 100));
  EXPECT_EQ(placed[2], (Quad{Point{32, 63}, Point{94, 56}, Point{95, 75}, Point{31, 81}}));
}

TEST(PpocrDetection, BoxesAtMostTheSmallestSideWideOrHighAreDropped) {
  struct Case {
    Quad box;
    bool kept;
    const char* what;
  };
  const Case cases[] = {
      {AxisQuad(10, 10, 14, 14), true, "four pixels wide and high"},
      {AxisQuad(10, 10, 13, 30), false, "three pixels wide"},
      {AxisQuad(10, 10, 40, 13), false, "three pixels high"},
      {AxisQuad(10, 10, 10.6, 30), false, "rounded to one pixel wide"},
      {AxisQuad(98, 10, 120, 30), false, "two pixels of it inside the picture"},
      {AxisQuad(110, 10, 130, 30), false, "wholly beside the picture"},
  };
  for (const Case& c : cases) {
    const std::vector<Quad> placed = BoxesOnPicture({{c.box, 1.0f}}, {100, 50}, {100, 50}, 3);
    EXPECT_EQ(placed.size(), c.kept ? 1u : 0u) << c.what;
  }
}

}  // namespace
}  // namespace lumenta::ocrd::ppocr
