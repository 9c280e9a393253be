#pragma once
// The one call into the annotation canvas that needs a device context: painting the annotated
// region onto a surface when the paint layer is rebuilt.
#include <windows.h>

namespace lumenta::capture {

class CanvasPainter {
 public:
  virtual ~CanvasPainter() = default;
  virtual void PaintOnto(HDC surface) = 0;
};

}  // namespace lumenta::capture
