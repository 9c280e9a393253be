#pragma once
// How every message loop of the program hands a message on: keyboard navigation inside the
// runtime's windows (Tab, arrow keys, Esc), then translation and dispatch. The main loop, the
// modal loops and the pending-events pump all use it, so a window behaves the same whichever
// loop is running.
#include <windows.h>

namespace lumenta::ui {

void DispatchUiMessage(MSG& message);

}  // namespace lumenta::ui
