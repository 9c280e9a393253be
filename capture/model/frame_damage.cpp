#include "capture/model/frame_damage.h"

namespace lumenta::capture {
namespace {

void AppendClipped(const Rect& r, Size screen, std::vector<Rect>& out) {
  const Rect clipped = Intersection(r, Rect{0, 0, screen.width, screen.height});
  if (!clipped.IsEmpty()) out.push_back(clipped);
}

bool Touches(const std::vector<Rect>& damage, const Rect& r) {
  for (const Rect& d : damage) {
    if (Intersects(d, r)) return true;
  }
  return false;
}

}  // namespace

void AppendSelectionBands(const Rect& s, std::vector<Rect>& out) {
  out.push_back({s.left - 2, s.top - 2, s.right + 2, s.top + 2});
  out.push_back({s.left - 2, s.bottom - 2, s.right + 2, s.bottom + 2});
  out.push_back({s.left - 2, s.top - 2, s.left + 2, s.bottom + 2});
  out.push_back({s.right - 2, s.top - 2, s.right + 2, s.bottom + 2});
}

std::vector<Rect> FrameDamage(const FrameScene& from, const FrameScene& to, Size screen) {
  std::vector<Rect> damage;
  if (!from.known || !to.known) {
    AppendClipped({0, 0, screen.width, screen.height}, screen, damage);
    return damage;
  }
  std::vector<Rect> raw;
  if (from.selection != to.selection) {
    const Rect a = from.selection.value_or(Rect{});
    const Rect b = to.selection.value_or(Rect{});
    // The un-dimmed area changes where exactly one of the two rectangles lies.
    AppendDifference(a, b, raw);
    AppendDifference(b, a, raw);
    if (from.selection) AppendSelectionBands(*from.selection, raw);
    if (to.selection) AppendSelectionBands(*to.selection, raw);
  }
  if (from.label != to.label) {
    if (from.label) raw.push_back(from.label->extent);
    if (to.label) raw.push_back(to.label->extent);
  }
  if (from.magnifier != to.magnifier) {
    if (from.magnifier) raw.push_back(from.magnifier->extent);
    if (to.magnifier) raw.push_back(to.magnifier->extent);
  }
  raw.insert(raw.end(), from.foreign.begin(), from.foreign.end());
  raw.insert(raw.end(), to.foreign.begin(), to.foreign.end());
  for (const Rect& r : raw) AppendClipped(r, screen, damage);
  return damage;
}

void CoverTranslucentDecorations(std::vector<Rect>& damage, const FrameScene& to, Size screen) {
  bool labelCovered = false, magnifierCovered = false;
  for (bool grew = true; grew;) {
    grew = false;
    if (to.label && !labelCovered && Touches(damage, to.label->extent)) {
      AppendClipped(to.label->extent, screen, damage);
      labelCovered = grew = true;
    }
    if (to.magnifier && !magnifierCovered && Touches(damage, to.magnifier->extent)) {
      AppendClipped(to.magnifier->extent, screen, damage);
      magnifierCovered = grew = true;
    }
  }
}

Rect Bounds(const std::vector<Rect>& rects) {
  Rect b;
  for (const Rect& r : rects) b = Union(b, r);
  return b;
}

}  // namespace lumenta::capture
