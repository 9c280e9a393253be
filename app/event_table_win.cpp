// The main window's event table: one row per bound event. Each row names the control ("" for the
// window), the event and the handler, a plain function declared by the part that owns it.
#include "app/event_table_win.h"

#include "app/credentials_win.h"
#include "app/recognition_win.h"
#include "app/sponsor_window_win.h"
#include "app/startup_win.h"

namespace lumenta::app {

using ui::EventKind;

std::vector<ui::EventBinding> MainWindowEvents() {
  return {
      {"", EventKind::kCreated, &MainWindowCreated},
      {"按钮_识别", EventKind::kClick, &RecognizeClicked},
      {"按钮_保存key", EventKind::kClick, &SaveKeysClicked},
      {"按钮2", EventKind::kClick, &ShowSponsorWindow},
  };
}

}  // namespace lumenta::app
