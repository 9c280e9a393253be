#pragma once
// Start-up and shut-down of the desktop program, and the program-wide objects.
#include <string>
#include <vector>

#include "app/word_automation_win.h"
#include "capture/capture_annotation_win.h"
#include "capture/capture_tool_win.h"
#include "ui/window_win.h"

namespace lumenta::app {

// The program's global objects. Constructing them is start-up steps 1 and 2 (COM for the
// user-interface thread comes with WordAutomation); destroying them is the exit hook. Only one
// exists at a time.
class ProgramObjects {
 public:
  ProgramObjects();
  ~ProgramObjects();
  ProgramObjects(const ProgramObjects&) = delete;
  ProgramObjects& operator=(const ProgramObjects&) = delete;

  WordAutomation& word() { return word_; }
  capture::CaptureTool& capture() { return capture_; }

 private:
  // Constructed first and destroyed last: every other object may use COM.
  WordAutomation word_;
  // The capture tool with the program-wide capture state and magnifier; each capture makes its
  // window from the capture window's design.
  capture::CaptureTool capture_;
  // Its toolbar with the options panel, text-size list, annotation canvas and output.
  capture::CaptureAnnotation annotation_;
};

// The program-wide objects while the desktop program runs, else nullptr.
[[nodiscard]] ProgramObjects* RunningProgramObjects();

// The main window's created event (start-up steps 5 and 6): fills 编辑框1 and 编辑框2 from key.ini
// beside the program, then registers 拖放对象1 as the drop target of the window (registration
// succeeds once; a failed one leaves dropping off, silently).
void MainWindowCreated(ui::Event& event);

// The click of 按钮_截图: the running program's capture tool freezes the screen and shows the
// capture window modally over the main window; returns when the capture window is gone.
void StartCapture(ui::Event& click);

// The desktop program: start-up, the message loop until the main window closes, shut-down.
// Returns the process exit code.
int RunDesktopProgram();

// Decides from the command-line arguments (without the program name) what the program does.
// Without arguments it is the desktop program.
int RunProgram(const std::vector<std::u16string>& arguments);

}  // namespace lumenta::app
