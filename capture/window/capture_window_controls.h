#pragma once
// The names of the capture window's controls, written once for its design (app/) and the
// capture code that works on them.
#include <array>
#include <string_view>

namespace lumenta::capture::capture_window {

// The text tool's text box, hidden until the tool places it.
inline constexpr std::string_view kTextBox = "编辑框1";
// The save dialog of the toolbar's save button (bitmap files).
inline constexpr std::string_view kSaveDialog = "通用对话框1";

// Every control of the window, in design order.
inline constexpr std::array kAllControls = {kTextBox, kSaveDialog};

}  // namespace lumenta::capture::capture_window
