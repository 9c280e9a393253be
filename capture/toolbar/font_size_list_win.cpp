#include "capture/toolbar/font_size_list_win.h"

#include "capture/annotate/capture_text_box_win.h"
#include "capture/capture_tool_win.h"
#include "capture/model/font_size_list_model.h"
#include "capture/toolbar/capture_toolbar_win.h"

namespace lumenta::capture {

void FontSizeList::Init() {
  CaptureRenderer* renderer = tool_.renderer();
  if (!renderer) return;
  if (made_) painter_.Close();
  painter_.Init(renderer->windowDc(), renderer->framePen(), renderer->labelFont());
  made_ = true;
  selected_ = kFontSizeDefaultEntry;
  tool_.state().textFontHeight = FontSizeOfEntry(kFontSizeDefaultEntry);
}

void FontSizeList::Close() {
  painter_.Close();
  made_ = false;
  selected_ = scroll_ = dragStartY_ = scrollAtDragStart_ = 0;
  tool_.state().fontListOpen = false;
}

void FontSizeList::ShowAt(Point at, std::optional<int> scroll) {
  CaptureRenderer* renderer = tool_.renderer();
  if (!renderer || !made_) return;
  scroll_ = LimitFontListScroll(scroll.value_or(scroll_));
  HDC layer = renderer->PaintLayerForDrawing(
      Rect::FromSize(at.x, at.y, kFontSizeListWidth, kFontSizeListHeight));
  painter_.Show(layer, at, scroll_, selected_, renderer->labelFont());
  position_ = at;
}

void FontSizeList::Hover(Point p) {
  CaptureRenderer* renderer = tool_.renderer();
  if (!renderer || !made_) return;
  const int rx = p.x - position_.x, ry = p.y - position_.y;
  if (const int entry = FontListEntryAt(rx, ry, scroll_); entry != 0) {
    painter_.ClearEntry(selected_, renderer->labelFont());
    selected_ = entry;
  }
  if (dragStartY_ != 0) {
    ShowAt(position_, DraggedFontListScroll(scrollAtDragStart_, dragStartY_, ry));
  } else {
    ShowAt(position_);
  }
  tool_.PresentPaintLayer();
}

void FontSizeList::Click(Point p) {
  const int rx = p.x - position_.x, ry = p.y - position_.y;
  if (OnFontListThumb(rx, ry, scroll_)) {
    dragStartY_ = ry;
    scrollAtDragStart_ = scroll_;
    return;
  }
  const int entry = FontListEntryAt(rx, ry, scroll_);
  if (entry == 0) return;
  CaptureState& state = tool_.state();
  selected_ = entry;
  state.textFontHeight = FontSizeOfEntry(entry);
  state.fontListOpen = false;
  tool_.ComposePaintLayer();
  if (toolbar_) {
    toolbar_->DrawTextSizeBox();
    toolbar_->Show();
  }
  tool_.PresentPaintLayer();
  textBox_.SetTextHeight(state.textFontHeight);
}

}  // namespace lumenta::capture
