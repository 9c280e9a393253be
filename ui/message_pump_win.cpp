#include "ui/message_pump_win.h"

#include <windows.h>

#include "base/pending_events.h"
#include "ui/message_loop_win.h"

namespace lumenta::ui {

void PumpPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    DispatchUiMessage(msg);
  }
}

void InstallMessagePump() { SetPendingEventsPump(&PumpPendingMessages); }

}  // namespace lumenta::ui
