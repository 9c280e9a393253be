#pragma once
// What the toolbar has chosen for the drawing tools: the tool, the line width and the colour.
// Program-wide: the width and the colour are kept from one capture to the next.
#include "capture/model/palette.h"
#include "capture/model/toolbar_layout.h"

namespace lumenta::capture {

struct AnnotationChoices {
  Tool currentTool = Tool::kNone;
  int penWidth = 0;                 // 1, 4 or 8; 0 before any choice
  int currentColour = kPaletteRed;  // a palette entry
};

}  // namespace lumenta::capture
