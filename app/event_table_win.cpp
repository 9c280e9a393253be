// The main window's event table: one row per bound event. Each row names the control ("" for the
// window), the event and the handler, a plain function declared by the part that owns it.
#include "app/event_table_win.h"

#include "app/credentials_win.h"
#include "app/document_search_win.h"
#include "app/main_window_controls.h"
#include "app/picture_sources_win.h"
#include "app/recognition_win.h"
#include "app/result_tools_win.h"
#include "app/sponsor_window_win.h"
#include "app/startup_win.h"

namespace lumenta::app {

using ui::EventKind;

std::vector<ui::EventBinding> MainWindowEvents() {
  return {
      {"", EventKind::kCreated, &MainWindowCreated},
      {main_window::kRecognizeButton, EventKind::kClick, &RecognizeClicked},
      {main_window::kClipboardPictureButton, EventKind::kClick, &TakeClipboardPicture},
      {main_window::kPictureFileButton, EventKind::kClick, &ChoosePictureFile},
      {main_window::kDropTarget, EventKind::kFilesDropped, &LoadDroppedFile},
      {main_window::kCopyButton, EventKind::kClick, &CopyResultClicked},
      {main_window::kClearButton, EventKind::kClick, &ClearResultClicked},
      {main_window::kSearchButton, EventKind::kClick, &SearchDocumentClicked},
      {main_window::kProviderPageButton, EventKind::kClick, &OpenProviderPageClicked},
      {main_window::kSaveKeysButton, EventKind::kClick, &SaveKeysClicked},
      {main_window::kSponsorButton, EventKind::kClick, &ShowSponsorWindow},
      {main_window::kCaptureButton, EventKind::kClick, &StartCapture},
  };
}

}  // namespace lumenta::app
