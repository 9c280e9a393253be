#include "capture/model/annotation_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumenta::capture {
namespace {

TEST(ToolPointClamping, KeepsTheLineOfEachWidthOnTheRectangle) {
  constexpr int kWidth = 100, kHeight = 60;
  const struct {
    int penWidth, rx, ry;
    Point expected;
  } cases[] = {
      {1, 0, 0, {1, 1}},     {1, 100, 60, {99, 59}}, {1, -7, 70, {1, 59}}, {1, 1, 59, {1, 59}},
      {1, 50, 30, {50, 30}}, {4, 1, 1, {2, 2}},      {4, 2, 2, {2, 2}},    {4, 99, 59, {98, 58}},
      {4, 98, 58, {98, 58}}, {8, 3, 3, {4, 4}},      {8, 4, 4, {4, 4}},    {8, 97, 57, {96, 56}},
      {8, 96, 56, {96, 56}}, {8, -20, 200, {4, 56}}, {0, -3, 61, {0, 60}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClampToolPoint(c.rx, c.ry, kWidth, kHeight, c.penWidth), c.expected)
        << "width " << c.penWidth << " at " << c.rx << "," << c.ry;
  }
}

TEST(ArrowArcs, UseFixedValuesAtTheEndsWithinTheTolerance) {
  EXPECT_EQ(ArrowArcSine(-1.0), -1.57079632675);
  EXPECT_EQ(ArrowArcSine(1.0), 1.57079632675);
  EXPECT_EQ(ArrowArcSine(1.0 - 5e-8), 1.57079632675);
  EXPECT_EQ(ArrowArcSine(-1.0 + 5e-8), -1.57079632675);
  EXPECT_EQ(ArrowArcCosine(-1.0), 3.1415926535);
  EXPECT_EQ(ArrowArcCosine(1.0), 0.0);
  EXPECT_EQ(ArrowArcCosine(1.0 - 5e-8), 0.0);
  EXPECT_EQ(ArrowArcCosine(-1.0 - 5e-8), 3.1415926535);
  for (double v : {-0.999, -0.7, -0.5, 0.0, 0.3, 0.5, 0.866, 0.999}) {
    EXPECT_NEAR(ArrowArcSine(v), std::asin(v), 1e-12) << v;
    EXPECT_NEAR(ArrowArcCosine(v), std::acos(v), 1e-12) << v;
  }
  // Just outside the tolerance the arc tangent form is used.
  EXPECT_NEAR(ArrowArcSine(1.0 - 2e-7), std::asin(1.0 - 2e-7), 1e-9);
}

TEST(ArrowHead, PointsBackAlongTheShaftInEveryDirection) {
  const struct {
    const char* name;
    int x0, y0, x1, y1;
    ArrowHead expected;
  } cases[] = {
      {"right", 0, 0, 20, 0, {{20, 0}, {12, 5}, {12, -5}}},
      {"left", 20, 0, 0, 0, {{0, 0}, {8, -5}, {8, 5}}},
      {"up", 0, 20, 0, 0, {{0, 0}, {5, 8}, {-5, 8}}},
      {"down", 0, 0, 0, 20, {{0, 20}, {-5, 12}, {5, 12}}},
      {"down right", 0, 0, 20, 20, {{20, 20}, {11, 18}, {18, 11}}},
      {"down left", 20, 0, 0, 20, {{0, 20}, {2, 11}, {9, 18}}},
      {"up left", 20, 20, 0, 0, {{0, 0}, {9, 2}, {2, 9}}},
      {"up right", 0, 20, 20, 0, {{20, 0}, {18, 9}, {11, 2}}},
      {"shallow", 10, 10, 30, 15, {{30, 15}, {21, 17}, {24, 9}}},
      {"shallow back", 30, 15, 10, 10, {{10, 10}, {19, 8}, {16, 16}}},
      {"zero length", 7, 7, 7, 7, {{7, 7}, {12, 2}, {2, 12}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComputeArrowHead(c.x0, c.y0, c.x1, c.y1), c.expected) << c.name;
  }
}

// The program's own arcs must give the same corners as the angle of the back direction itself,
// whatever the quadrant, and every corner lies 9 pixels from the tip.
TEST(ArrowHead, MatchesTheGeometricAngleForAllShortShafts) {
  constexpr double a = kArrowHeadHalfAngle;
  for (int dx = -12; dx <= 12; ++dx) {
    for (int dy = -12; dy <= 12; ++dy) {
      if (dx == 0 && dy == 0) continue;
      const double theta = std::atan2(-dy, -dx);
      const ArrowHead expected{{100 + dx, 50 + dy},
                               {100 + dx + static_cast<int>(std::lround(9 * std::cos(theta - a))),
                                50 + dy + static_cast<int>(std::lround(9 * std::sin(theta - a)))},
                               {100 + dx + static_cast<int>(std::lround(9 * std::cos(theta + a))),
                                50 + dy + static_cast<int>(std::lround(9 * std::sin(theta + a)))}};
      const ArrowHead head = ComputeArrowHead(100, 50, 100 + dx, 50 + dy);
      EXPECT_EQ(head, expected) << dx << "," << dy;
      for (const Point& p : {head.first, head.second}) {
        EXPECT_NEAR(std::hypot(p.x - head.tip.x, p.y - head.tip.y), 9.0, 0.75) << dx << "," << dy;
      }
    }
  }
}

}  // namespace
}  // namespace lumenta::capture
