#include "capture/model/font_size_list_model.h"

namespace lumenta::capture {

int FontSizeOfEntry(int entry) {
  if (entry >= 1 && entry <= 5) return entry + 7;
  if (entry >= 6 && entry <= kFontSizeEntries) return 2 * entry + 2;
  return 0;
}

int LimitFontListScroll(int scroll) {
  if (scroll < 0) return 0;
  if (scroll > kFontSizeScrollMax) return kFontSizeScrollMax;
  return scroll;
}

int FontListFirstRow(int scroll) { return static_cast<int>(kFontSizeScrollFactor * scroll); }

int FontListEntryAt(int rx, int ry, int scroll) {
  if (!(0 < rx && rx < 30)) return 0;
  const int row = static_cast<int>(ry + kFontSizeScrollFactor * scroll);
  for (int i = 1; i <= kFontSizeEntries; ++i) {
    if (kFontSizeEntryHeight * (i - 1) < row && row < kFontSizeEntryHeight * i) return i;
  }
  return 0;
}

bool OnFontListThumb(int rx, int ry, int scroll) {
  return 32 < rx && rx < 46 && scroll + 17 < ry && ry < scroll + 84;
}

int FontPointSize(int fontHeight) { return static_cast<int>(fontHeight / 96.0 * 72.0); }

}  // namespace lumenta::capture
