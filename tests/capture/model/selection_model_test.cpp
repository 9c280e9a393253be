// The selection geometry: handle zones and the two orders that test them, drag steps with their
// fixed points, clamping and normalising, and the size label.
#include "capture/model/selection_model.h"

#include <gtest/gtest.h>

namespace lumenta::capture {
namespace {

constexpr Size kScreen{1920, 1080};

TEST(PointStrictlyInside, ExcludesEveryEdge) {
  EXPECT_TRUE(PointStrictlyInside(5, 5, 0, 0, 10, 10));
  EXPECT_FALSE(PointStrictlyInside(0, 5, 0, 0, 10, 10));
  EXPECT_FALSE(PointStrictlyInside(10, 5, 0, 0, 10, 10));
  EXPECT_FALSE(PointStrictlyInside(5, 0, 0, 0, 10, 10));
  EXPECT_FALSE(PointStrictlyInside(5, 10, 0, 0, 10, 10));
  EXPECT_TRUE(PointStrictlyInside(1, 9, 0, 0, 10, 10));
}

TEST(MakeArgb, SwapsRedAndBlueAndSetsTheAlpha) {
  EXPECT_EQ(MakeArgb(0x00FFAF00), 0xFF00AFFFu);       // RGB(0,175,255), opaque by default
  EXPECT_EQ(MakeArgb(0x00000000, 100), 0x64000000u);  // black at alpha 100
  EXPECT_EQ(MakeArgb(0x00FF9600, 150), 0x960096FFu);  // RGB(0,150,255) at alpha 150
  EXPECT_EQ(MakeArgb(0x12332211, 120), 0x78112233u);  // the high byte of the GDI colour is dropped
}

TEST(HandleZone, IsTheNineByNineSquareAroundACorner) {
  const Rect s{100, 100, 200, 150};
  for (int dx = -6; dx <= 6; ++dx) {
    for (int dy = -6; dy <= 6; ++dy) {
      const bool expected = dx > -5 && dx < 5 && dy > -5 && dy < 5;
      EXPECT_EQ(InHandleZone(s, Handle::kBottomRight, {200 + dx, 150 + dy}), expected)
          << dx << "," << dy;
    }
  }
}

TEST(HandleZone, TruncatesHalfPixelMidpointBoundsTowardZero) {
  // Width 5: the top handle's midpoint is 2.5; its zone runs from truncate(-2.5) = -2 to
  // truncate(7.5) = 7, exclusive, so x = -2 is outside (rounding down would have taken it).
  const Rect s{0, 0, 5, 5};
  EXPECT_FALSE(InHandleZone(s, Handle::kTop, {-2, 0}));
  EXPECT_TRUE(InHandleZone(s, Handle::kTop, {-1, 0}));
  EXPECT_TRUE(InHandleZone(s, Handle::kTop, {6, 0}));
  EXPECT_FALSE(InHandleZone(s, Handle::kTop, {7, 0}));
  // Height 101 from 100: the left handle's midpoint is 150.5, zone 145 < y < 155.
  const Rect tall{100, 100, 300, 201};
  EXPECT_FALSE(InHandleZone(tall, Handle::kLeft, {100, 145}));
  EXPECT_TRUE(InHandleZone(tall, Handle::kLeft, {100, 146}));
  EXPECT_TRUE(InHandleZone(tall, Handle::kLeft, {100, 154}));
  EXPECT_FALSE(InHandleZone(tall, Handle::kLeft, {100, 155}));
}

struct ZoneCase {
  const char* what;
  Rect selection;
  Point p;
  DragMode press;
  CaptureCursor hover;
};

TEST(Zones, PressAndHoverPickTheFirstMatchInTheirOwnOrders) {
  constexpr Rect big{100, 100, 300, 200};
  constexpr Rect small{100, 100, 108, 108};  // every zone overlaps its neighbours
  const ZoneCase cases[] = {
      {"top-left handle",
       big,
       {101, 99},
       DragMode::kTopLeft,
       CaptureCursor::kSizeTopLeftBottomRight},
      {"top-right handle",
       big,
       {299, 103},
       DragMode::kTopRight,
       CaptureCursor::kSizeTopRightBottomLeft},
      {"bottom-left handle",
       big,
       {96, 204},
       DragMode::kBottomLeft,
       CaptureCursor::kSizeTopRightBottomLeft},
      {"bottom-right handle",
       big,
       {304, 196},
       DragMode::kBottomRight,
       CaptureCursor::kSizeTopLeftBottomRight},
      {"top handle", big, {200, 100}, DragMode::kTop, CaptureCursor::kSizeVertical},
      {"bottom handle", big, {196, 203}, DragMode::kBottom, CaptureCursor::kSizeVertical},
      {"left handle", big, {100, 150}, DragMode::kLeft, CaptureCursor::kSizeHorizontal},
      {"right handle", big, {302, 147}, DragMode::kRight, CaptureCursor::kSizeHorizontal},
      {"inside", big, {150, 150}, DragMode::kMove, CaptureCursor::kMove},
      {"on the edge between handles", big, {150, 100}, DragMode::kNone, CaptureCursor::kUnchanged},
      {"outside", big, {50, 50}, DragMode::kNone, CaptureCursor::kUnchanged},
      {"just past a handle zone", big, {305, 200}, DragMode::kNone, CaptureCursor::kUnchanged},
      // A handle zone beats the inside zone it overlaps.
      {"inside near a corner",
       big,
       {103, 103},
       DragMode::kTopLeft,
       CaptureCursor::kSizeTopLeftBottomRight},
      // Small rectangle: the press takes top-right before bottom-right, the hover cursor takes
      // the top-left/bottom-right pair before the other diagonal.
      {"small: top-right and bottom-right",
       small,
       {106, 104},
       DragMode::kTopRight,
       CaptureCursor::kSizeTopLeftBottomRight},
      {"small: bottom-left and bottom-right",
       small,
       {104, 106},
       DragMode::kBottomLeft,
       CaptureCursor::kSizeTopLeftBottomRight},
      {"small: all four corners",
       small,
       {104, 104},
       DragMode::kTopLeft,
       CaptureCursor::kSizeTopLeftBottomRight},
      {"small: top-right and top",
       small,
       {106, 100},
       DragMode::kTopRight,
       CaptureCursor::kSizeTopRightBottomLeft},
      {"small: only the bottom-right corner",
       small,
       {111, 111},
       DragMode::kBottomRight,
       CaptureCursor::kSizeTopLeftBottomRight},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PressedZone(c.selection, c.p), c.press) << c.what;
    EXPECT_EQ(HoverCursor(c.selection, c.p), c.hover) << c.what;
  }
}

TEST(Zones, MiddleHandlesOfANarrowRectangleShareTheirZonesWithTheCorners) {
  // 12 x 30: the top handle (106, 100) reaches from x 102 to 110; the top-left corner takes
  // x up to 104 and the top-right corner x from 108, leaving only the top handle between them.
  const Rect s{100, 100, 112, 130};
  EXPECT_EQ(PressedZone(s, {104, 97}), DragMode::kTopLeft);
  EXPECT_EQ(PressedZone(s, {106, 97}), DragMode::kTop);
  EXPECT_EQ(HoverCursor(s, {106, 97}), CaptureCursor::kSizeVertical);
  EXPECT_EQ(PressedZone(s, {108, 102}), DragMode::kTopRight);
  // 40 x 8: the top (120, 100) and bottom (120, 108) zones overlap; the press takes the top.
  const Rect flat{100, 100, 140, 108};
  EXPECT_EQ(PressedZone(flat, {120, 104}), DragMode::kTop);
  EXPECT_EQ(PressedZone(flat, {120, 106}), DragMode::kBottom);
  EXPECT_EQ(HoverCursor(flat, {120, 104}), CaptureCursor::kSizeVertical);
  // 8 x 40: the left (100, 120) and right (108, 120) zones overlap; the press takes the left.
  const Rect thin{100, 100, 108, 140};
  EXPECT_EQ(PressedZone(thin, {104, 120}), DragMode::kLeft);
  EXPECT_EQ(PressedZone(thin, {106, 120}), DragMode::kRight);
  EXPECT_EQ(HoverCursor(thin, {104, 120}), CaptureCursor::kSizeHorizontal);
}

struct DragCase {
  const char* what;
  DragMode mode;
  Point p;
  RenderRequest render;
  Point anchor;
  CaptureCursor cursor;
};

TEST(DragStep, EveryModeHoldsItsFixedSideInTheAnchor) {
  constexpr Rect s{100, 100, 200, 150};
  const DragCase cases[] = {
      {"top-left",
       DragMode::kTopLeft,
       {90, 80},
       {90, 80, 200, 150, Point{90, 80}},
       {200, 150},
       CaptureCursor::kUnchanged},
      {"top-right",
       DragMode::kTopRight,
       {220, 90},
       {100, 90, 220, 150, Point{220, 90}},
       {100, 150},
       CaptureCursor::kUnchanged},
      {"bottom-right",
       DragMode::kBottomRight,
       {230, 170},
       {100, 100, 230, 170, Point{230, 170}},
       {100, 100},
       CaptureCursor::kUnchanged},
      {"bottom-left",
       DragMode::kBottomLeft,
       {80, 160},
       {80, 100, 200, 160, Point{80, 160}},
       {200, 100},
       CaptureCursor::kUnchanged},
      {"top",
       DragMode::kTop,
       {500, 60},
       {100, 60, 200, 150, Point{500, 60}},
       {0, 150},
       CaptureCursor::kSizeVertical},
      {"bottom",
       DragMode::kBottom,
       {500, 190},
       {100, 100, 200, 190, Point{500, 190}},
       {0, 100},
       CaptureCursor::kSizeVertical},
      {"left",
       DragMode::kLeft,
       {70, 500},
       {70, 100, 200, 150, Point{70, 500}},
       {200, 0},
       CaptureCursor::kSizeHorizontal},
      {"right",
       DragMode::kRight,
       {260, 500},
       {100, 100, 260, 150, Point{260, 500}},
       {100, 0},
       CaptureCursor::kSizeHorizontal},
  };
  for (const auto& c : cases) {
    Point anchor;
    const DragStep step = PerformDragStep(s, c.mode, anchor, c.p);
    ASSERT_TRUE(step.render) << c.what;
    EXPECT_EQ(*step.render, c.render) << c.what;
    EXPECT_EQ(anchor, c.anchor) << c.what;
    EXPECT_EQ(step.cursor, c.cursor) << c.what;
  }
}

TEST(DragStep, KeepsTheFirstFixedPointWhileTheRectangleChanges) {
  Point anchor;
  (void)PerformDragStep({100, 100, 200, 150}, DragMode::kTopLeft, anchor, {150, 120});
  // The rectangle as the render of that step stored it.
  const DragStep step =
      PerformDragStep({150, 120, 200, 150}, DragMode::kTopLeft, anchor, {260, 190});
  EXPECT_EQ(anchor, (Point{200, 150}));
  EXPECT_EQ(*step.render, (RenderRequest{260, 190, 200, 150, Point{260, 190}}));
}

TEST(DragStep, MoveShiftsAllSidesAndRenewsTheAnchorWithoutMagnifier) {
  Point anchor{150, 120};
  const DragStep step = PerformDragStep({100, 100, 200, 150}, DragMode::kMove, anchor, {145, 130});
  EXPECT_EQ(*step.render, (RenderRequest{95, 110, 195, 160, std::nullopt, false}));
  EXPECT_EQ(anchor, (Point{145, 130}));
  EXPECT_EQ(step.cursor, CaptureCursor::kMove);
}

TEST(DragStep, DoesNothingWithoutADragMode) {
  Point anchor;
  const DragStep step = PerformDragStep({100, 100, 200, 150}, DragMode::kNone, anchor, {10, 10});
  EXPECT_FALSE(step.render);
  EXPECT_EQ(anchor, Point{});
}

TEST(DragStep, TakesAFixedPointAtTheOriginAgainAtEveryStepWithTheSameResult) {
  Rect selection{0, 0, 50, 40};
  Point anchor;
  for (Point p : {Point{60, 45}, Point{80, 70}, Point{30, 20}}) {
    const DragStep step = PerformDragStep(selection, DragMode::kBottomRight, anchor, p);
    EXPECT_EQ(anchor, Point{}) << "(0, 0) counts as not taken";
    selection = LayOutSelection(*step.render, selection, kScreen).selection;
    EXPECT_EQ(selection, (Rect{0, 0, p.x, p.y}));
  }
}

struct ClampCase {
  const char* what;
  Rect previous;
  RenderRequest request;
  Rect expected;
};

TEST(LayOutSelection, ClampsAMovedRectangleAgainstEachScreenEdge) {
  const ClampCase cases[] = {
      // The side past the edge stops there and the other side keeps its previous position, so
      // the rectangle widens by the part of the step that crossed the edge.
      {"left edge", {10, 10, 110, 60}, {-5, 10, 95, 60}, {0, 10, 110, 60}},
      {"top edge", {10, 10, 110, 60}, {10, -7, 110, 43}, {10, 0, 110, 60}},
      {"right edge", {1800, 10, 1900, 60}, {1830, 10, 1930, 60}, {1800, 10, 1920, 60}},
      {"bottom edge", {10, 1000, 110, 1070}, {10, 1020, 110, 1090}, {10, 1000, 110, 1080}},
      {"exactly on the right edge",
       {1800, 10, 1900, 60},
       {1820, 10, 1920, 60},
       {1820, 10, 1920, 60}},
      {"second corner left of the screen", {10, 10, 110, 60}, {300, 10, -4, 60}, {0, 10, 10, 60}},
      {"first corner right of the screen",
       {10, 10, 110, 60},
       {1925, 10, 1700, 60},
       {110, 10, 1920, 60}},
      {"inside the screen", {10, 10, 110, 60}, {400, 300, 200, 100}, {200, 100, 400, 300}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LayOutSelection(c.request, c.previous, kScreen).selection, c.expected) << c.what;
  }
}

TEST(LayOutSelection, WidensAZeroWidthOrHeightByMovingTheFirstCorner) {
  const struct {
    RenderRequest request;
    Point corner1;
    Rect selection;
  } cases[] = {
      {{50, 50, 50, 80}, {51, 50}, {50, 50, 51, 80}},
      {{50, 80, 90, 80}, {50, 81}, {50, 80, 90, 81}},
      {{70, 70, 70, 70}, {71, 71}, {70, 70, 71, 71}},
  };
  for (const auto& c : cases) {
    const SelectionFrame f = LayOutSelection(c.request, {}, kScreen);
    EXPECT_EQ(f.corner1, c.corner1);
    EXPECT_EQ(f.selection, c.selection);
    EXPECT_EQ(f.label, SizeLabelText(c.selection));
  }
}

TEST(LayOutSelection, NormalisesAndPlacesTheHandlesOnTheDrawnCorners) {
  const SelectionFrame f = LayOutSelection({300, 250, 101, 100, Point{101, 100}}, {}, kScreen);
  EXPECT_EQ(f.selection, (Rect{101, 100, 300, 250}));
  EXPECT_EQ(f.corner1, (Point{300, 250}));
  EXPECT_EQ(f.corner2, (Point{101, 100}));
  const std::array<Point, 8> handles = {Point{300, 250}, Point{101, 250}, Point{300, 100},
                                        Point{101, 100}, Point{200, 250}, Point{200, 100},
                                        Point{300, 175}, Point{101, 175}};
  EXPECT_EQ(f.handles, handles);  // midX = truncate(101 + 199 / 2) = 200
  EXPECT_EQ(f.label,
            "199\xA1\xC1"
            "150");
}

TEST(LayOutSelection, PutsTheMagnifierAtTheCursorOrElseAtTheClampedSecondCorner) {
  EXPECT_EQ(LayOutSelection({10, 10, 50, 50, Point{7, 8}}, {}, kScreen).magnifierPoint,
            (Point{7, 8}));
  EXPECT_EQ(LayOutSelection({10, 10, 2000, 50}, {5, 5, 40, 40}, kScreen).magnifierPoint,
            (Point{1920, 50}));
  EXPECT_FALSE(LayOutSelection({10, 10, 50, 50, std::nullopt, false}, {}, kScreen).withMagnifier);
}

TEST(SizeLabel, JoinsWidthAndHeightWithTheGbkMultiplicationSign) {
  EXPECT_EQ(SizeLabelText({0, 0, 320, 240}),
            "320\xA1\xC1"
            "240");
  EXPECT_EQ(SizeLabelText({5, 5, 6, 6}),
            "1\xA1\xC1"
            "1");
}

TEST(SizeLabel, SitsAboveTheRectangleInsideAtTheTopEdgeAndLeftAtTheRightEdge) {
  const Size extent{50, 12};
  const struct {
    const char* what;
    Rect s;
    Point origin;
  } cases[] = {
      {"above", {100, 100, 300, 200}, {102, 78}},
      {"exactly fits above", {100, 22, 300, 200}, {102, 0}},
      {"inside at the top edge", {100, 21, 300, 200}, {102, 24}},
      {"touching the top of the screen", {100, 0, 300, 200}, {102, 3}},
      {"left at the right edge", {1864, 100, 1920, 200}, {1810, 78}},
      {"exactly fits at the right", {1863, 100, 1920, 200}, {1865, 78}},
      {"top-right corner of the screen", {1880, 0, 1920, 40}, {1826, 3}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SizeLabelOrigin(c.s, extent, 1920), c.origin) << c.what;
  }
  EXPECT_EQ(SizeLabelBackground({102, 78}, extent), (Rect{102, 78, 157, 96}));
  EXPECT_EQ(SizeLabelTextOrigin({102, 78}), (Point{105, 81}));
}

}  // namespace
}  // namespace lumenta::capture
