#include "capture/model/selection_model.h"

#include <string>

namespace lumenta::capture {
namespace {

// A handle point; middle handles may lie on a half pixel.
struct HandlePoint {
  double x;
  double y;
};

HandlePoint HandleAt(const Rect& s, Handle handle) {
  const double midX = s.left + (s.right - s.left) / 2.0;
  const double midY = s.top + (s.bottom - s.top) / 2.0;
  switch (handle) {
    case Handle::kTopLeft:
      return {double(s.left), double(s.top)};
    case Handle::kTopRight:
      return {double(s.right), double(s.top)};
    case Handle::kBottomLeft:
      return {double(s.left), double(s.bottom)};
    case Handle::kBottomRight:
      return {double(s.right), double(s.bottom)};
    case Handle::kTop:
      return {midX, double(s.top)};
    case Handle::kBottom:
      return {midX, double(s.bottom)};
    case Handle::kLeft:
      return {double(s.left), midY};
    case Handle::kRight:
      return {double(s.right), midY};
  }
  return {0, 0};
}

// Conversions from fractional to integer values truncate toward zero throughout the tool.
int Truncate(double v) { return static_cast<int>(v); }

}  // namespace

bool InHandleZone(const Rect& selection, Handle handle, Point p) {
  const HandlePoint h = HandleAt(selection, handle);
  return PointStrictlyInside(p.x, p.y, Truncate(h.x - 5), Truncate(h.y - 5), Truncate(h.x + 5),
                             Truncate(h.y + 5));
}

DragMode PressedZone(const Rect& s, Point p) {
  static constexpr struct {
    Handle handle;
    DragMode mode;
  } kPressOrder[] = {
      {Handle::kTopLeft, DragMode::kTopLeft},
      {Handle::kTopRight, DragMode::kTopRight},
      {Handle::kBottomLeft, DragMode::kBottomLeft},
      {Handle::kBottomRight, DragMode::kBottomRight},
      {Handle::kTop, DragMode::kTop},
      {Handle::kBottom, DragMode::kBottom},
      {Handle::kLeft, DragMode::kLeft},
      {Handle::kRight, DragMode::kRight},
  };
  for (const auto& zone : kPressOrder) {
    if (InHandleZone(s, zone.handle, p)) return zone.mode;
  }
  if (PointStrictlyInside(p.x, p.y, s.left, s.top, s.right, s.bottom)) return DragMode::kMove;
  return DragMode::kNone;
}

CaptureCursor HoverCursor(const Rect& s, Point p) {
  const auto any = [&](Handle a, Handle b) {
    return InHandleZone(s, a, p) || InHandleZone(s, b, p);
  };
  if (any(Handle::kTopLeft, Handle::kBottomRight)) return CaptureCursor::kSizeTopLeftBottomRight;
  if (any(Handle::kBottomLeft, Handle::kTopRight)) return CaptureCursor::kSizeTopRightBottomLeft;
  if (any(Handle::kLeft, Handle::kRight)) return CaptureCursor::kSizeHorizontal;
  if (any(Handle::kTop, Handle::kBottom)) return CaptureCursor::kSizeVertical;
  if (PointStrictlyInside(p.x, p.y, s.left, s.top, s.right, s.bottom)) return CaptureCursor::kMove;
  return CaptureCursor::kUnchanged;
}

DragStep PerformDragStep(const Rect& selection, DragMode mode, Point& anchor, Point p) {
  const Rect s = selection;
  Point& a = anchor;
  // "Take": the fixed point is stored only while the anchor is still (0, 0). A fixed point that
  // is itself (0, 0) is therefore taken again at every step, with the same result.
  const auto take = [&a](Point value) {
    if (a == Point{}) a = value;
  };
  const auto takeX = [&a](int x) {
    if (a == Point{}) a.x = x;
  };
  const auto takeY = [&a](int y) {
    if (a == Point{}) a.y = y;
  };
  const std::optional<Point> cursor = p;
  DragStep step;
  switch (mode) {
    case DragMode::kNone:
      break;
    case DragMode::kTopLeft:
      take({s.right, s.bottom});
      step.render = RenderRequest{p.x, p.y, a.x, a.y, cursor};
      break;
    case DragMode::kTopRight:
      take({s.left, s.bottom});
      step.render = RenderRequest{a.x, p.y, p.x, a.y, cursor};
      break;
    case DragMode::kBottomRight:
      take({s.left, s.top});
      step.render = RenderRequest{a.x, a.y, p.x, p.y, cursor};
      break;
    case DragMode::kBottomLeft:
      take({s.right, s.top});
      step.render = RenderRequest{p.x, a.y, a.x, p.y, cursor};
      break;
    case DragMode::kTop:
      takeY(s.bottom);
      step.cursor = CaptureCursor::kSizeVertical;
      step.render = RenderRequest{s.left, p.y, s.right, a.y, cursor};
      break;
    case DragMode::kBottom:
      takeY(s.top);
      step.cursor = CaptureCursor::kSizeVertical;
      step.render = RenderRequest{s.left, a.y, s.right, p.y, cursor};
      break;
    case DragMode::kLeft:
      takeX(s.right);
      step.cursor = CaptureCursor::kSizeHorizontal;
      step.render = RenderRequest{p.x, s.top, a.x, s.bottom, cursor};
      break;
    case DragMode::kRight:
      takeX(s.left);
      step.cursor = CaptureCursor::kSizeHorizontal;
      step.render = RenderRequest{a.x, s.top, p.x, s.bottom, cursor};
      break;
    case DragMode::kMove: {
      step.cursor = CaptureCursor::kMove;
      const int dx = p.x - a.x;
      const int dy = p.y - a.y;
      step.render =
          RenderRequest{s.left + dx, s.top + dy, s.right + dx, s.bottom + dy, std::nullopt, false};
      a = p;
      break;
    }
  }
  return step;
}

namespace {

// One axis of the clamp: a corner past an edge goes onto it and the other corner takes the
// previous position of the side that stays. A coordinate equal to the limit passes unchanged.
void ClampAxis(int& c1, int& c2, int previousLow, int previousHigh, int limit) {
  if (c1 < 0) {
    c1 = 0;
    c2 = previousHigh;
  }
  if (c2 < 0) {
    c1 = previousLow;
    c2 = 0;
  }
  if (c1 > limit) {
    c1 = limit;
    c2 = previousHigh;
  }
  if (c2 > limit) {
    c2 = limit;
    c1 = previousLow;
  }
}

}  // namespace

SelectionFrame LayOutSelection(const RenderRequest& request, const Rect& previous, Size screen) {
  int x1 = request.x1, y1 = request.y1, x2 = request.x2, y2 = request.y2;
  ClampAxis(x1, x2, previous.left, previous.right, screen.width);
  ClampAxis(y1, y2, previous.top, previous.bottom, screen.height);
  if (x1 == x2) ++x1;
  if (y1 == y2) ++y1;

  SelectionFrame frame;
  frame.corner1 = {x1, y1};
  frame.corner2 = {x2, y2};
  frame.selection = {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  const Rect& s = frame.selection;
  const int midX = s.left + (s.right - s.left) / 2;  // truncated, as drawn
  const int midY = s.top + (s.bottom - s.top) / 2;
  frame.handles = {Point{x1, y1},   Point{x2, y1},   Point{x1, y2},   Point{x2, y2},
                   Point{midX, y1}, Point{midX, y2}, Point{x1, midY}, Point{x2, midY}};
  frame.label = SizeLabelText(s);
  frame.withMagnifier = request.withMagnifier;
  frame.magnifierPoint = request.cursor ? *request.cursor : Point{x2, y2};
  return frame;
}

Text SizeLabelText(const Rect& s) {
  return std::to_string(s.right - s.left) + "\xA1\xC1" + std::to_string(s.bottom - s.top);
}

Point SizeLabelOrigin(const Rect& s, Size extent, int screenWidth) {
  Point origin{s.left + 2, s.top - extent.height - 10};
  if (origin.y < 0) origin.y = s.top + 3;
  if (s.left + extent.width + 7 > screenWidth) origin.x = s.left - extent.width - 4;
  return origin;
}

}  // namespace lumenta::capture
