#include "app/provider_page_win.h"

#include <windows.h>

#include "app/process_start_win.h"

namespace lumenta::app {

void OpenProviderPage() {
  ProcessLaunch launch;
  launch.commandLine = std::wstring(L"Explorer ") + kProviderPageAddress;
  launch.showCommand = SW_SHOWNORMAL;
  launch.idleWaitMs = 1000;
  LaunchProcess(launch);
}

}  // namespace lumenta::app
