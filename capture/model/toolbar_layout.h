#pragma once
// Where the capture toolbar, its options panel and the text-size list sit, and which of their
// zones a point falls on. Toolbar coordinates are relative to the toolbar's top-left corner
// (tx, ty); the options panel's top-left corner lies at (tx, ty + 29). A point is on a zone when
// it lies strictly inside it, so the outline drawn on a zone's edge never counts as the zone.
#include <array>
#include <cstdint>

#include "capture/model/geometry.h"

namespace lumenta::capture {

inline constexpr int kToolbarWidth = 292;
inline constexpr int kToolbarHeight = 26;
inline constexpr int kPanelOffsetY = 29;  // from the toolbar's top to the panel's top
inline constexpr int kPanelHeight = 37;
inline constexpr int kPanelWidthWide = 248;
inline constexpr int kPanelWidthNarrow = 167;
inline constexpr int kPaletteXWide = 89;
inline constexpr int kPaletteXNarrow = 8;
inline constexpr int kHoverAreaHeight = 66;  // toolbar and panel together
inline constexpr int kFontListOffsetX = 30;

// A rectangle by its four edges; "holds" means strictly inside.
struct Zone {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  [[nodiscard]] constexpr bool Holds(int x, int y) const {
    return left < x && x < right && top < y && y < bottom;
  }
  [[nodiscard]] constexpr Zone Moved(int dx, int dy) const {
    return {left + dx, top + dy, right + dx, bottom + dy};
  }
  friend constexpr bool operator==(const Zone&, const Zone&) = default;
};

// The drawing tools, by their stored numbers (the toolbar buttons 1 to 5).
enum class Tool : std::uint8_t {
  kNone = 0,
  kRectangle = 1,
  kEllipse = 2,
  kArrow = 3,
  kBrush = 4,
  kText = 5,
};

// Toolbar buttons 1..9: the five tools, reset, save, cancel, done.
inline constexpr int kButtonReset = 6;
inline constexpr int kButtonSave = 7;
inline constexpr int kButtonCancel = 8;
inline constexpr int kButtonDone = 9;
inline constexpr std::array<Zone, 9> kToolbarButtonZones = {{
    {6, 3, 31, 23},
    {32, 3, 56, 23},
    {57, 3, 82, 23},
    {83, 3, 109, 23},
    {110, 3, 134, 23},
    {144, 3, 168, 23},
    {169, 3, 195, 23},
    {203, 3, 229, 23},
    {230, 3, 286, 23},
}};

// The three line-width buttons of the panel (1, 4 and 8 pixels), in toolbar coordinates, and
// the outline that marks the chosen one, in panel coordinates.
inline constexpr std::array<int, 3> kSizeButtonWidths = {1, 4, 8};
inline constexpr std::array<Zone, 3> kSizeButtonZones = {{
    {8, 37, 26, 56},
    {30, 37, 50, 56},
    {57, 37, 77, 56},
}};
inline constexpr std::array<Zone, 3> kSizeButtonOutlines = {{
    {8, 8, 26, 27},
    {30, 8, 50, 27},
    {57, 8, 77, 27},
}};

// The text-size box, in toolbar coordinates.
inline constexpr Zone kTextSizeBoxZone = {31, 38, 77, 57};

// The top-left corner of the toolbar for a selection: right-aligned with it, 3 pixels below it,
// never closer than 2 pixels to the left screen edge; above the selection when the toolbar (and
// the panel, when shown) would leave the bottom of the screen; and when that would leave the top
// too (a selection reaching near both), inside the selection along its bottom edge, 3 pixels
// above it, so that toolbar and panel stay on the screen with every button in reach.
[[nodiscard]] Point PlaceToolbar(const Rect& selection, bool panelShown, int screenHeight);

// The top-left corner of the text-size list for a toolbar at `toolbar`: under the text-size box,
// or above the toolbar when the list would leave the bottom of the screen, but never above the
// screen's top edge.
[[nodiscard]] Point PlaceFontSizeList(Point toolbar, int screenHeight);

// True when the pixel `p` belongs to the toolbar at `toolbar` or, when a panel `panelWidth`
// pixels wide is shown (0: none), to the panel and the gap between the two.
[[nodiscard]] bool ToolbarCovers(Point toolbar, int panelWidth, Point p);

// The toolbar button (1..9) holding a point in toolbar coordinates, or 0.
[[nodiscard]] int ToolbarButtonAt(int rx, int ry);

// The size button (1..3) holding a point in toolbar coordinates, or 0.
[[nodiscard]] int SizeButtonAt(int rx, int ry);

// The size button (1..3) of a line width (1, 4 or 8), or 0 for any other width.
[[nodiscard]] int SizeButtonOfWidth(int penWidth);

[[nodiscard]] bool OnTextSizeBox(int rx, int ry);

// Palette entry n sits in row n / 8 and column n % 8 of the palette whose colour box is at panel
// x `paletteX`.
[[nodiscard]] Zone PaletteEntryZone(int n, int paletteX);   // toolbar coordinates
[[nodiscard]] Zone PaletteSwatch(int n, int paletteX);      // panel coordinates
[[nodiscard]] Zone PaletteHoverFrame(int n, int paletteX);  // toolbar coordinates
[[nodiscard]] Zone PaletteHoverFill(int n, int paletteX);   // toolbar coordinates
[[nodiscard]] Zone ColourBoxFrame(int paletteX);            // panel coordinates
[[nodiscard]] Zone ColourBoxFill(int paletteX);             // panel coordinates

// The first palette entry (0..15) holding a point in toolbar coordinates, or -1.
[[nodiscard]] int PaletteEntryAt(int rx, int ry, int paletteX);

}  // namespace lumenta::capture
