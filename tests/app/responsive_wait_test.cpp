// The search's wait: it lasts its time and the window keeps processing messages meanwhile.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "app/responsive_wait_win.h"
#include "base/pending_events.h"
#include "ui/message_pump_win.h"

namespace lumenta::app {
namespace {

int g_handled = 0;

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_APP) {
    ++g_handled;
    return 0;
  }
  return DefWindowProcW(window, message, w, l);
}

class ResponsiveWaitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW type{};
    type.lpfnWndProc = &CountingProcedure;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = L"LumentaWaitTest";
    RegisterClassW(&type);
    window_ = CreateWindowExW(0, L"LumentaWaitTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
    previous_ = SetPendingEventsPump(&ui::PumpPendingMessages);
    g_handled = 0;
  }
  void TearDown() override {
    SetPendingEventsPump(previous_);
    DestroyWindow(window_);
  }

  static double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
  }

  HWND window_ = nullptr;
  PendingEventsPump previous_ = nullptr;
};

TEST_F(ResponsiveWaitTest, LastsItsTimeAndHandlesMessagesWaitingAndArrivingMeanwhile) {
  PostMessageW(window_, WM_APP, 0, 0);
  HWND window = window_;
  std::thread later([window] {
    Sleep(150);
    PostMessageW(window, WM_APP, 0, 0);
  });
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  WaitProcessingMessages(500);
  QueryPerformanceCounter(&end);
  later.join();
  EXPECT_EQ(g_handled, 2);
  // The tick counter behind the wait moves in steps of a few milliseconds.
  EXPECT_GE(Milliseconds(start, end), 480.0);
}

TEST_F(ResponsiveWaitTest, LeavesAQuitMessageForTheMainLoop) {
  PostQuitMessage(7);
  WaitProcessingMessages(100);
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace lumenta::app
