#pragma once
// Creating the capture window as designed (380 x 250, no border or title bar, always on top, in
// the task bar, white background, double clicks, its hidden text box) and running it modally.
#include <windows.h>

namespace lumenta::capture {

struct CaptureWindowHandles {
  HWND window = nullptr;
  HWND textBox = nullptr;  // the window's single-line edit box for text annotations
};

// Creates the window and its text box, not shown yet; nullptr handles on failure.
[[nodiscard]] CaptureWindowHandles CreateCaptureWindow();

// Runs `window` modally: the thread's other windows are disabled until it is destroyed, the
// Escape key closes it from anywhere inside it, and a quit message ends the wait (and is
// posted again for the main loop). `owner` (may be nullptr) is activated again afterwards.
void RunModal(HWND window, HWND owner);

}  // namespace lumenta::capture
