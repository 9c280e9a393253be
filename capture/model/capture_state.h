#pragma once
// The program-wide state of one screen capture: valid from the click of the capture button to
// the destruction of the capture window, and set back to its start values at that destruction.
#include <cstdint>

#include "capture/model/geometry.h"

namespace lumenta::capture {

// What the current drag of the left button does; the numbers are the stored values.
enum class DragMode : std::uint8_t {
  kNone = 0,
  kTopLeft = 1,
  kTopRight = 2,
  kBottomRight = 3,
  kBottomLeft = 4,
  kTop = 5,
  kBottom = 6,
  kLeft = 7,
  kRight = 8,
  kMove = 9,
};

// Cursors of the capture window, by the identifiers of the system cursors they are loaded from.
// kArrow is the window's own arrow; kCross is the drawing tools' cross.
enum class CaptureCursor : int {
  kUnchanged = 0,
  kArrow = 1,
  kCross = 2,
  kSizeTopLeftBottomRight = 32642,
  kSizeTopRightBottomLeft = 32643,
  kSizeHorizontal = 32644,
  kSizeVertical = 32645,
  kMove = 32646,
};

inline constexpr int kDefaultTextFontHeight = 12;

struct CaptureState {
  Rect selection;    // always normalised; all four zero: no rectangle
  Point startPoint;  // where the left button went down to start a new rectangle
  Point anchor;      // fixed point of a resize or move drag; (0, 0): not yet taken
  DragMode dragMode = DragMode::kNone;
  bool hasSelection = false;  // a rectangle has been completed at least once
  bool buttonDown = false;    // the left button is down in the capture window
  bool toolActive = false;    // a drawing tool is chosen
  bool canvasStarted = false;
  bool fontBoxShown = false;
  bool fontListOpen = false;
  int textFontHeight = kDefaultTextFontHeight;

  // Back to the start values, as the destruction of the capture window leaves them.
  void Reset() { *this = CaptureState{}; }
};

}  // namespace lumenta::capture
