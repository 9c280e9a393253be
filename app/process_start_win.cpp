#include "app/process_start_win.h"

#include <windows.h>

#include <vector>

#include "win/scoped_handle_win.h"

namespace lumenta::app {
namespace {

ProcessStarter g_starter = &StartProcess;

}  // namespace

bool StartProcess(const ProcessLaunch& launch) {
  // CreateProcessW may write into the command line it is given.
  std::vector<wchar_t> commandLine(launch.commandLine.begin(), launch.commandLine.end());
  commandLine.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(launch.showCommand);
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    return false;
  }
  const win::KernelHandle process(started.hProcess);
  const win::KernelHandle thread(started.hThread);
  WaitForInputIdle(process.get(), launch.idleWaitMs);
  return true;
}

ProcessStarter SetProcessStarter(ProcessStarter starter) {
  ProcessStarter previous = g_starter;
  g_starter = starter ? starter : &StartProcess;
  return previous;
}

bool LaunchProcess(const ProcessLaunch& launch) { return g_starter(launch); }

}  // namespace lumenta::app
