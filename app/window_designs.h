#pragma once
// The designs of the program's three windows: the main window, the sponsor window and the
// capture window. Control names are the system's names; other parts of the program address the
// controls by them.
#include "ui/design.h"

namespace lumenta::app {

inline constexpr int kMainWindowId = 1;
inline constexpr int kSponsorWindowId = 2;
inline constexpr int kCaptureWindowId = 3;

// Resource numbers in the program image (res/program_resources.rc).
inline constexpr int kMainIconResource = 1;
inline constexpr int kSponsorPictureResource = 101;  // RCDATA: the sponsorship JPEG

// "Lumenta by Vorel", 520 x 407, fixed border, the two pages "图文识别" and "API设置".
[[nodiscard]] const ui::WindowDesign& MainWindowDesign();
// "Vorel", 487 x 227, resizable, the sponsorship text and picture.
[[nodiscard]] const ui::WindowDesign& SponsorWindowDesign();
// No title or border, 380 x 250 as designed (the capture code maximises it), topmost, white,
// with the text box 编辑框1 for annotations and the save-file dialog 通用对话框1.
[[nodiscard]] const ui::WindowDesign& CaptureWindowDesign();

}  // namespace lumenta::app
