#pragma once
// What the toolbar, the text-size list, the annotation canvas, the text box and the output see
// of the capture tool: the surfaces they draw on and show through, and the capture window
// itself. The capture tool implements both; the parts hold these and the session, never the
// whole tool.
#include <windows.h>

#include "capture/model/geometry.h"

namespace lumenta::ui {
class Window;
}  // namespace lumenta::ui

namespace lumenta::capture {

// The capture window's drawing surfaces. They exist while the window does (Ready); before and
// after, the device contexts and objects are nullptr and the calls do nothing.
class CaptureSurfaces {
 public:
  virtual ~CaptureSurfaces() = default;
  [[nodiscard]] virtual bool Ready() const = 0;
  // The window's client area, which covers the screen.
  [[nodiscard]] virtual HDC WindowDc() const = 0;
  // The whole screen's device context, taken at the capture's start.
  [[nodiscard]] virtual HDC ScreenDc() const = 0;
  // The frozen copy of the screen.
  [[nodiscard]] virtual HDC Snapshot() const = 0;
  // The paint layer, to draw on within `area` (copied again at the next present).
  [[nodiscard]] virtual HDC PaintLayerForDrawing(const Rect& area) = 0;
  [[nodiscard]] virtual HPEN FramePen() const = 0;
  [[nodiscard]] virtual HFONT LabelFont() const = 0;
  [[nodiscard]] virtual Size Screen() const = 0;
  // The dimmed screen into the back buffer and onto the window (the capture starts over).
  virtual void ShowDimmedScreen() = 0;
  // The paint layer rebuilt from the session: the selection frame, and the annotations once a
  // tool is chosen; the dimmed screen without a selection.
  virtual void ComposePaintLayer() = 0;
  // The selection's frame and handles on the paint layer.
  virtual void DrawSelectionFrame() = 0;
  virtual void PresentPaintLayer() = 0;
};

// The capture window while it exists (nullptr handles otherwise).
class CaptureWindowHost {
 public:
  virtual ~CaptureWindowHost() = default;
  [[nodiscard]] virtual HWND Handle() const = 0;
  // The text box of the text tool.
  [[nodiscard]] virtual HWND TextBox() const = 0;
  // The runtime's window: the controls by name.
  [[nodiscard]] virtual ui::Window* Controls() const = 0;
  // Ends the capture as the window's own close does.
  virtual void Close() = 0;
};

// The one call into the annotation canvas that needs a device context: painting the annotated
// region onto a surface when the paint layer is rebuilt.
class CanvasPainter {
 public:
  virtual ~CanvasPainter() = default;
  virtual void PaintOnto(HDC surface) = 0;
};

}  // namespace lumenta::capture
