#pragma once
// Where the capture window's text box goes: placed at a press inside the selected rectangle,
// widened while text is typed, kept inside the rectangle, and where its text lands when it is
// committed to the picture. Coordinates are screen pixels.
#include "capture/model/toolbar_layout.h"

namespace lumenta::capture {

inline constexpr int kTextBoxMinimumWidth = 50;

struct TextBoxPlacement {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int pointSize = 0;  // the box's font size
  friend bool operator==(const TextBoxPlacement&, const TextBoxPlacement&) = default;
};

// A new, empty box at a press (x, y): 50 pixels wide and the text height plus 5 high, moved left
// so that it ends at the rectangle's right side and up so that a line of text fits above the
// rectangle's bottom.
[[nodiscard]] TextBoxPlacement PlaceTextBox(int x, int y, const Rect& selection, int fontHeight);

struct TextBoxWidth {
  int width = 0;
  bool readOnly = false;  // the box has reached the rectangle's right side and takes no more text
  friend bool operator==(const TextBoxWidth&, const TextBoxWidth&) = default;
};

// The width after the text changed, for text measuring `textWidth` pixels: text plus one text
// height plus 3 once that passes 50; back to 50 when the text shrinks below it; never past the
// rectangle's right side, where the box turns read-only.
[[nodiscard]] TextBoxWidth GrowTextBox(int textWidth, int currentWidth, int fontHeight, int boxLeft,
                                       int selectionRight);

// The box's top-left corner moved back inside the rectangle where the box sticks out (left
// before right, top before bottom).
[[nodiscard]] Point MoveTextBoxInside(Point box, int width, int height, const Rect& selection);

// Where the committed text is written on the annotated copy of the rectangle (region
// coordinates): one pixel right of and two below the box's corner, inside its border.
[[nodiscard]] Point TextCommitOrigin(Point box, const Rect& selection);

}  // namespace lumenta::capture
