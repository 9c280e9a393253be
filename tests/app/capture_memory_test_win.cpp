// A capture whose surfaces of the screen's size cannot be made (a 32-bit program short of address
// space on a large screen), forced through the platform's surface maker: the capture button
// opens no capture window, the message says the screen is too large for the memory left, no GDI
// or USER object stays behind, and the main window goes on working (a capture after it opens).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/event_table_win.h"
#include "app/platform_win.h"
#include "app/startup_win.h"
#include "app/window_designs.h"
#include "capture/capture_tool_win.h"
#include "capture/window/screen_snapshot_win.h"
#include "tests/app/app_test_support_win.h"
#include "tests/app/main_window_fixture_win.h"
#include "tests/capture/gui_object_counts_win.h"
#include "ui/message_box.h"
#include "ui/window_win.h"

namespace lumenta::app {
namespace {

using testing::ThreadWindowsOfClass;

// The capture windows of this thread (none or one).
std::vector<HWND> CaptureWindows() {
  std::vector<HWND> found;
  for (HWND handle : ThreadWindowsOfClass(L"LumentaWindow")) {
    const ui::Window* window = ui::WindowFromHandle(handle);
    if (window != nullptr && window->design().id == kCaptureWindowId) found.push_back(handle);
  }
  return found;
}

class CaptureMemoryTest : public MainWindowTest {
 protected:
  // Clicks 截图至剪切板 the user's way; a capture window that opens is closed with Escape and
  // counted.
  int ClickCapture() {
    int opened = 0;
    objects_.capture().SetOpenedHook([&](HWND window) {
      ++opened;
      PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    });
    Click("按钮_截图");
    objects_.capture().SetOpenedHook(nullptr);
    testing::PumpMessages();
    return opened;
  }
};

TEST_F(CaptureMemoryTest, AScreenTooLargeForTheMemoryLeftOpensNoWindowAndSaysWhy) {
  const capture::Size screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  // 屏幕太大（W×H），可用的内存不足以截取整个屏幕！
  const std::string expected = "\xC6\xC1\xC4\xBB\xCC\xAB\xB4\xF3\xA3\xA8" +
                               std::to_string(screen.width) + "\xA1\xC1" +
                               std::to_string(screen.height) +
                               "\xA3\xA9\xA3\xAC\xBF\xC9\xD3\xC3\xB5\xC4\xC4\xDA\xB4\xE6\xB2\xBB"
                               "\xD7\xE3\xD2\xD4\xBD\xD8\xC8\xA1\xD5\xFB\xB8\xF6\xC6\xC1\xC4\xBB"
                               "\xA3\xA1";
  EXPECT_EQ(capture::ScreenTooLargeMessage(screen), expected);

  // Whichever of the four surfaces is the one that cannot be made; the first round also loads
  // what the main window and the system make once (the main window's colour brushes as it
  // repaints), the object counts are taken after it.
  capture::testing::GuiObjectCounts countsBefore;
  std::vector<std::string> userObjectsBefore;
  for (int round = 0; round < 2; ++round) {
    if (round == 1) {
      countsBefore = capture::testing::CountGuiObjects();
      userObjectsBefore = capture::testing::ListUserObjects();
    }
    for (int failing = 1; failing <= 4; ++failing) {
      SCOPED_TRACE("surface " + std::to_string(failing) + " cannot be made");
      int made = 0;
      std::vector<capture::Size> asked;
      std::vector<Text> shown;
      {
        Platform shortOfMemory;
        shortOfMemory.screenSurfaces = [&](HDC screenDc, int width, int height,
                                           capture::ScreenSurfaceUse use) {
          asked.push_back({width, height});
          if (++made == failing) return win::MemorySurface();
          return capture::MakeSystemScreenSurface(screenDc, width, height, use);
        };
        ScopedPlatform platform(std::move(shortOfMemory));
        const ui::MessageRecorder messages;  // over the platform's message box
        EXPECT_EQ(ClickCapture(), 0) << "no capture window opened";
        shown = messages.texts();
      }
      EXPECT_EQ(made, failing) << "nothing more is made after the first that cannot be";
      for (const capture::Size& size : asked) EXPECT_EQ(size, screen);
      EXPECT_TRUE(CaptureWindows().empty());
      EXPECT_EQ(objects_.capture().window(), nullptr);
      ASSERT_EQ(shown.size(), 1u);
      EXPECT_EQ(shown.front(), expected);
      EXPECT_TRUE(IsWindowEnabled(main_->handle()));
      EXPECT_TRUE(IsWindowVisible(main_->handle()));
    }
  }
  EXPECT_EQ(capture::testing::CountGuiObjects(), countsBefore)
      << "new USER objects: " << capture::testing::NewUserObjects(userObjectsBefore);

  // The main window goes on working: its text box takes text, and the next capture opens.
  main_->SetText("编辑框_识别结果", "still here");
  EXPECT_EQ(main_->GetText("编辑框_识别结果"), "still here");
  const ui::MessageRecorder messages;
  EXPECT_EQ(ClickCapture(), 1);
  EXPECT_TRUE(messages.texts().empty());
  EXPECT_TRUE(CaptureWindows().empty());
  EXPECT_TRUE(IsWindowEnabled(main_->handle()));
}

// The program's own maker gives, for the surfaces whose pixels the program reads, 32-bit DIB
// sections of the size asked with their pixels; for the others, bitmaps like the screen's.
TEST(ScreenSurfaces, ThoseReadDirectlyAreDibSectionsWithTheirPixelsTheOthersLikeTheScreen) {
  HDC screenDc = GetDC(nullptr);
  const win::MemorySurface surface =
      capture::MakeScreenSurface(screenDc, 640, 480, capture::ScreenSurfaceUse::kPixels);
  const win::MemorySurface drawing =
      capture::MakeScreenSurface(screenDc, 640, 480, capture::ScreenSurfaceUse::kDrawing);
  const int screenBits = GetDeviceCaps(screenDc, BITSPIXEL);
  ReleaseDC(nullptr, screenDc);
  ASSERT_TRUE(drawing);
  BITMAP compatible{};
  ASSERT_EQ(GetObjectW(drawing.bitmap(), sizeof compatible, &compatible), int(sizeof compatible));
  EXPECT_EQ(compatible.bmWidth, 640);
  EXPECT_EQ(compatible.bmHeight, 480);
  EXPECT_EQ(compatible.bmBitsPixel, screenBits);
  DIBSECTION notDib{};
  EXPECT_NE(GetObjectW(drawing.bitmap(), sizeof notDib, &notDib), int(sizeof notDib));
  ASSERT_TRUE(surface);
  ASSERT_NE(surface.bits(), nullptr);
  DIBSECTION dib{};
  ASSERT_EQ(GetObjectW(surface.bitmap(), sizeof dib, &dib), int(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 640);
  EXPECT_EQ(dib.dsBm.bmHeight, 480);
  EXPECT_EQ(dib.dsBm.bmBitsPixel, 32);
  EXPECT_EQ(dib.dsBm.bmBits, surface.bits());
  // Top-down, B, G, R in memory.
  SetPixel(surface.dc(), 1, 0, RGB(10, 20, 30));
  GdiFlush();
  EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(surface.bits())[1] & 0xFFFFFF, 0x0A141Eu);
}

}  // namespace
}  // namespace lumenta::app
