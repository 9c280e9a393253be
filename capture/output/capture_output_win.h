#pragma once
// How a capture ends: the selected region (with its annotations, once a tool has been used on
// it) goes to the clipboard or into a BMP file, or the capture is thrown away.
#include <windows.h>

#include "capture/model/capture_parts.h"
#include "capture/model/capture_session.h"
#include "capture/output/region_picture_win.h"
#include "capture/window/capture_parts_win.h"

namespace lumenta::capture {

class AnnotationCanvas;

class CaptureOutput final : public CaptureOutputPart {
 public:
  CaptureOutput(const CaptureSurfaces& surfaces, CaptureWindowHost& window,
                const CaptureSession& session, AnnotationCanvas& canvas)
      : surfaces_(surfaces), window_(window), session_(session), canvas_(canvas) {}

  // The region picture becomes the clipboard's only content, the capture window its owner.
  // A busy clipboard is left as it is.
  void CopySelectionToClipboard() override;
  // Asks for a file with the capture window's save dialog (capture_window::kSaveDialog) and writes
  // the region picture there as a BMP file; once written, the capture window is destroyed. A
  // cancelled dialog changes nothing; a failed write says "保存失败！" and the capture window stays
  // open.
  void SaveSelectionToFile();
  // Destroys the capture window without output.
  void Cancel();

 private:
  [[nodiscard]] RegionSource Source();

  const CaptureSurfaces& surfaces_;
  CaptureWindowHost& window_;
  const CaptureSession& session_;
  AnnotationCanvas& canvas_;
};

}  // namespace lumenta::capture
