// The main window as the user gets it, read back from the live native windows: every control's
// class, text, place, styles, visibility, colours and font, the window's frame, and the behaviour
// of its pages, radio buttons, password boxes and Esc.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include "app/event_table_win.h"
#include "app/window_designs.h"
#include "tests/app/app_test_support_win.h"
#include "ui/window_win.h"

namespace lumenta::app {
namespace {

using namespace std::chrono_literals;
using testing::ClassOf;
using testing::ColoursOf;
using testing::FontOf;
using testing::RectIn;
using testing::TextOf;

constexpr int kNoButtonType = -1;

struct ExpectedControl {
  const char* name;
  const wchar_t* className;
  const char16_t* text;
  const char* container;  // "" for the window
  RECT bounds;            // left, top, width, height in the container's client area
  int page;               // 0: above the pages; else the page that shows it
  int buttonType;         // BS_* type of Button controls
  DWORD styleOn;          // style bits that must be set
  DWORD styleOff;         // style bits that must be clear
  DWORD exStyleOn;
  DWORD exStyleOff;
};

constexpr DWORD kPush = WS_TABSTOP;
constexpr DWORD kLabel = SS_LEFTNOWORDWRAP;

const ExpectedControl kMainControls[] = {
    {"按钮_截图", L"Button", u"截图至剪切板", "", {8, 6, 88, 32}, 0, BS_PUSHBUTTON, kPush},
    {"按钮_取图", L"Button", u"取剪切板图片", "", {109, 6, 88, 32}, 0, BS_PUSHBUTTON, kPush},
    {"按钮_选图", L"Button", u"本地图片", "", {304, 6, 96, 32}, 0, BS_PUSHBUTTON, kPush},
    {"按钮_识别", L"Button", u"识别", "", {408, 6, 96, 32}, 0, BS_PUSHBUTTON, kPush},
    {"高级选择夹1", L"SysTabControl32", u"", "", {8, 45, 496, 328}, 0, kNoButtonType, WS_TABSTOP},
    // Page 1
    {"透明标签1",
     L"Static",
     u"剪切板预览：",
     "高级选择夹1",
     {23, 35, 65, 19},
     1,
     kNoButtonType,
     kLabel},
    {"图片框1",
     L"LumentaPictureBox",
     u"",
     "高级选择夹1",
     {17, 56, 231, 250},
     1,
     kNoButtonType,
     WS_BORDER,
     0,
     0,
     WS_EX_CLIENTEDGE},
    {"透明标签2",
     L"Static",
     u"识别结果：",
     "高级选择夹1",
     {234, 35, 65, 19},
     1,
     kNoButtonType,
     kLabel},
    {"编辑框_识别结果",
     L"Edit",
     u"",
     "高级选择夹1",
     {252, 56, 231, 250},
     1,
     kNoButtonType,
     ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
     ES_PASSWORD | ES_READONLY | ES_NOHIDESEL | ES_CENTER | ES_RIGHT,
     WS_EX_CLIENTEDGE},
    {"按钮_查找",
     L"Button",
     u"docx查找",
     "高级选择夹1",
     {298, 33, 56, 22},
     1,
     BS_PUSHBUTTON,
     kPush},
    {"按钮_清空", L"Button", u"清空", "高级选择夹1", {373, 32, 48, 22}, 1, BS_PUSHBUTTON, kPush},
    {"按钮_复制", L"Button", u"复制", "高级选择夹1", {435, 32, 48, 22}, 1, BS_PUSHBUTTON, kPush},
    // Page 2
    {"分组框_api", L"Button", u"百度API", "高级选择夹1", {11, 37, 321, 96}, 2, BS_GROUPBOX},
    {"标签_api", L"Static", u"API Key：", "分组框_api", {16, 24, 56, 24}, 2, kNoButtonType, kLabel},
    {"编辑框1",
     L"Edit",
     u"",
     "分组框_api",
     {88, 24, 217, 24},
     2,
     kNoButtonType,
     ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP,
     ES_MULTILINE | ES_READONLY,
     WS_EX_CLIENTEDGE},
    {"标签_sk",
     L"Static",
     u"Seceet Key：",
     "分组框_api",
     {16, 56, 80, 24},
     2,
     kNoButtonType,
     kLabel},
    {"编辑框2",
     L"Edit",
     u"",
     "分组框_api",
     {88, 56, 217, 24},
     2,
     kNoButtonType,
     ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP,
     ES_MULTILINE | ES_READONLY,
     WS_EX_CLIENTEDGE},
    {"分组框2", L"Button", u"识别属性：", "高级选择夹1", {348, 37, 131, 96}, 2, BS_GROUPBOX},
    {"单选框_普通",
     L"Button",
     u"普通文字识别",
     "分组框2",
     {15, 24, 101, 24},
     2,
     BS_AUTORADIOBUTTON,
     WS_GROUP},
    {"单选框_高精",
     L"Button",
     u"高精文字识别",
     "分组框2",
     {16, 55, 96, 24},
     2,
     BS_AUTORADIOBUTTON,
     0,
     WS_GROUP},
    {"分组框1", L"Button", u"说明", "高级选择夹1", {10, 144, 470, 99}, 2, BS_GROUPBOX},
    {"透明标签3",
     L"Static",
     u"1、docx查找，需在目录下以vorel.docx的word文档名，即可自动查找标红。",
     "分组框1",
     {15, 27, 407, 24},
     2,
     kNoButtonType,
     kLabel},
    {"透明标签4",
     L"Static",
     u"2、设置好api别忘记点保存。",
     "分组框1",
     {16, 60, 182, 24},
     2,
     kNoButtonType,
     kLabel},
    {"按钮_网址",
     L"Button",
     u"如何申请百度文字识别 API Key",
     "高级选择夹1",
     {10, 255, 278, 32},
     2,
     BS_PUSHBUTTON,
     kPush},
    {"按钮_保存key",
     L"Button",
     u"保存",
     "高级选择夹1",
     {296, 255, 184, 32},
     2,
     BS_PUSHBUTTON,
     kPush},
    {"透明标签5",
     L"Static",
     u"如果觉得好用，不妨赞助下作者哦！",
     "高级选择夹1",
     {225, 298, 198, 24},
     2,
     kNoButtonType,
     kLabel},
    {"按钮2", L"Button", u"赞助", "高级选择夹1", {416, 297, 64, 24}, 2, BS_PUSHBUTTON, kPush},
};

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteFileW(testing::KeyFileBesideProgram().c_str());
    window_ = ui::Window::Create(MainWindowDesign(), MainWindowEvents());
    ASSERT_NE(window_, nullptr);
    window_->Show();
    testing::PumpMessages();
  }
  HWND Handle(std::string_view name) const { return window_->ControlHandle(name); }

