#include "capture/output/capture_output_win.h"

#include "capture/annotate/annotation_canvas_win.h"
#include "capture/window/capture_window_controls.h"
#include "ui/window_win.h"

namespace lumenta::capture {

RegionSource CaptureOutput::Source() {
  // The annotated copy exists once a tool has been chosen on this rectangle.
  return {surfaces_.ScreenDc(), surfaces_.Snapshot(),
          session_.ToolChosen() ? canvas_.annotatedSurface() : nullptr, session_.selection()};
}

void CaptureOutput::CopySelectionToClipboard() {
  if (surfaces_.Ready()) CopyRegionToClipboard(window_.Handle(), Source());
}

void CaptureOutput::SaveSelectionToFile() {
  ui::Window* controls = window_.Controls();
  ui::CommonDialog* dialog = controls ? controls->Dialog(capture_window::kSaveDialog) : nullptr;
  if (!dialog || !surfaces_.Ready()) return;
  if (SaveRegionToFile(Source(), *dialog) == SaveOutcome::kSaved) window_.Close();
}

void CaptureOutput::Cancel() { window_.Close(); }

}  // namespace lumenta::capture
