#pragma once
// What a capture frame holds, described well enough to tell which pixels can differ between two
// frames. A frame is the dimmed screen with the selected rectangle un-dimmed, its frame and
// handles, the size label and the magnifier panel, plus areas drawn by others ("foreign": the
// toolbar, annotations). Recomposing and presenting only the damaged pixels gives exactly the
// picture a full recomposition would give.
#include <optional>
#include <vector>

#include "base/text.h"
#include "capture/model/geometry.h"

namespace lumenta::capture {

// A translucent decoration: what it shows (key) and every pixel it may touch (extent).
struct SizeLabelMark {
  Point origin;
  Text text;
  Rect extent;
  friend bool operator==(const SizeLabelMark&, const SizeLabelMark&) = default;
};

struct MagnifierMark {
  Point point;
  Rect extent;
  friend bool operator==(const MagnifierMark&, const MagnifierMark&) = default;
};

struct FrameScene {
  bool known = false;             // false: the surface holds something not described here
  std::optional<Rect> selection;  // un-dimmed rectangle with its frame and handles
  std::optional<SizeLabelMark> label;
  std::optional<MagnifierMark> magnifier;
  std::vector<Rect> foreign;

  static FrameScene Unknown() { return {}; }
  static FrameScene Dimmed() {
    FrameScene s;
    s.known = true;
    return s;
  }
  friend bool operator==(const FrameScene&, const FrameScene&) = default;
};

// Every pixel the frame and handles of `selection` may touch: four bands 4 pixels wide around
// its edges (the handles reach 2 pixels outside the edges and 1 inside the right and bottom).
void AppendSelectionBands(const Rect& selection, std::vector<Rect>& out);

// Rectangles (clipped to the screen) that cover every pixel that can differ between a surface
// showing `from` and one showing `to`. An unknown scene on either side damages the whole screen.
[[nodiscard]] std::vector<Rect> FrameDamage(const FrameScene& from, const FrameScene& to,
                                            Size screen);

// Grows `damage` so that each translucent decoration of `to` lies wholly inside it or wholly
// outside it: a translucent fill drawn twice over the same pixel darkens it again, so one that
// is redrawn must be redrawn over restored pixels only.
void CoverTranslucentDecorations(std::vector<Rect>& damage, const FrameScene& to, Size screen);

// The smallest rectangle holding all of `rects`.
[[nodiscard]] Rect Bounds(const std::vector<Rect>& rects);

}  // namespace lumenta::capture
