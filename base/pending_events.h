#pragma once
// ProcessPendingEvents: runs the window messages waiting for the user-interface thread, then
// returns. Long operations (web requests, marker scans, the document search wait) call it so the
// window keeps repainting. The portable code only sees this hook; the Windows UI runtime installs
// the real message pump at start-up. Until then it does nothing.

namespace lumenta {

using PendingEventsPump = void (*)();

void ProcessPendingEvents();

// Installs the pump (nullptr restores the no-op); returns the previous one.
PendingEventsPump SetPendingEventsPump(PendingEventsPump pump);

}  // namespace lumenta
