#include "capture/output/capture_output_win.h"

#include "capture/annotate/annotation_canvas_win.h"
#include "capture/capture_tool_win.h"

namespace lumenta::capture {

RegionSource CaptureOutput::Source() {
  const CaptureRenderer* renderer = tool_.renderer();
  const CaptureState& state = tool_.state();
  return {tool_.screenDc(), renderer ? renderer->snapshot() : nullptr,
          state.canvasStarted ? canvas_.annotatedSurface() : nullptr, state.selection};
}

void CaptureOutput::CopySelectionToClipboard() {
  if (tool_.renderer()) CopyRegionToClipboard(tool_.window(), Source());
}

void CaptureOutput::SaveSelectionToFile() {
  ui::Window* window = tool_.runtimeWindow();
  ui::CommonDialog* dialog = window ? window->Dialog("通用对话框1") : nullptr;
  if (!dialog || !tool_.renderer()) return;
  if (SaveRegionToFile(Source(), *dialog) == SaveOutcome::kSaved) tool_.DestroyWindow();
}

void CaptureOutput::Cancel() { tool_.DestroyWindow(); }

}  // namespace lumenta::capture
