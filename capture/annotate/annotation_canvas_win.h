#pragma once
// The drawing tools on the selected rectangle: rectangle, ellipse, arrow and brush drawn while
// the mouse is dragged and committed to the annotated copy at the release (the brush at every
// segment), and the text tool, whose first press places the text box and whose next press
// writes the box's text onto the annotated copy.
#include <windows.h>

#include "capture/annotate/annotation_surfaces_win.h"
#include "capture/model/annotation_choices.h"
#include "capture/model/capture_parts.h"
#include "capture/model/capture_session.h"
#include "capture/window/capture_parts_win.h"

namespace lumenta::capture {

class CaptureTextBox;

class AnnotationCanvas final : public AnnotationCanvasPart, public CanvasPainter {
 public:
  AnnotationCanvas(CaptureSurfaces& surfaces, const CaptureSession& session,
                   AnnotationChoices& choices, CaptureTextBox& textBox)
      : surfaces_(surfaces), session_(session), choices_(choices), textBox_(textBox) {}

  // The annotated copy of the current rectangle's pixels, and the working copy.
  void Start();
  // Releases both copies; no tool is chosen afterwards.
  void Clear() override;
  void ToolDown(Point p) override;
  void ToolMove(Point p) override;
  void ToolUp(Point p) override;
  // The annotated copy onto `surface` at the rectangle's place.
  void PaintOnto(HDC surface) override;

  [[nodiscard]] bool started() const { return copies_.started(); }
  // The rectangle's pixels with every committed drawing, or nullptr before Start.
  [[nodiscard]] HDC annotatedSurface() const { return copies_.annotated(); }

 private:
  [[nodiscard]] COLORREF Colour() const;
  // The working copy onto the paint layer with the frame, shown at once.
  void ShowWorking();
  void CommitText();

  CaptureSurfaces& surfaces_;
  const CaptureSession& session_;
  AnnotationChoices& choices_;
  CaptureTextBox& textBox_;
  AnnotationSurfaces copies_;  // the annotated and the working copy
  Point last_{-1, -1};         // where the shape in progress started; (-1, -1): none
};

}  // namespace lumenta::capture
