#pragma once
// How a capture ends: the selected region (with its annotations, once a tool has been used on
// it) goes to the clipboard or into a BMP file, or the capture is thrown away.
#include <windows.h>

#include "capture/model/capture_parts.h"
#include "capture/output/region_picture_win.h"

namespace lumenta::capture {

class AnnotationCanvas;
class CaptureTool;

class CaptureOutput final : public CaptureOutputPart {
 public:
  CaptureOutput(CaptureTool& tool, AnnotationCanvas& canvas) : tool_(tool), canvas_(canvas) {}

  // The region picture becomes the clipboard's only content, the capture window its owner.
  // A busy clipboard is left as it is.
  void CopySelectionToClipboard() override;
  // Asks for a file with the capture window's save dialog 通用对话框1 and writes the region
  // picture there as a BMP file; once written, the capture window is destroyed. A cancelled
  // dialog changes nothing; a failed write says "保存失败！" and the capture window stays open.
  void SaveSelectionToFile();
  // Destroys the capture window without output.
  void Cancel();

 private:
  [[nodiscard]] RegionSource Source();

  CaptureTool& tool_;
  AnnotationCanvas& canvas_;
};

}  // namespace lumenta::capture
