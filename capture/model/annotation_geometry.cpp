#include "capture/model/annotation_geometry.h"

#include <cmath>

namespace lumenta::capture {
namespace {

constexpr double kTolerance = 1e-7;
constexpr double kHalfPi = 1.57079632675;
constexpr double kPi = 3.1415926535;

int ClampAxis(int value, int extent, int penWidth) {
  if (penWidth == 1) {
    if (value < 1) return 1;
    if (value > extent - 1) return extent - 1;
    return value;
  }
  const double half = penWidth / 2.0;
  if (value < half) return static_cast<int>(half);
  if (value > extent - half) return static_cast<int>(extent - half);
  return value;
}

int RoundHalfAway(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

Point ClampToolPoint(int rx, int ry, int width, int height, int penWidth) {
  return {ClampAxis(rx, width, penWidth), ClampAxis(ry, height, penWidth)};
}

double ArrowArcSine(double v) {
  if (std::fabs(v + 1.0) < kTolerance) return -kHalfPi;
  if (std::fabs(v - 1.0) < kTolerance) return kHalfPi;
  return std::atan(v / std::sqrt(1.0 - v * v));
}

double ArrowArcCosine(double v) {
  if (std::fabs(v + 1.0) < kTolerance) return kPi;
  if (std::fabs(v - 1.0) < kTolerance) return 0.0;
  return std::atan(-v / std::sqrt(1.0 - v * v)) + 2.0 * std::atan(1.0);
}

ArrowHead ComputeArrowHead(int x0, int y0, int x1, int y1) {
  const double dx = x1 - x0, dy = y1 - y0;
  const double d = std::sqrt(dx * dx + dy * dy);
  // The direction from the tip back along the shaft.
  const double ux = d == 0.0 ? 0.0 : -dx / d;
  const double uy = d == 0.0 ? 0.0 : -dy / d;
  // The arc cosine gives the angle's size only and the arc sine only angles of the right half
  // plane; exchanging the offset's sign where the angle lies outside their range makes both
  // terms belong to the same angle.
  const double cosineAngle = ArrowArcCosine(ux);
  const double sineAngle = ArrowArcSine(uy);
  const double cosineSign = uy < 0 ? -1.0 : 1.0;
  const double sineSign = ux < 0 ? -1.0 : 1.0;
  const double a = kArrowHeadHalfAngle;
  auto corner = [&](double offset) {
    return Point{x1 + RoundHalfAway(kArrowHeadLength * std::cos(cosineAngle + cosineSign * offset)),
                 y1 + RoundHalfAway(kArrowHeadLength * std::sin(sineAngle + sineSign * offset))};
  };
  return {{x1, y1}, corner(-a), corner(a)};
}

}  // namespace lumenta::capture
