#pragma once
// The kernel handles of the current process, for leak checks in the Wine tests.

namespace lumenta::testing_support {

// How many kernel handles (sockets, events, files, ...) this process holds, from the system's
// handle list (Wine's GetProcessHandleCount always reports none); -1 when the list cannot be
// read.
int ProcessHandleCount();

}  // namespace lumenta::testing_support
