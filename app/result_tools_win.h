#pragma once
// The result tools of the main window: copy and clear the result, open the provider's page.
#include "ui/window_win.h"

namespace lumenta::app {

// Handler of the click on 按钮_复制: the whole text of 编辑框_识别结果 to the clipboard (as
// CF_TEXT and CF_UNICODETEXT, the main window as owner). Nothing is shown, also when the
// clipboard cannot be opened.
void CopyResultClicked(ui::Event& event);

// Handler of the click on 按钮_清空: empties 编辑框_识别结果; the current picture stays.
void ClearResultClicked(ui::Event& event);

// Handler of the click on 按钮_网址: opens the OCR provider's console page.
void OpenProviderPageClicked(ui::Event& event);

}  // namespace lumenta::app
