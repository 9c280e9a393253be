#include "ui/message_loop_win.h"

#include "ui/window_win.h"

namespace lumenta::ui {

void DispatchUiMessage(MSG& message) {
  if (message.hwnd != nullptr) {
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (root != nullptr && WindowFromHandle(root) != nullptr && IsDialogMessageW(root, &message)) {
      return;
    }
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace lumenta::ui
