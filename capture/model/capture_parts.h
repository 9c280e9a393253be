#pragma once
// The calls the capture window makes into the toolbar, the text-size list, the annotation
// canvas and the output. Each is an interface the capture tool holds by pointer; a part that is
// not installed is simply not called.
#include "capture/model/geometry.h"

namespace lumenta::capture {

class CaptureToolbarPart {
 public:
  virtual ~CaptureToolbarPart() = default;
  virtual void Init() = 0;   // the capture window was created
  virtual void Close() = 0;  // the capture window is being destroyed
  virtual void Show() = 0;   // after a button release: the toolbar next to the rectangle
  virtual void Hover(Point p) = 0;
  virtual void Click(Point p) = 0;
  // True when `p` lies on the toolbar or its shown panel as last shown; false while hidden.
  [[nodiscard]] virtual bool Covers(Point p) const = 0;
};

class FontSizeListPart {
 public:
  virtual ~FontSizeListPart() = default;
  virtual void Init() = 0;
  virtual void Close() = 0;
  [[nodiscard]] virtual Point Position() const = 0;  // top-left of its 49 x 124 frame
  virtual void Hover(Point p) = 0;
  virtual void Click(Point p) = 0;
  virtual void ButtonUp() = 0;
};

class AnnotationCanvasPart {
 public:
  virtual ~AnnotationCanvasPart() = default;
  virtual void Clear() = 0;
  virtual void ToolDown(Point p) = 0;
  virtual void ToolMove(Point p) = 0;
  virtual void ToolUp(Point p) = 0;
};

class CaptureOutputPart {
 public:
  virtual ~CaptureOutputPart() = default;
  virtual void CopySelectionToClipboard() = 0;
};

struct CaptureParts {
  CaptureToolbarPart* toolbar = nullptr;
  FontSizeListPart* fontSizeList = nullptr;
  AnnotationCanvasPart* canvas = nullptr;
  CaptureOutputPart* output = nullptr;
};

inline constexpr int kFontSizeListWidth = 49;
inline constexpr int kFontSizeListHeight = 124;

}  // namespace lumenta::capture
