// The sponsor window, opened the user's way (a click on 赞助), read back while it is open, and
// closed again: it is modal, centred, resizable, and leaves nothing behind.
#include <gtest/gtest.h>

#include "app/event_table_win.h"
#include "app/window_designs.h"
#include "tests/app/app_test_support_win.h"
#include "tests/capture/gui_object_counts_win.h"
#include "ui/picture_box_win.h"
#include "ui/window_win.h"

namespace lumenta::app {
namespace {

using namespace std::chrono_literals;
using testing::ClassOf;
using testing::FontOf;
using testing::RectIn;
using testing::TextOf;

// The open sponsor window of this thread, or nullptr.
HWND FindSponsorWindow() {
  for (HWND window : testing::ThreadWindowsOfClass(L"LumentaWindow")) {
    if (IsWindowVisible(window) && TextOf(window) == u"Vorel") return window;
  }
  return nullptr;
}

HWND ChildNamed(HWND sponsor, std::string_view name) {
  ui::Window* window = ui::WindowFromHandle(sponsor);
  return window != nullptr ? window->ControlHandle(name) : nullptr;
}

class SponsorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    main_ = ui::Window::Create(MainWindowDesign(), MainWindowEvents());
    ASSERT_NE(main_, nullptr);
    main_->Show();
    testing::ClickTab(main_->ControlHandle("高级选择夹1"), 1);
  }