  std::unique_ptr<ui::Window> window_;
};

TEST_F(MainWindowTest, EveryControlIsInItsStartState) {
  for (const ExpectedControl& expected : kMainControls) {
    SCOPED_TRACE(expected.name);
    HWND control = Handle(expected.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), expected.className), 0);
    EXPECT_EQ(TextOf(control), expected.text);

    HWND container = *expected.container ? Handle(expected.container) : window_->handle();
    if (ClassOf(container) == L"SysTabControl32") {
      // A page of the tabs holds it: a window laid over the tabs, beside them.
      EXPECT_EQ(ClassOf(GetParent(control)), L"LumentaPage");
      EXPECT_EQ(GetParent(GetParent(control)), GetParent(container));
    } else {
      EXPECT_EQ(GetParent(control), container);
    }
    const RECT rect = RectIn(control, container);
    EXPECT_EQ(rect.left, expected.bounds.left);
    EXPECT_EQ(rect.top, expected.bounds.top);
    EXPECT_EQ(rect.right - rect.left, expected.bounds.right);   // width
    EXPECT_EQ(rect.bottom - rect.top, expected.bounds.bottom);  // height

    const DWORD style = GetWindowLongW(control, GWL_STYLE);
    const DWORD exStyle = GetWindowLongW(control, GWL_EXSTYLE);
    EXPECT_EQ(style & expected.styleOn, expected.styleOn);
    EXPECT_EQ(style & expected.styleOff, 0u);
    EXPECT_EQ(exStyle & expected.exStyleOn, expected.exStyleOn);
    EXPECT_EQ(exStyle & expected.exStyleOff, 0u);
    if (expected.buttonType != kNoButtonType) {
      EXPECT_EQ(static_cast<int>(style & BS_TYPEMASK), expected.buttonType);
    }
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_EQ(IsWindowVisible(control) != FALSE, expected.page != 2);
    EXPECT_TRUE(IsWindowEnabled(control));

    // Every control with a caption or text draws with the toolkit's font: SimSun 9 pt, GB2312.
    if (ClassOf(control) == L"LumentaPictureBox") continue;
    const LOGFONTW font = FontOf(control);
    EXPECT_STREQ(font.lfFaceName, L"SimSun");
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
  }
}

