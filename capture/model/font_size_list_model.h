#pragma once
// The arithmetic of the text-size list: nine entries of 20 pixels on a 180-pixel strip, seen
// through a 120-pixel window that a 0..25 scroll value moves by 2.38 pixels a step, and a
// scroll thumb that can be dragged.
namespace lumenta::capture {

inline constexpr int kFontSizeEntries = 9;
inline constexpr int kFontSizeEntryHeight = 20;
inline constexpr int kFontSizeDefaultEntry = 5;  // 12 pixels
inline constexpr int kFontSizeScrollMax = 25;
inline constexpr double kFontSizeScrollFactor = 2.38;

// The text height of entry i (1..9): i + 7 for the first five, 2i + 2 for the rest; 0 outside.
[[nodiscard]] int FontSizeOfEntry(int entry);

// The scroll value limited to 0..25.
[[nodiscard]] int LimitFontListScroll(int scroll);

// The first strip row the list window shows at a scroll value: truncate(2.38 × scroll).
[[nodiscard]] int FontListFirstRow(int scroll);

// The entry (1..9) under a point relative to the list's frame, or 0: 0 < rx < 30 and the strip
// row truncate(ry + 2.38 × scroll) lies strictly inside the entry's 20 rows.
[[nodiscard]] int FontListEntryAt(int rx, int ry, int scroll);

// True when a press relative to the frame lies on the scroll thumb.
[[nodiscard]] bool OnFontListThumb(int rx, int ry, int scroll);

// The scroll value while the thumb is dragged (not yet limited).
[[nodiscard]] inline int DraggedFontListScroll(int scrollAtStart, int startY, int ry) {
  return scrollAtStart + (ry - startY);
}

// The point size the text box uses for a text height in pixels: truncate(height / 96 × 72).
[[nodiscard]] int FontPointSize(int fontHeight);

}  // namespace lumenta::capture
