#pragma once
// A scripted capture session that exercises every kind of frame: the magnifier while choosing
// (at each screen edge and corner), dragging out (turning over, the label inside at the top and
// left of the rectangle at the right edge), hovering, resizing by corner and middle handles
// (turning over), moving against every edge, a one-pixel rectangle, and repaints in between.
// Used by the test that compares the two compositions and by the benchmark.
#include <windows.h>

#include <vector>

#include "capture/model/geometry.h"
#include "capture/model/selection_model.h"

namespace lumenta::capture::testing {

struct ScriptStep {
  enum Kind {
    kMove,      // to `p`
    kDown,      // at `p`
    kUp,        // where the mouse is
    kRepaint,   // the window is invalidated and repainted
    kDownAt,    // at `handle` of the current selection, moved by `p`
    kMoveNear,  // to `handle` of the current selection, moved by `p`
  } kind;
  Point p;
  Handle handle = Handle::kTopLeft;
};

// The point of a handle of `s`.
inline Point HandlePoint(const Rect& s, Handle handle) {
  const int midX = s.left + s.Width() / 2, midY = s.top + s.Height() / 2;
  switch (handle) {
    case Handle::kTopLeft:
      return {s.left, s.top};
    case Handle::kTopRight:
      return {s.right, s.top};
    case Handle::kBottomLeft:
      return {s.left, s.bottom};
    case Handle::kBottomRight:
      return {s.right, s.bottom};
    case Handle::kTop:
      return {midX, s.top};
    case Handle::kBottom:
      return {midX, s.bottom};
    case Handle::kLeft:
      return {s.left, midY};
    case Handle::kRight:
      return {s.right, midY};
  }
  return {};
}

// Moves in `steps` even steps from `from` to `to` (the end included, the start not).
inline void AppendPath(std::vector<ScriptStep>& s, Point from, Point to, int steps) {
  for (int i = 1; i <= steps; ++i) {
    s.push_back({ScriptStep::kMove,
                 {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}});
  }
}

inline std::vector<ScriptStep> ScriptedSession(Size screen) {
  const int w = screen.width, h = screen.height;
  using K = ScriptStep;
  std::vector<ScriptStep> s;
  const auto step = [&](K::Kind kind, Point p = {}, Handle handle = Handle::kTopLeft) {
    s.push_back({kind, p, handle});
  };

  // Choosing: the magnifier at the corners and edges.
  for (Point p : {Point{500, 500}, Point{5, 5}, Point{0, 0}, Point{w - 3, 10}, Point{w - 1, h - 1},
                  Point{10, h - 5}, Point{w / 2, h - 100}, Point{w - 130, h / 2}}) {
    step(K::kMove, p);
  }
  step(K::kRepaint);
  // Dragging out, over its own start, to the top and the right edge, to the far corner.
  step(K::kMove, {600, 400});
  step(K::kDown, {600, 400});
  AppendPath(s, {600, 400}, {700, 500}, 5);
  AppendPath(s, {700, 500}, {590, 390}, 4);
  AppendPath(s, {590, 390}, {300, 5}, 6);
  AppendPath(s, {300, 5}, {w - 10, 300}, 6);
  step(K::kRepaint);
  AppendPath(s, {w - 10, 300}, {w - 1, h - 1}, 3);
  AppendPath(s, {w - 1, h - 1}, {620, 420}, 5);
  step(K::kUp);
  // Hovering over handles, inside and outside.
  for (Point p : {Point{620, 420}, Point{610, 410}, Point{600, 410}, Point{1000, 900}}) {
    step(K::kMove, p);
  }
  // Bottom-right handle: larger, then turned over past the top-left corner.
  step(K::kDown, {620, 420});
  AppendPath(s, {620, 420}, {800, 600}, 4);
  AppendPath(s, {800, 600}, {500, 300}, 6);
  step(K::kUp);
  // Moving against each edge.
  step(K::kDown, {550, 350});
  AppendPath(s, {550, 350}, {10, 350}, 6);
  AppendPath(s, {10, 350}, {10, 5}, 4);
  AppendPath(s, {10, 5}, {w - 5, 5}, 6);
  step(K::kRepaint);
  AppendPath(s, {w - 5, 5}, {w - 5, h - 5}, 6);
  AppendPath(s, {w - 5, h - 5}, {900, 500}, 4);
  step(K::kUp);
  step(K::kRepaint);
  // The top handle past the bottom side, then the left handle past the right side.
  step(K::kDownAt, {}, Handle::kTop);
  for (int dy : {40, 120, 260, 400}) step(K::kMoveNear, {0, dy}, Handle::kTop);
  step(K::kUp);
  step(K::kDownAt, {}, Handle::kLeft);
  for (int i = 0; i < 4; ++i) step(K::kMoveNear, {90, 0}, Handle::kLeft);
  step(K::kUp);
  // The bottom-right corner onto the top-left one: a one-pixel rectangle, then out again by its
  // overlapping handle zones.
  step(K::kDownAt, {}, Handle::kBottomRight);
  step(K::kMoveNear, {}, Handle::kTopLeft);
  step(K::kUp);
  step(K::kMoveNear, {2, 2}, Handle::kTopLeft);
  step(K::kDownAt, {1, 1}, Handle::kTopLeft);
  for (int i = 0; i < 3; ++i) step(K::kMoveNear, {-60, -30}, Handle::kTopLeft);
  step(K::kUp);
  step(K::kRepaint);
  return s;
}

// Plays one step on the capture window; `mouse` is where the mouse is (updated).
inline void PlayStep(HWND window, const Rect& selection, const ScriptStep& step, Point& mouse) {
  const auto send = [&](UINT message, WPARAM keys, Point p) {
    mouse = p;
    SendMessageW(window, message, keys, MAKELPARAM(p.x, p.y));
  };
  const auto atHandle = [&] {
    const Point h = HandlePoint(selection, step.handle);
    return Point{h.x + step.p.x, h.y + step.p.y};
  };
  switch (step.kind) {
    case ScriptStep::kMove:
      send(WM_MOUSEMOVE, 0, step.p);
      break;
    case ScriptStep::kDown:
      send(WM_LBUTTONDOWN, MK_LBUTTON, step.p);
      break;
    case ScriptStep::kUp:
      send(WM_LBUTTONUP, 0, mouse);
      break;
    case ScriptStep::kDownAt:
      send(WM_LBUTTONDOWN, MK_LBUTTON, atHandle());
      break;
    case ScriptStep::kMoveNear:
      send(WM_MOUSEMOVE, 0, atHandle());
      break;
    case ScriptStep::kRepaint:
      InvalidateRect(window, nullptr, FALSE);
      UpdateWindow(window);
      break;
  }
}

}  // namespace lumenta::capture::testing
