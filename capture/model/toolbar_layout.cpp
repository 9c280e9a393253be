#include "capture/model/toolbar_layout.h"

namespace lumenta::capture {
namespace {

constexpr int kToolbarGap = 3;  // between the selection's bottom and the toolbar
constexpr int kMinimumToolbarX = 2;
constexpr int kAboveWithoutPanel = 29;  // toolbar top above the selection's top
constexpr int kAboveWithPanel = 68;
constexpr int kFontListBelowY = 60;
constexpr int kFontListAboveY = -87;
constexpr int kFontListReach = 184;  // from the toolbar's top to the list's bottom
constexpr int kPaletteStep = 15;
constexpr int kPaletteColumns = 8;

}  // namespace

Point PlaceToolbar(const Rect& selection, bool panelShown, int screenHeight) {
  Point p{selection.right - kToolbarWidth, selection.bottom + kToolbarGap};
  if (p.x < kMinimumToolbarX) p.x = kMinimumToolbarX;
  if (!panelShown && p.y + kToolbarHeight > screenHeight) {
    p.y = selection.top - kAboveWithoutPanel;
  }
  if (panelShown && p.y + kHoverAreaHeight > screenHeight) p.y = selection.top - kAboveWithPanel;
  return p;
}

Point PlaceFontSizeList(Point toolbar, int screenHeight) {
  const int y = toolbar.y + kFontListReach > screenHeight ? toolbar.y + kFontListAboveY
                                                          : toolbar.y + kFontListBelowY;
  return {toolbar.x + kFontListOffsetX, y};
}

int ToolbarButtonAt(int rx, int ry) {
  for (int k = 0; k < static_cast<int>(kToolbarButtonZones.size()); ++k) {
    if (kToolbarButtonZones[k].Holds(rx, ry)) return k + 1;
  }
  return 0;
}

int SizeButtonAt(int rx, int ry) {
  for (int k = 0; k < static_cast<int>(kSizeButtonZones.size()); ++k) {
    if (kSizeButtonZones[k].Holds(rx, ry)) return k + 1;
  }
  return 0;
}

int SizeButtonOfWidth(int penWidth) {
  for (int k = 0; k < static_cast<int>(kSizeButtonWidths.size()); ++k) {
    if (kSizeButtonWidths[k] == penWidth) return k + 1;
  }
  return 0;
}

bool OnTextSizeBox(int rx, int ry) { return kTextSizeBoxZone.Holds(rx, ry); }

Zone PaletteEntryZone(int n, int paletteX) {
  const int r = n / kPaletteColumns, c = n % kPaletteColumns;
  return {paletteX + 33 + kPaletteStep * c, 33 + kPaletteStep * r, paletteX + 46 + kPaletteStep * c,
          46 + kPaletteStep * r};
}

Zone PaletteSwatch(int n, int paletteX) {
  const int r = n / kPaletteColumns, c = n % kPaletteColumns;
  return {paletteX + 33 + kPaletteStep * c, 4 + kPaletteStep * r, paletteX + 46 + kPaletteStep * c,
          17 + kPaletteStep * r};
}

Zone PaletteHoverFrame(int n, int paletteX) {
  const int r = n / kPaletteColumns, c = n % kPaletteColumns;
  return {paletteX + 32 + kPaletteStep * c, 32 + kPaletteStep * r, paletteX + 47 + kPaletteStep * c,
          47 + kPaletteStep * r};
}

Zone PaletteHoverFill(int n, int paletteX) {
  const int r = n / kPaletteColumns, c = n % kPaletteColumns;
  return {paletteX + 34 + kPaletteStep * c, 34 + kPaletteStep * r, paletteX + 46 + kPaletteStep * c,
          46 + kPaletteStep * r};
}

Zone ColourBoxFrame(int paletteX) { return {paletteX, 4, paletteX + 28, 32}; }

Zone ColourBoxFill(int paletteX) { return {paletteX + 2, 6, paletteX + 27, 31}; }

int PaletteEntryAt(int rx, int ry, int paletteX) {
  for (int n = 0; n < 16; ++n) {
    if (PaletteEntryZone(n, paletteX).Holds(rx, ry)) return n;
  }
  return -1;
}

}  // namespace lumenta::capture
