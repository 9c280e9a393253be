#pragma once
// The Windows side of ProcessPendingEvents: dispatches the messages waiting for this thread.

namespace lumenta::ui {

// Installs the pump behind ProcessPendingEvents for the calling (user-interface) thread.
void InstallMessagePump();

// Dispatches every message now waiting for this thread. A WM_QUIT taken off the queue is posted
// again so that the main message loop still ends.
void PumpPendingMessages();

}  // namespace lumenta::ui
