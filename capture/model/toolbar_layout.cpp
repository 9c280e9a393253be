#include "capture/model/toolbar_layout.h"

#include <algorithm>

namespace lumenta::capture {
namespace {

constexpr int kToolbarGap = 3;  // between the selection's bottom edge and the toolbar
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
  const int height = panelShown ? kHoverAreaHeight : kToolbarHeight;
  Point p{selection.right - kToolbarWidth, selection.bottom + kToolbarGap};
  if (p.x < kMinimumToolbarX) p.x = kMinimumToolbarX;
  if (p.y + height <= screenHeight) return p;
  p.y = selection.top - (panelShown ? kAboveWithPanel : kAboveWithoutPanel);
  if (p.y >= 0) return p;
  // Neither below nor above fits. Off the screen the buttons could not be pressed, and done and
  // save would be out of reach; inside the rectangle they cover part of the picture on the
  // screen only, as the region put out is taken from the frozen picture and the drawings.
  p.y = std::max(0, selection.bottom - kToolbarGap - height);
  return p;
}

Point PlaceFontSizeList(Point toolbar, int screenHeight) {
  const int y = toolbar.y + kFontListReach > screenHeight ? std::max(0, toolbar.y + kFontListAboveY)
                                                          : toolbar.y + kFontListBelowY;
  return {toolbar.x + kFontListOffsetX, y};
}

bool ToolbarCovers(Point toolbar, int panelWidth, Point p) {
  const Rect strip = Rect::FromSize(toolbar.x, toolbar.y, kToolbarWidth, kToolbarHeight);
  const Rect panel = Rect::FromSize(toolbar.x, toolbar.y + kToolbarHeight, std::max(0, panelWidth),
                                    kHoverAreaHeight - kToolbarHeight);
  return strip.Contains(p) || panel.Contains(p);
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