TEST_F(MainWindowTest, TheComponentsAreThereWithoutWindows) {
  ui::CommonDialog* dialog = window_->Dialog("通用对话框1");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->kind(), ui::DialogKind::kOpenFile);
  EXPECT_EQ(dialog->filter(), "");
  EXPECT_EQ(dialog->initialFolder(), "");
  EXPECT_EQ(dialog->title(), "");
  EXPECT_EQ(dialog->owner(), window_->handle());
  EXPECT_EQ(Handle("通用对话框1"), nullptr);
  ASSERT_NE(window_->Drop("拖放对象1"), nullptr);
  EXPECT_TRUE(window_->Drop("拖放对象1")->registered());  // by the created event
  EXPECT_EQ(Handle("拖放对象1"), nullptr);
}

TEST_F(MainWindowTest, StartsWithTheGeneralModeCheckedAndEmptyBoxes) {
  EXPECT_TRUE(window_->IsChecked("单选框_普通"));
  EXPECT_FALSE(window_->IsChecked("单选框_高精"));
  EXPECT_EQ(window_->GetText("编辑框_识别结果"), "");
  EXPECT_EQ(window_->GetPicture("图片框1"), "");
  EXPECT_EQ(window_->GetText("编辑框1"), "");  // no key.ini beside the program
  EXPECT_EQ(window_->GetText("编辑框2"), "");
}

TEST_F(MainWindowTest, TheTabsAreTheTwoPagesWithTheFirstShown) {
  HWND tabs = Handle("高级选择夹1");
  ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
  const char16_t* captions[] = {u"图文识别", u"API设置"};
  for (int page = 0; page < 2; ++page) {
    wchar_t text[32] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 32;
    SendMessageW(tabs, TCM_GETITEMW, page, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::u16string(text, text + wcslen(text)), captions[page]);
  }
  EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
}

TEST_F(MainWindowTest, LabelsAreTransparentInTheirOwnColour) {
  const struct {
    const char* name;
    COLORREF colour;
  } labels[] = {{"透明标签1", RGB(0, 0, 0)},
                {"透明标签2", RGB(0, 0, 0)},
                {"透明标签3", RGB(255, 0, 0)},
                {"透明标签4", RGB(255, 0, 0)},
                {"透明标签5", RGB(88, 48, 224)}};
  for (const auto& label : labels) {
    SCOPED_TRACE(label.name);
    const testing::ControlColours colours = ColoursOf(Handle(label.name), WM_CTLCOLORSTATIC);
    EXPECT_EQ(colours.text, label.colour);
    EXPECT_EQ(colours.backgroundMode, TRANSPARENT);
    EXPECT_EQ(colours.brush, GetStockObject(NULL_BRUSH));
  }
  // Plain labels sit on the button-face background in the system's text colour.
  const testing::ControlColours plain = ColoursOf(Handle("标签_api"), WM_CTLCOLORSTATIC);
  EXPECT_EQ(plain.backgroundMode, OPAQUE);
}

