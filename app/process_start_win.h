#pragma once
// Starting another program without waiting for it, behind a seam the tests can replace.
#include <string>

namespace lumenta::app {

struct ProcessLaunch {
  std::wstring commandLine;
  int showCommand = 0;      // SW_... for the new program's first window
  unsigned idleWaitMs = 0;  // at most this long to wait until it is ready for input
};

// Starts the program, waits for it to become idle for input (never for its end) and closes the
// process and thread handles. False when it could not be started.
bool StartProcess(const ProcessLaunch& launch);

using ProcessStarter = bool (*)(const ProcessLaunch&);
// Replaces the starter used by LaunchProcess (nullptr restores StartProcess); returns the
// previous one.
ProcessStarter SetProcessStarter(ProcessStarter starter);
// Starts a process through the current starter.
bool LaunchProcess(const ProcessLaunch& launch);

}  // namespace lumenta::app
