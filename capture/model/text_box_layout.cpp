#include "capture/model/text_box_layout.h"

#include "capture/model/font_size_list_model.h"

namespace lumenta::capture {
namespace {

constexpr int kBoxExtraHeight = 5;
constexpr int kGrowthMargin = 3;

}  // namespace

TextBoxPlacement PlaceTextBox(int x, int y, const Rect& selection, int fontHeight) {
  TextBoxPlacement box{x, y, kTextBoxMinimumWidth, fontHeight + kBoxExtraHeight,
                       FontPointSize(fontHeight)};
  if (box.left + kTextBoxMinimumWidth > selection.right) {
    box.left = selection.right - kTextBoxMinimumWidth;
  }
  if (box.top + fontHeight > selection.bottom) {
    box.top = selection.bottom - fontHeight - kBoxExtraHeight;
  }
  return box;
}

TextBoxWidth GrowTextBox(int textWidth, int currentWidth, int fontHeight, int boxLeft,
                         int selectionRight) {
  TextBoxWidth result{currentWidth, false};
  if (textWidth + fontHeight > kTextBoxMinimumWidth) {
    result.width = textWidth + fontHeight + kGrowthMargin;
  } else if (textWidth < currentWidth && textWidth < kTextBoxMinimumWidth) {
    result.width = kTextBoxMinimumWidth;
  }
  if (result.width > selectionRight - boxLeft) {
    result.readOnly = true;
    result.width = selectionRight - boxLeft;
    if (result.width < 0) result.width = 0;  // a box dragged past the right side
  }
  return result;
}

Point MoveTextBoxInside(Point box, int width, int height, const Rect& selection) {
  if (box.x < selection.left) box.x = selection.left;
  if (box.x + width > selection.right) box.x = selection.right - width;
  if (box.y < selection.top) box.y = selection.top;
  if (box.y + height > selection.bottom) box.y = selection.bottom - height;
  return box;
}

Point TextCommitOrigin(Point box, const Rect& selection) {
  return {box.x - selection.left + 1, box.y - selection.top + 2};
}

}  // namespace lumenta::capture
