// The main window's event table: one row per bound event. Each row names the control ("" for the
// window), the event and the handler, a plain function declared by the part that owns it.
#include "app/event_table_win.h"

#include "app/credentials_win.h"
#include "app/document_search_win.h"
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
      {"按钮_识别", EventKind::kClick, &RecognizeClicked},
      {"按钮_取图", EventKind::kClick, &TakeClipboardPicture},
      {"按钮_选图", EventKind::kClick, &ChoosePictureFile},
      {"拖放对象1", EventKind::kFilesDropped, &LoadDroppedFile},
      {"按钮_复制", EventKind::kClick, &CopyResultClicked},
      {"按钮_清空", EventKind::kClick, &ClearResultClicked},
      {"按钮_查找", EventKind::kClick, &SearchDocumentClicked},
      {"按钮_网址", EventKind::kClick, &OpenProviderPageClicked},
      {"按钮_保存key", EventKind::kClick, &SaveKeysClicked},
      {"按钮2", EventKind::kClick, &ShowSponsorWindow},
      {"按钮_截图", EventKind::kClick, &StartCapture},
  };
}

}  // namespace lumenta::app
