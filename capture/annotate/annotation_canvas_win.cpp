#include "capture/annotate/annotation_canvas_win.h"

#include "capture/annotate/capture_text_box_win.h"
#include "capture/capture_tool_win.h"
#include "capture/model/annotation_geometry.h"
#include "capture/model/text_box_layout.h"

namespace lumenta::capture {
namespace {

constexpr Point kNoShape{-1, -1};

}  // namespace

COLORREF AnnotationCanvas::Colour() const { return kPaletteColours[choices_.currentColour]; }

void AnnotationCanvas::Start() {
  CaptureRenderer* renderer = tool_.renderer();
  if (!renderer) return;
  surfaces_.Start(renderer->windowDc(), renderer->snapshot(), tool_.state().selection);
  last_ = kNoShape;
}

void AnnotationCanvas::Clear() {
  surfaces_.Release();
  choices_.currentTool = Tool::kNone;
  last_ = kNoShape;
}

void AnnotationCanvas::ToolDown(Point p) {
  const Rect& s = tool_.state().selection;
  const Point r{p.x - s.left, p.y - s.top};
  switch (choices_.currentTool) {
    case Tool::kRectangle:
    case Tool::kEllipse:
    case Tool::kArrow:
    case Tool::kBrush:
      last_ = r;
      break;
    case Tool::kText:
      if (!textBox_.Text().empty()) {
        CommitText();
      } else {
        textBox_.Place(PlaceTextBox(p.x, p.y, s, tool_.state().textFontHeight), Colour());
      }
      break;
    case Tool::kNone:
      break;
  }
}

void AnnotationCanvas::CommitText() {
  CaptureRenderer* renderer = tool_.renderer();
  const Rect& s = tool_.state().selection;
  const Rect box = textBox_.Bounds();
  surfaces_.WriteText(TextCommitOrigin({box.left, box.top}, s), textBox_.Text(),
                      tool_.state().textFontHeight, Colour());
  if (renderer && surfaces_.annotated()) {
    BitBlt(renderer->PaintLayerForDrawing(s), s.left, s.top, s.Width(), s.Height(),
           surfaces_.annotated(), 0, 0, SRCCOPY);
  }
  tool_.DrawSelectionFrame();
  textBox_.EmptyAndHide();
}

void AnnotationCanvas::ToolMove(Point p) {
  const Rect& s = tool_.state().selection;
  const Point r =
      ClampToolPoint(p.x - s.left, p.y - s.top, s.Width(), s.Height(), choices_.penWidth);
  if (last_ == kNoShape) return;
  switch (choices_.currentTool) {
    case Tool::kRectangle:
      surfaces_.DrawRectangle(last_, r, choices_.penWidth, Colour());
      break;
    case Tool::kEllipse:
      surfaces_.DrawEllipse(last_, r, choices_.penWidth, Colour());
      break;
    case Tool::kArrow:
      surfaces_.DrawArrow(last_, r, Colour());
      break;
    case Tool::kBrush:
      surfaces_.BrushSegment(last_, r, choices_.penWidth, Colour());
      last_ = r;
      break;
    case Tool::kText:
    case Tool::kNone:
      return;
  }
  ShowWorking();
}

void AnnotationCanvas::ShowWorking() {
  CaptureRenderer* renderer = tool_.renderer();
  if (!renderer || !surfaces_.working()) return;
  const Rect& s = tool_.state().selection;
  BitBlt(renderer->PaintLayerForDrawing(s), s.left, s.top, s.Width(), s.Height(),
         surfaces_.working(), 0, 0, SRCCOPY);
  tool_.DrawSelectionFrame();
  tool_.PresentPaintLayer();
}

void AnnotationCanvas::ToolUp(Point) {
  if (last_ == kNoShape) return;
  surfaces_.Commit();
  if (CaptureRenderer* renderer = tool_.renderer(); renderer && surfaces_.annotated()) {
    const Rect& s = tool_.state().selection;
    BitBlt(renderer->windowDc(), s.left, s.top, s.Width(), s.Height(), surfaces_.annotated(), 0, 0,
           SRCCOPY);
  }
  last_ = kNoShape;
}

void AnnotationCanvas::PaintOnto(HDC surface) {
  if (!surface || !surfaces_.annotated()) return;
  const Rect& s = tool_.state().selection;
  BitBlt(surface, s.left, s.top, s.Width(), s.Height(), surfaces_.annotated(), 0, 0, SRCCOPY);
}

}  // namespace lumenta::capture
