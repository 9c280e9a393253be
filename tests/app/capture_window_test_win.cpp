// The capture window as designed (the capture tool sizes and drives it): no frame, topmost, in
// the task bar, white, with its hidden text box and its save-file dialog.
#include <gtest/gtest.h>

#include "app/window_designs.h"
#include "base/text_encoders.h"
#include "tests/app/app_test_support_win.h"
#include "ui/window_win.h"

namespace lumenta::app {
namespace {

using namespace std::chrono_literals;

TEST(CaptureWindow, IsABorderlessTopmostWhiteWindowAtItsDesignedSize) {
  auto window = ui::Window::Create(CaptureWindowDesign());
  ASSERT_NE(window, nullptr);
  window->Show();
  HWND handle = window->handle();
  const DWORD style = GetWindowLongW(handle, GWL_STYLE);
  const DWORD exStyle = GetWindowLongW(handle, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_SYSMENU));
  EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
  EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
  EXPECT_EQ(testing::TextOf(handle), u"");
  RECT rect;
  GetWindowRect(handle, &rect);
  EXPECT_EQ(rect.left, 0);  // not centred
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right - rect.left, 380);
  EXPECT_EQ(rect.bottom - rect.top, 250);
  RedrawWindow(handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetDC(handle);
  EXPECT_EQ(GetPixel(dc, 10, 10), RGB(255, 255, 255));
  ReleaseDC(handle, dc);
}

TEST(CaptureWindow, HasAHiddenSingleLineTextBoxAndABitmapSaveDialog) {
  auto window = ui::Window::Create(CaptureWindowDesign());
  ASSERT_NE(window, nullptr);
  HWND box = window->ControlHandle("编辑框1");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(_wcsicmp(testing::ClassOf(box).c_str(), L"Edit"), 0);
  EXPECT_FALSE(GetWindowLongW(box, GWL_STYLE) & WS_VISIBLE);
  EXPECT_FALSE(GetWindowLongW(box, GWL_STYLE) & ES_MULTILINE);
  // A single-line frame, not a sunken edge: the edit control draws it itself (it takes the
  // WS_BORDER style off at creation), darker than the box's white.
  EXPECT_FALSE(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  window->Show();
  ShowWindow(box, SW_SHOW);
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetDC(box);
  const COLORREF frame = GetPixel(dc, 0, 8);
  const COLORREF inside = GetPixel(dc, 24, 8);
  ReleaseDC(box, dc);
  EXPECT_EQ(inside, GetSysColor(COLOR_WINDOW));
  const auto brightness = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
  EXPECT_LT(brightness(frame), brightness(inside) - 60);
  const RECT rect = testing::RectIn(box, window->handle());
  EXPECT_EQ(rect.left, 72);
  EXPECT_EQ(rect.top, 96);
  EXPECT_EQ(rect.right - rect.left, 48);
  EXPECT_EQ(rect.bottom - rect.top, 16);

  ui::CommonDialog* dialog = window->Dialog("通用对话框1");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->kind(), ui::DialogKind::kSaveFile);
  EXPECT_EQ(dialog->filter(), Utf8ToAnsi("位图|*.bmp"));
  EXPECT_EQ(dialog->defaultExtension(), ".bmp");
  EXPECT_EQ(dialog->owner(), window->handle());
}

TEST(CaptureWindow, EscClosesItAsAModalWindow) {
  bool created = false;
  ui::Window::LoadModal(CaptureWindowDesign(), {{"", ui::EventKind::kCreated, [&](ui::Event& e) {
                                                   created = true;
                                                   HWND handle = e.window.handle();
                                                   testing::RunLater(50ms, [handle] {
                                                     PostMessageW(handle, WM_KEYDOWN, VK_ESCAPE,
                                                                  0x00010001);
                                                   });
                                                 }}});
  EXPECT_TRUE(created);
  EXPECT_TRUE(testing::ThreadWindowsOfClass(L"LumentaWindow").empty());
}

}  // namespace
}  // namespace lumenta::app
