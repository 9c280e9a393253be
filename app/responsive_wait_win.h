#pragma once
// A wait during which the window keeps working: the messages of this thread are processed
// (ProcessPendingEvents) as they arrive until the time is up.

namespace lumenta::app {

void WaitProcessingMessages(unsigned milliseconds);

}  // namespace lumenta::app
