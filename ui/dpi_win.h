#pragma once
// DPI of windows and the outer size of a window whose client area is designed at 96 DPI. The
// per-monitor functions of newer systems are looked up at run time, so the program still starts
// where they are missing (it then works at the system DPI).
#include <windows.h>

namespace lumenta::ui {

// The DPI the window is shown at (96 when the process is not DPI aware).
[[nodiscard]] int DpiForWindow(HWND window);

// The outer size at `dpi` of a window with these styles whose outer size at 96 DPI is
// `outer96`: the client area is scaled, the frame is the system's frame at `dpi`.
[[nodiscard]] SIZE ScaledOuterSize(SIZE outer96, DWORD style, DWORD exStyle, int dpi);

// A system metric at `dpi` (GetSystemMetricsForDpi where available).
[[nodiscard]] int SystemMetricForDpi(int index, int dpi);

}  // namespace lumenta::ui
