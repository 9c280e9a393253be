#include "capture/capture_annotation_win.h"

#include "capture/capture_tool_win.h"

namespace lumenta::capture {

CaptureAnnotation::CaptureAnnotation(CaptureTool& tool)
    : tool_(tool),
      textBox_(tool),
      canvas_(tool, choices_, textBox_),
      output_(tool, canvas_),
      list_(tool, textBox_),
      toolbar_(tool, choices_, list_, canvas_, textBox_, output_) {
  list_.SetToolbar(&toolbar_);
  CaptureParts parts;
  parts.toolbar = &toolbar_;
  parts.fontSizeList = &list_;
  parts.canvas = &canvas_;
  parts.output = &output_;
  tool_.InstallParts(parts, &canvas_);
  tool_.SetControlEvents(textBox_.Events());
}

CaptureAnnotation::~CaptureAnnotation() {
  tool_.InstallParts({});
  tool_.SetControlEvents({});
}

}  // namespace lumenta::capture