TEST_F(MainWindowTest, TheResultIsRedOnWhiteAndTheKeysBlackOnWhite) {
  const testing::ControlColours result = ColoursOf(Handle("编辑框_识别结果"), WM_CTLCOLOREDIT);
  EXPECT_EQ(result.text, RGB(255, 0, 0));
  EXPECT_EQ(result.background, RGB(255, 255, 255));
  LOGBRUSH brush{};
  GetObjectW(result.brush, sizeof brush, &brush);
  EXPECT_EQ(brush.lbColor, RGB(255, 255, 255));
  for (const char* name : {"编辑框1", "编辑框2"}) {
    const testing::ControlColours key = ColoursOf(Handle(name), WM_CTLCOLOREDIT);
    EXPECT_EQ(key.text, RGB(0, 0, 0)) << name;
    EXPECT_EQ(key.background, RGB(255, 255, 255)) << name;
  }
}

TEST_F(MainWindowTest, TheWindowHasItsTitleSizeFrameAndPlace) {
  HWND window = window_->handle();
  EXPECT_EQ(TextOf(window), u"Lumenta by Vorel");
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(rect.right - rect.left, 520);
  EXPECT_EQ(rect.bottom - rect.top, 407);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((rect.left + rect.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((rect.top + rect.bottom) / 2, (work.top + work.bottom) / 2, 1);

  const DWORD style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, static_cast<DWORD>(WS_CAPTION));
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
}

TEST_F(MainWindowTest, TheWindowShowsItsOwn32BitIcon) {
  auto icon = reinterpret_cast<HICON>(SendMessageW(window_->handle(), WM_GETICON, ICON_BIG, 0));
  ASSERT_NE(icon, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  BITMAP colour{};
  GetObjectW(info.hbmColor, sizeof colour, &colour);
  EXPECT_EQ(colour.bmWidth, 32);
  EXPECT_EQ(colour.bmHeight, 32);
  EXPECT_EQ(colour.bmBitsPixel, 32);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  EXPECT_NE(SendMessageW(window_->handle(), WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(MainWindowTest, TheBackgroundIsTheButtonFaceColour) {
  HWND window = window_->handle();
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  HDC dc = GetDC(window);
  // Between the top buttons, where nothing else is drawn.
  const COLORREF pixel = GetPixel(dc, 250, 20);
  ReleaseDC(window, dc);
  EXPECT_EQ(pixel, GetSysColor(COLOR_BTNFACE));
}

TEST_F(MainWindowTest, ThePageControlUsesSimSunNinePoint) {
  const LOGFONTW font = FontOf(Handle("高级选择夹1"));
  EXPECT_STREQ(font.lfFaceName, L"SimSun");
  EXPECT_EQ(font.lfHeight, -12);
  EXPECT_EQ(font.lfWeight, 400);
  EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
}

TEST_F(MainWindowTest, SwitchingToTheSettingsPageHidesThePreviewPageButNotTheTopButtons) {
  testing::ClickTab(Handle("高级选择夹1"), 1);
  for (const ExpectedControl& expected : kMainControls) {
    EXPECT_EQ(IsWindowVisible(Handle(expected.name)) != FALSE, expected.page != 1) << expected.name;
  }
  testing::ClickTab(Handle("高级选择夹1"), 0);
  for (const ExpectedControl& expected : kMainControls) {
    EXPECT_EQ(IsWindowVisible(Handle(expected.name)) != FALSE, expected.page != 2) << expected.name;
  }
}

TEST_F(MainWindowTest, TheTwoModesExcludeEachOther) {
  testing::ClickTab(Handle("高级选择夹1"), 1);
  SendMessageW(Handle("单选框_高精"), BM_CLICK, 0, 0);
  EXPECT_TRUE(window_->IsChecked("单选框_高精"));
  EXPECT_FALSE(window_->IsChecked("单选框_普通"));
  SendMessageW(Handle("单选框_普通"), BM_CLICK, 0, 0);
  EXPECT_TRUE(window_->IsChecked("单选框_普通"));
  EXPECT_FALSE(window_->IsChecked("单选框_高精"));
}

TEST_F(MainWindowTest, TypedKeysShowAsStars) {
  testing::ClickTab(Handle("高级选择夹1"), 1);
  for (const char* name : {"编辑框1", "编辑框2"}) {
    HWND box = Handle(name);
    window_->FocusControl(name);
    for (wchar_t typed : std::wstring(L"Ab3")) SendMessageW(box, WM_CHAR, typed, 1);
    EXPECT_EQ(SendMessageW(box, EM_GETPASSWORDCHAR, 0, 0), L'*') << name;
    EXPECT_EQ(window_->GetText(name), "Ab3") << name;
    // What the box shows: three stars, read from its screen as the width of "***".
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
    SIZE stars{};
    GetTextExtentPoint32W(dc, L"***", 3, &stars);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    const LRESULT caret = SendMessageW(box, EM_POSFROMCHAR, 2, 0);  // left of the third char
    const LRESULT first = SendMessageW(box, EM_POSFROMCHAR, 0, 0);
    EXPECT_EQ(static_cast<short>(LOWORD(caret)) - static_cast<short>(LOWORD(first)),
              stars.cx * 2 / 3)
        << name;
  }
}

TEST_F(MainWindowTest, CannotBeMaximisedOrResized) {
  HWND window = window_->handle();
  RECT before;
  GetWindowRect(window, &before);
  SendMessageW(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  SendMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  EXPECT_FALSE(IsZoomed(window));
  const POINT edges[] = {{before.right - 1, (before.top + before.bottom) / 2},
                         {before.left, (before.top + before.bottom) / 2},
                         {(before.left + before.right) / 2, before.bottom - 1},
                         {before.right - 1, before.bottom - 1}};
  for (const POINT& edge : edges) {
    const LRESULT hit = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y));
    EXPECT_TRUE(hit < HTSIZEFIRST || hit > HTSIZELAST) << hit;
  }
  RECT after;
  GetWindowRect(window, &after);
  EXPECT_TRUE(EqualRect(&before, &after));
}

// Esc from anywhere in the window closes it, which ends the program's message loop.
class MainWindowEscapeTest : public ::testing::TestWithParam<const char*> {};

TEST_P(MainWindowEscapeTest, ClosesTheWindowAndEndsTheLoop) {
  auto window = ui::Window::Create(MainWindowDesign(), MainWindowEvents());
  ASSERT_NE(window, nullptr);
  window->Show();
  const std::string name = GetParam();
  HWND target = window->handle();
  if (!name.empty()) {
    window->FocusControl(name);
    target = window->ControlHandle(name);
  }
  testing::RunLater(50ms, [target] { PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001); });
  // Should Esc not close it, the test still ends, and says so.
  auto closedByTest = std::make_shared<bool>(false);
  testing::RunLater(30s, [handle = window->handle(), closedByTest] {
    if (!IsWindow(handle)) return;
    *closedByTest = true;
    PostMessageW(handle, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(window->RunMessageLoop(), 0);
  EXPECT_FALSE(window->IsOpen());
  EXPECT_FALSE(*closedByTest);
}

INSTANTIATE_TEST_SUITE_P(FromEveryKindOfControl, MainWindowEscapeTest,
                         ::testing::Values("", "按钮_识别", "高级选择夹1", "编辑框_识别结果",
                                           "编辑框1", "单选框_高精", "按钮2"));

}  // namespace
}  // namespace lumenta::app
