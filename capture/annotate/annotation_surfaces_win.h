#pragma once
// The two pictures the drawing tools work on, both of the selected rectangle's size: the
// annotated copy (the rectangle's pixels with every committed drawing) and the working copy
// (the annotated copy with the drawing in progress). Coordinates are region coordinates,
// relative to the rectangle's top-left corner.
#include <windows.h>

#include <string_view>

#include "capture/model/toolbar_layout.h"
#include "capture/window/gdiplus_session_win.h"
#include "win/gdi_win.h"

namespace lumenta::capture {

class AnnotationSurfaces {
 public:
  // The annotated copy filled from `snapshot` at the rectangle's place, and an empty working
  // copy, both compatible with `reference`.
  void Start(HDC reference, HDC snapshot, const Rect& selection);
  void Release();
  [[nodiscard]] bool started() const { return static_cast<bool>(annotated_); }

  [[nodiscard]] HDC annotated() const { return annotated_.dc(); }
  [[nodiscard]] HDC working() const { return working_.dc(); }
  [[nodiscard]] int width() const { return width_; }
  [[nodiscard]] int height() const { return height_; }

  // The working copy back to the annotated copy.
  void Restore();
  // The working copy into the annotated copy: what was drawn is kept.
  void Commit();

  // Restore, then draw on the working copy with a solid pen of `penWidth` (the null brush for
  // the shapes).
  void DrawRectangle(Point from, Point to, int penWidth, COLORREF colour);
  void DrawEllipse(Point from, Point to, int penWidth, COLORREF colour);
  // A one-pixel shaft and a filled head 9 pixels long, whatever the chosen width.
  void DrawArrow(Point from, Point to, COLORREF colour);
  // Restore, draw the line and commit at once.
  void BrushSegment(Point from, Point to, int penWidth, COLORREF colour);

  // Writes `text` onto the annotated copy in the face "宋体" at `fontHeight`, transparently.
  void WriteText(Point at, std::wstring_view text, int fontHeight, COLORREF colour);

 private:
  enum class Shape { kRectangle, kEllipse };
  void DrawShape(Shape shape, Point from, Point to, int penWidth, COLORREF colour);

  win::MemorySurface annotated_;
  win::MemorySurface working_;
  int width_ = 0;
  int height_ = 0;
};

// The font of the text tool and the text box: `height` pixels, normal weight, face "宋体".
[[nodiscard]] HFONT CreateTextToolFont(int height);

}  // namespace lumenta::capture
