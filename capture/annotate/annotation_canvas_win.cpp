#include "capture/annotate/annotation_canvas_win.h"

#include "capture/annotate/capture_text_box_win.h"
#include "capture/model/annotation_geometry.h"
#include "capture/model/text_box_layout.h"

namespace lumenta::capture {
namespace {

constexpr Point kNoShape{-1, -1};

}  // namespace

COLORREF AnnotationCanvas::Colour() const { return kPaletteColours[choices_.currentColour]; }

void AnnotationCanvas::Start() {
  if (!surfaces_.Ready()) return;
  copies_.Start(surfaces_.WindowDc(), surfaces_.Snapshot(), session_.selection());
  last_ = kNoShape;
}

void AnnotationCanvas::Clear() {
  copies_.Release();
  choices_.currentTool = Tool::kNone;
  last_ = kNoShape;
}

void AnnotationCanvas::ToolDown(Point p) {
  const Rect& s = session_.selection();
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
        textBox_.Place(PlaceTextBox(p.x, p.y, s, session_.textFontHeight()), Colour());
      }
      break;
    case Tool::kNone:
      break;
  }
}

void AnnotationCanvas::CommitText() {
  const Rect& s = session_.selection();
  const Rect box = textBox_.Bounds();
  copies_.WriteText(TextCommitOrigin({box.left, box.top}, s), textBox_.Text(),
                    session_.textFontHeight(), Colour());
  if (surfaces_.Ready() && copies_.annotated()) {
    BitBlt(surfaces_.PaintLayerForDrawing(s), s.left, s.top, s.Width(), s.Height(),
           copies_.annotated(), 0, 0, SRCCOPY);
  }
  surfaces_.DrawSelectionFrame();
  textBox_.EmptyAndHide();
}

void AnnotationCanvas::ToolMove(Point p) {
  const Rect& s = session_.selection();
  const Point r =
      ClampToolPoint(p.x - s.left, p.y - s.top, s.Width(), s.Height(), choices_.penWidth);
  if (last_ == kNoShape) return;
  switch (choices_.currentTool) {
    case Tool::kRectangle:
      copies_.DrawRectangle(last_, r, choices_.penWidth, Colour());
      break;
    case Tool::kEllipse:
      copies_.DrawEllipse(last_, r, choices_.penWidth, Colour());
      break;
    case Tool::kArrow:
      copies_.DrawArrow(last_, r, Colour());
      break;
    case Tool::kBrush:
      copies_.BrushSegment(last_, r, choices_.penWidth, Colour());
      last_ = r;
      break;
    case Tool::kText:
    case Tool::kNone:
      return;
  }
  ShowWorking();
}

void AnnotationCanvas::ShowWorking() {
  if (!surfaces_.Ready() || !copies_.working()) return;
  const Rect& s = session_.selection();
  BitBlt(surfaces_.PaintLayerForDrawing(s), s.left, s.top, s.Width(), s.Height(), copies_.working(),
         0, 0, SRCCOPY);
  surfaces_.DrawSelectionFrame();
  surfaces_.PresentPaintLayer();
}

void AnnotationCanvas::ToolUp(Point) {
  if (last_ == kNoShape) return;
  copies_.Commit();
  if (surfaces_.Ready() && copies_.annotated()) {
    const Rect& s = session_.selection();
    BitBlt(surfaces_.WindowDc(), s.left, s.top, s.Width(), s.Height(), copies_.annotated(), 0, 0,
           SRCCOPY);
  }
  last_ = kNoShape;
}

void AnnotationCanvas::PaintOnto(HDC surface) {
  if (!surface || !copies_.annotated()) return;
  const Rect& s = session_.selection();
  BitBlt(surface, s.left, s.top, s.Width(), s.Height(), copies_.annotated(), 0, 0, SRCCOPY);
}

}  // namespace lumenta::capture