  // Clicks 赞助; `whileOpen` runs inside the sponsor window's modal loop, which the click keeps
  // running until the window is closed. Returns when it has been closed.
  void OpenSponsorWindow(std::function<void(HWND sponsor)> whileOpen) {
    bool ran = false;
    testing::PollLater([&] {
      HWND sponsor = FindSponsorWindow();
      if (sponsor == nullptr) return false;
      ran = true;
      whileOpen(sponsor);
      if (IsWindow(sponsor)) PostMessageW(sponsor, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
      return true;
    });
    SendMessageW(main_->ControlHandle("按钮2"), BM_CLICK, 0, 0);
    EXPECT_TRUE(ran) << "the sponsor window did not open";
    EXPECT_EQ(FindSponsorWindow(), nullptr) << "the sponsor window did not close";
  }

  std::unique_ptr<ui::Window> main_;
};

TEST_F(SponsorWindowTest, OpensCentredAndResizableWhileTheMainWindowWaits) {
  OpenSponsorWindow([&](HWND sponsor) {
    EXPECT_FALSE(IsWindowEnabled(main_->handle()));
    RECT rect;
    GetWindowRect(sponsor, &rect);
    EXPECT_EQ(rect.right - rect.left, 487);
    EXPECT_EQ(rect.bottom - rect.top, 227);
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((rect.left + rect.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((rect.top + rect.bottom) / 2, (work.top + work.bottom) / 2, 1);
    const DWORD style = GetWindowLongW(sponsor, GWL_STYLE);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(GetWindowLongW(sponsor, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(sponsor, GW_OWNER), nullptr);              // loaded with no owner
    EXPECT_EQ(SendMessageW(sponsor, WM_GETICON, ICON_BIG, 0), 0);  // the default icon
    EXPECT_EQ(SendMessageW(sponsor, WM_NCHITTEST, 0,
                           MAKELPARAM(rect.right - 1, (rect.top + rect.bottom) / 2)),
              HTRIGHT);
    // A user's resize is followed.
    SetWindowPos(sponsor, nullptr, rect.left, rect.top, 600, 300, SWP_NOZORDER);
    GetWindowRect(sponsor, &rect);
    EXPECT_EQ(rect.right - rect.left, 600);
  });
  EXPECT_TRUE(IsWindowEnabled(main_->handle()));
}

TEST_F(SponsorWindowTest, ShowsItsTextsAndPictureBoxAsDesigned) {
  OpenSponsorWindow([&](HWND sponsor) {
    const struct {
      const char* name;
      const wchar_t* className;
      const char16_t* text;
      const char* container;
      RECT bounds;  // left, top, width, height
    } expected[] = {
        {"分组框1", L"Button", u"自愿赞助", "", {8, 24, 224, 164}},
        {"透明标签1", L"Static", u"编码不易，感谢有你。", "分组框1", {45, 64, 155, 32}},
        {"透明标签3", L"Static", u"BY:Vorel", "分组框1", {163, 120, 56, 32}},
        {"图片框2", L"LumentaPictureBox", u"", "", {237, -9, 240, 248}},
    };
    for (const auto& control : expected) {
      SCOPED_TRACE(control.name);
      HWND handle = ChildNamed(sponsor, control.name);
      ASSERT_NE(handle, nullptr);
      EXPECT_EQ(_wcsicmp(ClassOf(handle).c_str(), control.className), 0);
      EXPECT_EQ(TextOf(handle), control.text);
      HWND container = *control.container ? ChildNamed(sponsor, control.container) : sponsor;
      const RECT rect = RectIn(handle, container);
      EXPECT_EQ(rect.left, control.bounds.left);
      EXPECT_EQ(rect.top, control.bounds.top);
      EXPECT_EQ(rect.right - rect.left, control.bounds.right);
      EXPECT_EQ(rect.bottom - rect.top, control.bounds.bottom);
      EXPECT_TRUE(IsWindowVisible(handle));
    }
    EXPECT_EQ(GetWindowLongW(ChildNamed(sponsor, "分组框1"), GWL_STYLE) & BS_TYPEMASK,
              static_cast<DWORD>(BS_GROUPBOX));
    // The group box and its labels: height -14, normal weight, GB2312, the default face.
    for (const char* name : {"分组框1", "透明标签1", "透明标签3"}) {
      const LOGFONTW font = FontOf(ChildNamed(sponsor, name));
      EXPECT_EQ(font.lfHeight, -14) << name;
      EXPECT_EQ(font.lfWeight, 400) << name;
      EXPECT_EQ(font.lfCharSet, GB2312_CHARSET) << name;
      EXPECT_STREQ(font.lfFaceName, L"SimSun") << name;
    }
    // The picture box has no border and holds the program's sponsorship picture from the start.
    HWND picture = ChildNamed(sponsor, "图片框2");
    EXPECT_FALSE(GetWindowLongW(picture, GWL_STYLE) & WS_BORDER);
    EXPECT_FALSE(GetWindowLongW(picture, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    ByteBuffer resource;
    if (HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(kSponsorPictureResource),
                                    MAKEINTRESOURCEW(10))) {
      const void* bytes = LockResource(LoadResource(nullptr, found));
      resource = ByteBuffer(static_cast<const char*>(bytes), SizeofResource(nullptr, found));
    }
    EXPECT_EQ(ui::PictureBoxBytes(picture), resource);
  });
}

TEST_F(SponsorWindowTest, EscCloseButtonAndSystemMenuAllReturnToTheMainWindow) {
  const std::function<void(HWND)> closers[] = {
      [](HWND sponsor) { PostMessageW(sponsor, WM_KEYDOWN, VK_ESCAPE, 0x00010001); },
      [](HWND sponsor) { PostMessageW(sponsor, WM_SYSCOMMAND, SC_CLOSE, 0); },
      [](HWND sponsor) { PostMessageW(sponsor, WM_CLOSE, 0, 0); },
      [](HWND sponsor) {
        // Esc on the group box inside it.
        PostMessageW(ChildNamed(sponsor, "分组框1"), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
      },
  };
  for (const auto& close : closers) {
    OpenSponsorWindow(close);
    EXPECT_TRUE(IsWindowEnabled(main_->handle()));
    EXPECT_TRUE(main_->IsOpen());
  }
}

int CountThreadWindows() {
  int count = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto* count = reinterpret_cast<int*>(data);
        ++*count;
        EnumChildWindows(
            window,
            [](HWND, LPARAM inner) -> BOOL {
              ++*reinterpret_cast<int*>(inner);
              return TRUE;
            },
            data);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST_F(SponsorWindowTest, OpeningAndClosingItTenTimesLeavesNoGuiObjectsBehind) {
  // Once first, so that whatever the system keeps for the rest of the run (classes, the stock
  // and cached objects of the controls) is there before counting.
  OpenSponsorWindow([](HWND) {});
  testing::PumpMessages();
  const capture::testing::GuiObjectCounts before = capture::testing::CountGuiObjects();
  const int windowsBefore = CountThreadWindows();
  std::vector<HGDIOBJ> objectsSeen;
  for (int round = 0; round < 10; ++round) {
    OpenSponsorWindow([&](HWND sponsor) {
      // The fonts and brushes the window made for its controls.
      for (const char* name : {"分组框1", "透明标签1", "透明标签3", "图片框2"}) {
        HWND control = ChildNamed(sponsor, name);
        if (auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0))) {
          objectsSeen.push_back(font);
        }
      }
      RedrawWindow(sponsor, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      EXPECT_GT(CountThreadWindows(), windowsBefore);
    });
    testing::PumpMessages();
  }
  const capture::testing::GuiObjectCounts after = capture::testing::CountGuiObjects();
  EXPECT_EQ(CountThreadWindows(), windowsBefore);
  ASSERT_FALSE(objectsSeen.empty());
  for (HGDIOBJ object : objectsSeen) {
    EXPECT_EQ(GetObjectType(object), 0u) << "a GDI object of a closed window is still alive";
  }
  EXPECT_GT(before.gdi, 0);
  EXPECT_EQ(after, before);
}

}  // namespace
}  // namespace lumenta::app
