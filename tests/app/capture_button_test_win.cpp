// The capture button of the main window, clicked the user's way: the running program's capture
// tool freezes the screen with the main window on it and covers the screen with its window,
// modally, until the user ends the capture; then the main window is unchanged and takes the
// keyboard again.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

#include "app/event_table_win.h"
#include "app/platform_win.h"
#include "app/startup_win.h"
#include "app/window_designs.h"
#include "capture/model/toolbar_layout.h"
#include "capture/window/screen_snapshot_win.h"
#include "tests/app/app_test_support_win.h"
#include "tests/app/main_window_fixture_win.h"
#include "tests/capture/capture_test_support_win.h"
#include "tests/support/bmp_test_reader.h"
#include "ui/window_win.h"

namespace lumenta::app {
namespace {

using testing::ThreadWindowsOfClass;

// The capture window of this thread, or nullptr.
HWND FindCaptureWindow() {
  for (HWND handle : ThreadWindowsOfClass(L"LumentaWindow")) {
    const ui::Window* window = ui::WindowFromHandle(handle);
    if (window != nullptr && window->design().id == kCaptureWindowId) return handle;
  }
  return nullptr;
}

void SendMouse(HWND window, UINT message, int x, int y) {
  SendMessageW(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

class CaptureButtonTest : public MainWindowTest {
 protected:
  // Clicks 截图至剪切板; `whileOpen` runs inside the capture window's modal loop, which the
  // click keeps running until the capture window is gone, and ends the capture. Should it not
  // end, the test closes the window after a while and says so.
  void Capture(const std::function<void(HWND capture)>& whileOpen) {
    bool ran = false;
    auto closedByTest = std::make_shared<bool>(false);
    testing::PollLater([&] {
      HWND capture = FindCaptureWindow();
      if (capture == nullptr) return false;
      ran = true;
      whileOpen(capture);
      testing::RunLater(std::chrono::seconds(10), [capture, closedByTest] {
        if (!IsWindow(capture)) return;
        *closedByTest = true;
        PostMessageW(capture, WM_CLOSE, 0, 0);
      });
      return true;
    });
    Click("按钮_截图");
    testing::CancelPendingActions();
    EXPECT_TRUE(ran) << "the capture window did not open";
    EXPECT_FALSE(*closedByTest) << "the capture did not end the user's way";
    EXPECT_EQ(FindCaptureWindow(), nullptr);
  }
};

TEST_F(CaptureButtonTest, OpensTheCaptureWindowOverTheWholeScreenWhileTheMainWindowWaits) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  Capture([&](HWND capture) {
    EXPECT_EQ(objects_.capture().window(), capture) << "the program's own capture tool";
    RECT rect;
    GetWindowRect(capture, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, width);
    EXPECT_EQ(rect.bottom, height);
    EXPECT_TRUE(IsWindowVisible(capture));
    EXPECT_TRUE(GetWindowLongW(capture, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetActiveWindow(), capture);
    // Modal, and nothing was hidden for the snapshot: the main window is still shown.
    EXPECT_FALSE(IsWindowEnabled(main_->handle()));
    EXPECT_TRUE(IsWindowVisible(main_->handle()));
    EXPECT_FALSE(IsIconic(main_->handle()));
    PostMessageW(capture, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  });
  EXPECT_EQ(objects_.capture().window(), nullptr);
}

TEST_F(CaptureButtonTest, EveryWayOfEndingTheCaptureGivesTheMainWindowBackUnchanged) {
  const struct {
    const char* way;
    std::function<void(HWND capture)> end;
  } endings[] = {
      {"Escape on the capture window",
       [](HWND capture) { PostMessageW(capture, WM_KEYDOWN, VK_ESCAPE, 0x00010001); }},
      {"a double click inside a dragged-out rectangle",
       [](HWND capture) {
         SendMouse(capture, WM_LBUTTONDOWN, 100, 100);
         SendMouse(capture, WM_MOUSEMOVE, 300, 240);
         SendMouse(capture, WM_LBUTTONUP, 300, 240);
         SendMouse(capture, WM_LBUTTONDOWN, 200, 200);
         SendMouse(capture, WM_LBUTTONUP, 200, 200);
         SendMouse(capture, WM_LBUTTONDBLCLK, 200, 200);
         SendMouse(capture, WM_LBUTTONUP, 200, 200);
         EXPECT_FALSE(IsWindow(capture));
       }},
  };
  main_->SetText("编辑框_识别结果", "kept");
  for (const auto& ending : endings) {
    SCOPED_TRACE(ending.way);
    Capture(ending.end);
    EXPECT_TRUE(IsWindowEnabled(main_->handle()));
    EXPECT_EQ(GetActiveWindow(), main_->handle());
    EXPECT_EQ(main_->GetText("编辑框_识别结果"), "kept");
    EXPECT_FALSE(objects_.capture().session().HasSelection()) << "the capture session starts over";
    EXPECT_TRUE(objects_.capture().session().selection().IsZero());
  }
}

// The whole way of a capture into the program: drag out a rectangle over a known frozen
// picture, press the toolbar's done button, then 取剪切板图片 (take the clipboard picture): the
// preview box holds a BMP file of exactly that region.
TEST_F(CaptureButtonTest, ACaptureFinishedWithDoneIsThePictureTakenFromTheClipboard) {
  const capture::Rect region{100, 120, 230, 190};
  {
    ScopedPlatform frozen([](Platform& p) { p.screenSnapshots = capture::testing::PaintPattern; });
    Capture([&](HWND capture) {
      SendMouse(capture, WM_LBUTTONDOWN, region.left, region.top);
      SendMouse(capture, WM_MOUSEMOVE, region.right, region.bottom);
      SendMouse(capture, WM_LBUTTONUP, region.right, region.bottom);
      const capture::Point toolbar =
          capture::PlaceToolbar(region, false, GetSystemMetrics(SM_CYSCREEN));
      const capture::Zone done = capture::kToolbarButtonZones[capture::kButtonDone - 1];
      const int x = toolbar.x + (done.left + done.right) / 2, y = toolbar.y + 12;
      SendMouse(capture, WM_LBUTTONDOWN, x, y);
      SendMouse(capture, WM_LBUTTONUP, x, y);
      EXPECT_FALSE(IsWindow(capture)) << "done ends the capture";
    });
  }

  Click("按钮_取图");
  const ByteBuffer picture = main_->GetPicture("图片框1");
  const auto bmp = image::bmpread::ReadBmp(picture.view());
  ASSERT_TRUE(bmp.has_value()) << "the preview holds a BMP file";
  EXPECT_EQ(picture.view().substr(0, 2), "BM");
  EXPECT_EQ(bmp->Width(), region.Width());
  EXPECT_EQ(bmp->Height(), region.Height());
  int wrong = 0;
  for (int y = 0; y < region.Height(); ++y) {
    for (int x = 0; x < region.Width(); ++x) {
      const COLORREF c = capture::testing::Pattern(region.left + x, region.top + y);
      wrong +=
          bmp->At(x, y) == image::bmpread::Rgb{GetRValue(c), GetGValue(c), GetBValue(c)} ? 0 : 1;
    }
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace lumenta::app
