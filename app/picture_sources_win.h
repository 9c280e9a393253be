#pragma once
// The three sources of the current picture, the picture of 图片框1 in the main window: a file
// chosen in the open-file dialog (按钮_选图), a file dropped on the window (拖放对象1), and the
// bitmap on the clipboard (按钮_取图). Each replaces the bytes of the box as they are; the box
// shows what it can decode.
#include <string_view>

#include "base/text.h"
#include "ui/window_win.h"

namespace lumenta::app {

// 按钮_选图 click: shows 通用对话框1 (initial folder the desktop, the picture filter, its first
// entry preselected) and loads the file the dialog names afterwards, whatever the user did: the
// dialog keeps the last confirmed name, so a cancel reloads that file, or clears the box when
// nothing was ever confirmed.
void ChoosePictureFile(ui::Event& event);

// 拖放对象1 files dropped: loads the dropped file (the first one when several were dropped); a
// file that cannot be read clears the box.
void LoadDroppedFile(ui::Event& event);

// 按钮_取图 click: the clipboard's bitmap as a BMP file (opened with the main window as owner).
// Without a bitmap on the clipboard the box keeps its picture and "剪切板中没有图片！" is shown.
void TakeClipboardPicture(ui::Event& event);

// The whole file named by a GBK path; empty for an empty name, a missing or unreadable file, a
// folder, or a file over kMaxPictureFileBytes.
[[nodiscard]] ByteBuffer ReadPictureFile(std::string_view path);

// The user's desktop folder (GBK) with a trailing separator; empty when the system has none.
[[nodiscard]] Text DesktopFolder();

}  // namespace lumenta::app
