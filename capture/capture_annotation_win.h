#pragma once
// The capture tool's annotation and output parts together: the toolbar with its options panel,
// the text-size list, the canvas with the text box, and the output. Constructing this installs
// them in a capture tool (and the text box's events in its window); destroying it takes them out.
#include "capture/annotate/annotation_canvas_win.h"
#include "capture/annotate/capture_text_box_win.h"
#include "capture/model/annotation_choices.h"
#include "capture/output/capture_output_win.h"
#include "capture/toolbar/capture_toolbar_win.h"
#include "capture/toolbar/font_size_list_win.h"

namespace lumenta::capture {

class CaptureTool;

class CaptureAnnotation {
 public:
  explicit CaptureAnnotation(CaptureTool& tool);
  ~CaptureAnnotation();
  CaptureAnnotation(const CaptureAnnotation&) = delete;
  CaptureAnnotation& operator=(const CaptureAnnotation&) = delete;

  [[nodiscard]] AnnotationChoices& choices() { return choices_; }
  [[nodiscard]] CaptureToolbar& toolbar() { return toolbar_; }
  [[nodiscard]] FontSizeList& fontSizeList() { return list_; }
  [[nodiscard]] AnnotationCanvas& canvas() { return canvas_; }
  [[nodiscard]] CaptureTextBox& textBox() { return textBox_; }

 private:
  CaptureTool& tool_;
  AnnotationChoices choices_;
  CaptureTextBox textBox_;
  AnnotationCanvas canvas_;
  CaptureOutput output_;
  FontSizeList list_;
  CaptureToolbar toolbar_;
};

}  // namespace lumenta::capture
