#include "app/startup_win.h"

#include <memory>

#include "app/command_line_win.h"
#include "app/credentials_win.h"
#include "app/event_table_win.h"
#include "app/main_window_controls.h"
#include "app/platform_win.h"
#include "app/web_request_function_win.h"
#include "app/window_designs.h"
#include "ui/message_pump_win.h"
#include "ui/window_win.h"

namespace lumenta::app {
namespace {
ProgramObjects* g_objects = nullptr;
}

ProgramObjects::ProgramObjects() : capture_(CaptureWindowDesign()), annotation_(capture_) {
  g_objects = this;
}

ProgramObjects::~ProgramObjects() { g_objects = nullptr; }

ProgramObjects* RunningProgramObjects() { return g_objects; }

void MainWindowCreated(ui::Event& event) {
  LoadKeys(event.window, AnsiPath(KeyFilePath()));
  if (ui::DropTarget* drop = event.window.Drop(main_window::kDropTarget)) {
    static_cast<void>(drop->Register(event.window.handle()));
  }
}

void StartCapture(ui::Event& click) {
  if (ProgramObjects* objects = RunningProgramObjects()) {
    objects->capture().StartCapture(click.window.handle());
  }
}

int RunDesktopProgram() {
  // Steps 1 to 3: the global objects, destroyed when this function returns (the exit hook).
  ProgramObjects objects;
  // Long operations run the waiting window messages through this pump.
  ui::InstallMessagePump();
  // The system's own message box, dialogs, screen and the rest of the platform; the picture boxes
  // decode and fit their pictures with the program's decoders.
  InstallPlatform({});
  // Steps 4 to 6: the main window with its controls; its created event loads the keys and
  // registers the drop target.
  std::unique_ptr<ui::Window> main = ui::Window::Create(MainWindowDesign(), MainWindowEvents());
  if (!main) return 1;
  main->Show();
  // Step 7: until the main window is closed. Nothing is saved at shut-down.
  return main->RunMessageLoop();
}

int RunProgram(const std::vector<std::u16string>& arguments) {
  // Command-line recognition, or the desktop program (also for arguments it does not know, a
  // file dropped on its icon, say); either way with WebRequest behind the recognition flow.
  return RunFromCommandLine(arguments, WebRequestFunctionForProgram());
}

}  // namespace lumenta::app
