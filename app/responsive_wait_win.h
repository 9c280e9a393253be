#pragma once
// A wait during which the window keeps working: the messages of this thread are processed
// (ProcessPendingEvents) as they arrive until the time is up.

namespace lumenta {

void WaitProcessingMessages(unsigned milliseconds);

}  // namespace lumenta
