#include "capture/toolbar/font_size_list_win.h"

#include "capture/annotate/capture_text_box_win.h"
#include "capture/model/font_size_list_model.h"
#include "capture/toolbar/capture_toolbar_win.h"

namespace lumenta::capture {

void FontSizeList::Init() {
  if (!surfaces_.Ready()) return;
  if (made_) painter_.Close();
  painter_.Init(surfaces_.WindowDc(), surfaces_.FramePen(), surfaces_.LabelFont());
  made_ = true;
  selected_ = kFontSizeDefaultEntry;
  session_.SetTextFontHeight(FontSizeOfEntry(kFontSizeDefaultEntry));
}

void FontSizeList::Close() {
  painter_.Close();
  made_ = false;
  selected_ = scroll_ = dragStartY_ = scrollAtDragStart_ = 0;
  session_.SetFontListOpen(false);
}

void FontSizeList::ShowAt(Point at, std::optional<int> scroll) {
  if (!surfaces_.Ready() || !made_) return;
  scroll_ = LimitFontListScroll(scroll.value_or(scroll_));
  HDC layer = surfaces_.PaintLayerForDrawing(
      Rect::FromSize(at.x, at.y, kFontSizeListWidth, kFontSizeListHeight));
  painter_.Show(layer, at, scroll_, selected_, surfaces_.LabelFont());
  position_ = at;
}

void FontSizeList::Hover(Point p) {
  if (!surfaces_.Ready() || !made_) return;
  const int rx = p.x - position_.x, ry = p.y - position_.y;
  if (const int entry = FontListEntryAt(rx, ry, scroll_); entry != 0) {
    painter_.ClearEntry(selected_, surfaces_.LabelFont());
    selected_ = entry;
  }
  if (dragStartY_ != 0) {
    ShowAt(position_, DraggedFontListScroll(scrollAtDragStart_, dragStartY_, ry));
  } else {
    ShowAt(position_);
  }
  surfaces_.PresentPaintLayer();
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
  selected_ = entry;
  session_.SetTextFontHeight(FontSizeOfEntry(entry));
  session_.SetFontListOpen(false);
  surfaces_.ComposePaintLayer();
  if (toolbar_) {
    toolbar_->DrawTextSizeBox();
    toolbar_->Show();
  }
  surfaces_.PresentPaintLayer();
  textBox_.SetTextHeight(session_.textFontHeight());
}

}  // namespace lumenta::capture
