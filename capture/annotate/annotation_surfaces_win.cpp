#include "capture/annotate/annotation_surfaces_win.h"

#include <string>

#include "capture/model/annotation_geometry.h"

namespace lumenta::capture {
namespace {

constexpr wchar_t kSongTi[] = L"\x5B8B\x4F53";  // 宋体
constexpr int kSwissFamily = 32;

}  // namespace

HFONT CreateTextToolFont(int height) {
  return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                     kSwissFamily, kSongTi);
}

void AnnotationSurfaces::Start(HDC reference, HDC snapshot, const Rect& selection) {
  width_ = selection.right - selection.left;
  height_ = selection.bottom - selection.top;
  annotated_ = win::CreateMemorySurface(reference, width_, height_);
  working_ = win::CreateMemorySurface(reference, width_, height_);
  if (annotated_ && snapshot) {
    BitBlt(annotated_.dc(), 0, 0, width_, height_, snapshot, selection.left, selection.top,
           SRCCOPY);
  }
}

void AnnotationSurfaces::Release() {
  annotated_ = win::MemorySurface();
  working_ = win::MemorySurface();
  width_ = height_ = 0;
}

void AnnotationSurfaces::Restore() {
  if (annotated_ && working_) {
    BitBlt(working_.dc(), 0, 0, width_, height_, annotated_.dc(), 0, 0, SRCCOPY);
  }
}

void AnnotationSurfaces::Commit() {
  if (annotated_ && working_) {
    BitBlt(annotated_.dc(), 0, 0, width_, height_, working_.dc(), 0, 0, SRCCOPY);
  }
}

void AnnotationSurfaces::DrawShape(Shape shape, Point from, Point to, int penWidth,
                                   COLORREF colour) {
  Restore();
  HDC dc = working_.dc();
  if (!dc) return;
  win::Pen pen(CreatePen(PS_SOLID, penWidth, colour));
  win::SelectGuard usePen(dc, pen.get());
  win::SelectGuard useBrush(dc, GetStockObject(NULL_BRUSH));
  if (shape == Shape::kRectangle) {
    Rectangle(dc, from.x, from.y, to.x, to.y);
  } else {
    Ellipse(dc, from.x, from.y, to.x, to.y);
  }
}

void AnnotationSurfaces::DrawRectangle(Point from, Point to, int penWidth, COLORREF colour) {
  DrawShape(Shape::kRectangle, from, to, penWidth, colour);
}

void AnnotationSurfaces::DrawEllipse(Point from, Point to, int penWidth, COLORREF colour) {
  DrawShape(Shape::kEllipse, from, to, penWidth, colour);
}

void AnnotationSurfaces::DrawArrow(Point from, Point to, COLORREF colour) {
  Restore();
  HDC dc = working_.dc();
  if (!dc) return;
  const ArrowHead head = ComputeArrowHead(from.x, from.y, to.x, to.y);
  win::Pen pen(CreatePen(PS_SOLID, 1, colour));
  win::Brush fill(CreateSolidBrush(colour));
  win::SelectGuard usePen(dc, pen.get());
  win::SelectGuard useBrush(dc, fill.get());
  const POINT triangle[] = {
      {head.tip.x, head.tip.y}, {head.first.x, head.first.y}, {head.second.x, head.second.y}};
  Polygon(dc, triangle, 3);
  MoveToEx(dc, from.x, from.y, nullptr);
  LineTo(dc, to.x, to.y);
}

void AnnotationSurfaces::BrushSegment(Point from, Point to, int penWidth, COLORREF colour) {
  Restore();
  if (HDC dc = working_.dc()) {
    win::Pen pen(CreatePen(PS_SOLID, penWidth, colour));
    win::SelectGuard usePen(dc, pen.get());
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
  }
  Commit();
}

void AnnotationSurfaces::WriteText(Point at, std::wstring_view text, int fontHeight,
                                   COLORREF colour) {
  HDC dc = annotated_.dc();
  if (!dc || text.empty()) return;
  win::Font font(CreateTextToolFont(fontHeight));
  win::SelectGuard useFont(dc, font.get());
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, colour);
  TextOutW(dc, at.x, at.y, text.data(), static_cast<int>(text.size()));
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

}  // namespace lumenta::capture
