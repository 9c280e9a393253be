#pragma once
// The counters a soak watches in the process it drives: GDI and USER objects, kernel handles and
// private bytes, read from outside the process (the GUI objects, and under Wine the private
// bytes, through a probe library loaded into it, see gui_probe_win.cpp).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lumenta::soak {

struct ProcessCounters {
  long gdi = -1;
  long user = -1;
  long handles = -1;
  std::int64_t privateBytes = -1;
  // The private bytes apart from the threads' stacks: what the program itself allocated.
  std::int64_t privateBytesBesideStacks = -1;
  // Threads of the process at the reading: each one's stack is private memory while it lives
  // (the system's and the libraries' worker threads come and go).
  long threads = -1;
};

class CounterReader {
 public:
  // `process` needs PROCESS_ALL_ACCESS (threads are created in it); `probeLibrary` is the full
  // path of the probe library.
  CounterReader(HANDLE process, DWORD processId, std::wstring probeLibrary);
  CounterReader(const CounterReader&) = delete;
  CounterReader& operator=(const CounterReader&) = delete;
  ~CounterReader();

  // Loads the probe library into the process (once, before the first reading, so that its own
  // memory is in every reading); empty, or what failed.
  std::string Attach();
  [[nodiscard]] ProcessCounters Read() const;

 private:
  long CallProbe(const char* name) const;

  HANDLE process_;
  DWORD processId_;
  std::wstring probeLibrary_;
  HMODULE localProbe_ = nullptr;
  std::uintptr_t remoteProbe_ = 0;
};

// The threads a process has now; -1 when the system's list cannot be read.
long ThreadCount(DWORD processId);

// The kernel handles a process holds, from the system's handle list (Wine's
// GetProcessHandleCount reports none); -1 when the list cannot be read.
long KernelHandles(DWORD processId);

// The same handles, one line each ("Key \REGISTRY\USER\...", "File \??\C:\..."): their
// type and name, read through a copy of each, for saying what a growing count holds.
std::vector<std::string> ListKernelHandles(DWORD processId);

}  // namespace lumenta::soak
