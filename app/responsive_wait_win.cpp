#include "app/responsive_wait_win.h"

#include <windows.h>

#include "base/pending_events.h"

namespace lumenta::app {

void WaitProcessingMessages(unsigned milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    ProcessPendingEvents();
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    const DWORD left = static_cast<DWORD>(deadline - now);
    // The program is closing: the quit message stays queued for the main loop, and the wait
    // sleeps out its time instead of waking for that message again and again.
    MSG quit;
    if (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) {
      Sleep(left);
      return;
    }
    // Wakes for messages that arrive after the ones just processed, or when the time is up.
    MsgWaitForMultipleObjectsEx(0, nullptr, left, QS_ALLINPUT, 0);
  }
}

}  // namespace lumenta::app
