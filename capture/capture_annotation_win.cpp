#include "capture/capture_annotation_win.h"

#include "capture/capture_tool_win.h"

namespace lumenta::capture {

CaptureAnnotation::CaptureAnnotation(CaptureTool& tool)
    : tool_(tool),
      textBox_(tool, tool, tool.session()),
      canvas_(tool, tool.session(), choices_, textBox_),
      output_(tool, tool, tool.session(), canvas_),
      list_(tool, tool.session(), textBox_),
      toolbar_(tool, tool.session(), choices_, list_, canvas_, textBox_, output_) {
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
