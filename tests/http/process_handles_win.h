#pragma once
// The kernel handles of a process, from the system's handle list (Wine's GetProcessHandleCount
// always reports none), for leak checks in the Wine tests and the soaks.
#include <windows.h>

#include <vector>

namespace lumenta::testing_support {

// One entry of the system's handle list.
struct SystemHandleEntry {
  ULONG processId;
  BYTE objectType;
  BYTE flags;
  USHORT handle;
  PVOID object;
  ACCESS_MASK access;
};

// Every handle of every process; empty when the list cannot be read.
std::vector<SystemHandleEntry> SystemHandles();

// How many kernel handles (sockets, events, files, ...) a process (by default this one) holds;
// -1 when the list cannot be read.
int ProcessHandleCount(DWORD processId = GetCurrentProcessId());

}  // namespace lumenta::testing_support
