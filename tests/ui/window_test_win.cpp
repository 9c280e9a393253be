// The UI runtime driven through real windows under Wine: controls made from a design, addressed
// by name, their events, Esc, modal windows, pages, DPI changes.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>
#include <gtest/gtest.h>

#include "base/text_encoders.h"
#include "tests/ui/ui_test_support_win.h"
#include "ui/message_loop_win.h"
#include "ui/picture_box_win.h"
#include "ui/window_win.h"

namespace lumenta::ui {
namespace {

using namespace std::chrono_literals;
using testing::ClassOf;
using testing::ClickTab;
using testing::PumpMessages;
using testing::PumpUntil;
using testing::RectIn;
using testing::RunLater;
using testing::TextOf;

Text Gbk(std::string_view utf8) { return Utf8ToAnsi(utf8); }

// A window with one control of every kind, in a group box and on two pages.
const WindowDesign& TestDesign() {
  static const WindowDesign design{.id = 7,
                                   .name = "test",
                                   .title = "测试窗口",
                                   .width = 420,
                                   .height = 320,
                                   .frame = Frame::kFixedSingle,
                                   .controls = {
                                       {.type = ControlType::kButton,
                                        .name = "按钮1",
                                        .bounds = {10, 10, 80, 24},
                                        .caption = "按钮"},
                                       {.type = ControlType::kEditBox,
                                        .name = "编辑框1",
                                        .bounds = {100, 10, 120, 24},
                                        .border = Border::kSunken},
                                       {.type = ControlType::kEditBox,
                                        .name = "密码框",
                                        .bounds = {230, 10, 120, 24},
                                        .edit = EditKind::kPassword,
                                        .border = Border::kSunken},
                                       {.type = ControlType::kPageControl,
                                        .name = "选择夹",
                                        .bounds = {10, 40, 390, 230},
                                        .pages = {"第一页", "第二页"}},
                                       {.type = ControlType::kEditBox,
                                        .name = "多行",
                                        .container = "选择夹",
                                        .page = 1,
                                        .bounds = {10, 30, 200, 100},
                                        .edit = EditKind::kMultiLine,
                                        .border = Border::kSunken,
                                        .textColour = kRed,
                                        .backColour = kWhite},
                                       {.type = ControlType::kPictureBox,
                                        .name = "图片框",
                                        .container = "选择夹",
                                        .page = 1,
                                        .bounds = {220, 30, 100, 80},
                                        .border = Border::kSingle},
                                       {.type = ControlType::kTransparentLabel,
                                        .name = "透明",
                                        .container = "选择夹",
                                        .page = 1,
                                        .bounds = {10, 150, 150, 20},
                                        .caption = "透明标签",
                                        .textColour = kRed},
                                       {.type = ControlType::kGroupBox,
                                        .name = "分组",
                                        .container = "选择夹",
                                        .page = 2,
                                        .bounds = {10, 30, 200, 120},
                                        .caption = "分组"},
                                       {.type = ControlType::kRadioButton,
                                        .name = "甲",
                                        .container = "分组",
                                        .bounds = {10, 20, 80, 20},
                                        .caption = "甲",
                                        .checked = true},
                                       {.type = ControlType::kRadioButton,
                                        .name = "乙",
                                        .container = "分组",
                                        .bounds = {10, 50, 80, 20},
                                        .caption = "乙"},
                                       {.type = ControlType::kEditBox,
                                        .name = "组内编辑框",
                                        .container = "分组",
                                        .bounds = {100, 20, 80, 24},
                                        .border = Border::kSunken},
                                       {.type = ControlType::kRadioButton,
                                        .name = "丙",
                                        .container = "选择夹",
                                        .page = 2,
                                        .bounds = {220, 30, 80, 20},
                                        .caption = "丙",
                                        .checked = true},
                                       {.type = ControlType::kCommonDialog,
                                        .name = "对话框",
                                        .dialog = DialogKind::kSaveFile,
                                        .filter = "位图|*.bmp",
                                        .defaultExtension = ".bmp"},
                                       {.type = ControlType::kDropTarget, .name = "拖放"},
                                   }};
  return design;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = Window::Create(TestDesign(), std::move(events_));
    ASSERT_NE(window_, nullptr);
    window_->Show();
    PumpMessages();
  }
  void TearDown() override { window_.reset(); }

  HWND Handle(std::string_view name) { return window_->ControlHandle(name); }

  std::vector<EventBinding> events_;
  std::unique_ptr<Window> window_;
};

TEST_F(WindowTest, ControlsSitInTheirContainersAtTheirDesignedPlaces) {
  struct Expected {
    const char* name;
    const wchar_t* className;
    const char* container;  // "" = window
    RECT rect;              // in the container's client coordinates
  };
  const Expected table[] = {
      {"按钮1", L"Button", "", {10, 10, 90, 34}},
      {"编辑框1", L"Edit", "", {100, 10, 220, 34}},
      {"选择夹", L"SysTabControl32", "", {10, 40, 400, 270}},
      {"多行", L"Edit", "选择夹", {10, 30, 210, 130}},
      {"图片框", kPictureBoxClass, "选择夹", {220, 30, 320, 110}},
      {"透明", L"Static", "选择夹", {10, 150, 160, 170}},
      {"分组", L"Button", "选择夹", {10, 30, 210, 150}},
      {"甲", L"Button", "分组", {10, 20, 90, 40}},
      {"组内编辑框", L"Edit", "分组", {100, 20, 180, 44}},
  };
  for (const Expected& expected : table) {
    SCOPED_TRACE(expected.name);
    HWND control = Handle(expected.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(_wcsicmp(ClassOf(control).c_str(), expected.className), 0)
        << ClassOf(control).c_str();
    HWND container = *expected.container ? Handle(expected.container) : window_->handle();
    if (ClassOf(container) == L"SysTabControl32") {
      // A page of the tabs holds it: a window laid over the tabs, beside them.
      EXPECT_EQ(ClassOf(GetParent(control)), L"LumentaPage");
      EXPECT_EQ(GetParent(GetParent(control)), GetParent(container));
    } else {
      EXPECT_EQ(GetParent(control), container);
    }
    const RECT rect = RectIn(control, container);
    EXPECT_EQ(rect.left, expected.rect.left);
    EXPECT_EQ(rect.top, expected.rect.top);
    EXPECT_EQ(rect.right, expected.rect.right);
    EXPECT_EQ(rect.bottom, expected.rect.bottom);
  }
  // Components have no window of their own.
  EXPECT_EQ(Handle("对话框"), nullptr);
  EXPECT_NE(window_->Dialog("对话框"), nullptr);
  EXPECT_NE(window_->Drop("拖放"), nullptr);
}

TEST_F(WindowTest, UnknownNamesDoNothingAndReadAsEmpty) {
  EXPECT_EQ(Handle("没有"), nullptr);
  EXPECT_EQ(window_->ControlId("没有"), 0);
  window_->SetText("没有", "x");
  window_->AppendText("没有", "x");
  window_->SetPicture("没有", ByteBuffer("x"));
  window_->SetChecked("没有", true);
  window_->FocusControl("没有");
  EXPECT_EQ(window_->GetText("没有"), "");
  EXPECT_EQ(window_->GetPicture("没有"), "");
  EXPECT_FALSE(window_->IsChecked("没有"));
  EXPECT_EQ(window_->Dialog("按钮1"), nullptr);
  EXPECT_EQ(window_->Drop("按钮1"), nullptr);
  // Every unknown name is listed, once per asking, for the tests of the windows built on this.
  EXPECT_EQ(window_->UnknownLookups().size(), 10u);
  EXPECT_EQ(window_->UnknownLookups().front(), "没有");
}

TEST_F(WindowTest, KnownNamesLeaveNothingInTheUnknownLookups) {
  window_->SetText("编辑框1", "x");
  EXPECT_EQ(window_->GetText("编辑框1"), "x");
  EXPECT_TRUE(window_->UnknownLookups().empty());
}

TEST_F(WindowTest, ControlIdentifiersAreDistinctAndMarkTheWindow) {
  std::vector<int> ids;
  for (const ControlDesign& control : TestDesign().controls) {
    ids.push_back(window_->ControlId(control.name));
    EXPECT_EQ(ids.back() / 1000, TestDesign().id) << control.name;
  }
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());
  EXPECT_EQ(GetDlgCtrlID(Handle("按钮1")), window_->ControlId("按钮1"));
}

TEST_F(WindowTest, EditTextIsGbkBothWays) {
  const Text text = Gbk("识别 Lumenta ①");
  window_->SetText("编辑框1", text);
  EXPECT_EQ(TextOf(Handle("编辑框1")), u"识别 Lumenta ①");
  EXPECT_EQ(window_->GetText("编辑框1"), text);
  window_->SetText("编辑框1", "");
  EXPECT_EQ(window_->GetText("编辑框1"), "");
}

TEST_F(WindowTest, AnEditBoxTakesATextColourAndAFontSizeAtRunTime) {
  HWND edit = window_->ControlHandle("编辑框1");
  window_->SetTextColour("编辑框1", Colour{200, 10, 30});
  HDC dc = GetDC(edit);
  SendMessageW(window_->handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
               reinterpret_cast<LPARAM>(edit));
  EXPECT_EQ(GetTextColor(dc), RGB(200, 10, 30));
  ReleaseDC(edit, dc);

  const auto fontHeight = [&] {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
  };
  const LONG designed = fontHeight();
  window_->SetFontSize("编辑框1", 15);  // 15 points: 20 pixels at 96 DPI
  EXPECT_EQ(fontHeight(), -ScaleToDpi(20, window_->dpi()));
  window_->SetFontSize("编辑框1", 9);
  EXPECT_EQ(fontHeight(), -ScaleToDpi(12, window_->dpi()));
  EXPECT_EQ(fontHeight(), designed) << "9 points is the designed default height";
}

TEST_F(WindowTest, AppendingGoesToTheEndWhereverTheCaretWas) {
  window_->SetText("多行", "abc");
  SendMessageW(Handle("多行"), EM_SETSEL, 0, 1);  // "a" selected, caret at the start
  window_->AppendText("多行", Gbk("识别"));
  window_->AppendText("多行", "d");
  EXPECT_EQ(window_->GetText("多行"), Gbk("abc识别d"));
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(Handle("多行"), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 6u);  // after the last character, in UTF-16 units
  EXPECT_EQ(end, 6u);
}

TEST_F(WindowTest, AppendingScrollsTheNewTextIntoView) {
  window_->SetText("多行", "");
  for (int line = 0; line < 40; ++line) window_->AppendText("多行", "line\r\n");
  window_->AppendText("多行", "last");
  PumpMessages();
  const LRESULT firstVisible = SendMessageW(Handle("多行"), EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GT(firstVisible, 30);
}

TEST_F(WindowTest, EditBoxesHaveNoLengthLimit) {
  // Beyond the system's default limit of 32,767 characters, set, appended and typed.
  const Text longText(40000, 'k');
  window_->SetText("编辑框1", longText);
  SendMessageW(Handle("编辑框1"), EM_SETSEL, 40000, 40000);
  SendMessageW(Handle("编辑框1"), WM_CHAR, L'x', 1);
  EXPECT_EQ(window_->GetText("编辑框1"), longText + "x");
  window_->SetText("多行", "");
  Text lines;
  for (int i = 0; i < 500; ++i) lines += Text(78, 'm') + "\r\n";
  window_->AppendText("多行", lines);
  EXPECT_EQ(window_->GetText("多行"), lines);
}

TEST_F(WindowTest, PasswordBoxesShowStarsAndReadBackWhatWasTyped) {
  HWND box = Handle("密码框");
  EXPECT_TRUE(GetWindowLongW(box, GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(SendMessageW(box, EM_GETPASSWORDCHAR, 0, 0), L'*');
  for (wchar_t typed : std::wstring(L"s3cret")) SendMessageW(box, WM_CHAR, typed, 1);
  EXPECT_EQ(window_->GetText("密码框"), "s3cret");
}

TEST_F(WindowTest, PictureBytesComeBackExactlyAsStored) {
  const ByteBuffer bytes("\x89PNG\0\0\x01\xFF garbage", 16);
  window_->SetPicture("图片框", bytes);
  EXPECT_EQ(window_->GetPicture("图片框"), bytes);
  window_->SetPicture("图片框", {});
  EXPECT_EQ(window_->GetPicture("图片框"), "");
  // Not a picture box: nothing is stored.
  window_->SetPicture("编辑框1", bytes);
  EXPECT_EQ(window_->GetPicture("编辑框1"), "");
}

// A recognition holds the shared bytes while its request runs; a picture put into the box
// meanwhile replaces the box's bytes and leaves the held ones as they were.
TEST_F(WindowTest, SharedPictureBytesOutliveTheNextPicture) {
  const ByteBuffer first("BM\0first", 8);
  window_->SetPicture("图片框", first);
  const SharedBytes held = window_->SharePicture("图片框");
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(*held, first);
  EXPECT_EQ(window_->SharePicture("图片框"), held) << "shared, not copied";
  window_->SetPicture("图片框", ByteBuffer("second", 6));
  EXPECT_EQ(*held, first);
  EXPECT_EQ(*window_->SharePicture("图片框"), "second");
  window_->SetPicture("图片框", {});
  EXPECT_EQ(*window_->SharePicture("图片框"), "");
  ASSERT_NE(window_->SharePicture("编辑框1"), nullptr) << "never null, not even for other controls";
  EXPECT_EQ(*window_->SharePicture("编辑框1"), "");
}

// A renderer that counts its work and fills the box in one colour.
class CountingRenderer : public PictureRenderer {
 public:
  class Picture : public DecodedPicture {
   public:
    explicit Picture(CountingRenderer& owner) : owner_(owner) {}
    void Draw(HDC dc, const RECT& client) override {
      ++owner_.draws;
      owner_.lastClient = client;
      HBRUSH brush = CreateSolidBrush(RGB(0, 128, 255));
      FillRect(dc, &client, brush);
      DeleteObject(brush);
    }

   private:
    CountingRenderer& owner_;
  };
  std::unique_ptr<DecodedPicture> Decode(std::string_view bytes) override {
    ++decodes;
    lastBytes = std::string(bytes);
    if (bytes == "undecodable") return nullptr;
    return std::make_unique<Picture>(*this);
  }
  int decodes = 0;
  int draws = 0;
  RECT lastClient{};
  std::string lastBytes;
};

class PictureBoxTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    previous_ = SetPictureRenderer(&renderer_);
  }
  void TearDown() override {
    SetPictureRenderer(previous_);
    WindowTest::TearDown();
  }
  void Repaint() {
    RedrawWindow(Handle("图片框"), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  }
  CountingRenderer renderer_;
  PictureRenderer* previous_ = nullptr;
};

TEST_F(PictureBoxTest, DecodesOncePerPictureHoweverOftenItRepaints) {
  window_->SetPicture("图片框", ByteBuffer("picture one"));
  Repaint();
  Repaint();
  Repaint();
  EXPECT_EQ(renderer_.decodes, 1);
  EXPECT_EQ(renderer_.draws, 3);
  EXPECT_EQ(renderer_.lastBytes, "picture one");
  RECT client;
  GetClientRect(Handle("图片框"), &client);
  EXPECT_TRUE(EqualRect(&renderer_.lastClient, &client));

  window_->SetPicture("图片框", ByteBuffer("picture two"));
  Repaint();
  EXPECT_EQ(renderer_.decodes, 2);
  EXPECT_EQ(renderer_.lastBytes, "picture two");
}

TEST_F(PictureBoxTest, UndecodableOrEmptyBytesDrawNothingAndAreNotDecodedAgain) {
  window_->SetPicture("图片框", ByteBuffer("undecodable"));
  Repaint();
  Repaint();
  EXPECT_EQ(renderer_.decodes, 1);
  EXPECT_EQ(renderer_.draws, 0);
  window_->SetPicture("图片框", ByteBuffer(""));
  Repaint();
  EXPECT_EQ(renderer_.decodes, 1);  // no bytes, nothing to decode
  EXPECT_EQ(window_->GetPicture("图片框"), "");
}

TEST_F(PictureBoxTest, WhatTheRendererDrawsIsOnTheScreen) {
  window_->SetPicture("图片框", ByteBuffer("blue"));
  Repaint();
  HWND box = Handle("图片框");
  RECT client;
  GetClientRect(box, &client);
  HDC dc = GetDC(box);
  const COLORREF middle = GetPixel(dc, client.right / 2, client.bottom / 2);
  ReleaseDC(box, dc);
  EXPECT_EQ(middle, RGB(0, 128, 255));
}

TEST_F(WindowTest, RadioButtonsOfOneContainerExcludeEachOther) {
  EXPECT_TRUE(window_->IsChecked("甲"));
  EXPECT_FALSE(window_->IsChecked("乙"));
  SendMessageW(Handle("乙"), BM_CLICK, 0, 0);  // the user's click
  EXPECT_FALSE(window_->IsChecked("甲"));
  EXPECT_TRUE(window_->IsChecked("乙"));
  // 丙 sits in another container: a set of its own.
  EXPECT_TRUE(window_->IsChecked("丙"));

  window_->SetChecked("甲", true);
  EXPECT_TRUE(window_->IsChecked("甲"));
  EXPECT_FALSE(window_->IsChecked("乙"));
  EXPECT_TRUE(window_->IsChecked("丙"));
  window_->SetChecked("甲", false);
  EXPECT_FALSE(window_->IsChecked("甲"));
  EXPECT_FALSE(window_->IsChecked("乙"));
}

TEST_F(WindowTest, ATabClickShowsItsPageAndHidesTheOther) {
  EXPECT_EQ(window_->CurrentPage("选择夹"), 1);
  EXPECT_TRUE(IsWindowVisible(Handle("多行")));
  EXPECT_FALSE(IsWindowVisible(Handle("甲")));
  ClickTab(Handle("选择夹"), 1);
  EXPECT_EQ(window_->CurrentPage("选择夹"), 2);
  EXPECT_FALSE(IsWindowVisible(Handle("多行")));
  EXPECT_FALSE(IsWindowVisible(Handle("图片框")));
  EXPECT_TRUE(IsWindowVisible(Handle("甲")));
  EXPECT_TRUE(IsWindowVisible(Handle("按钮1")));  // outside the pages
  ClickTab(Handle("选择夹"), 0);
  EXPECT_TRUE(IsWindowVisible(Handle("多行")));
  EXPECT_FALSE(IsWindowVisible(Handle("甲")));
}

// Presses a key on the focused control, through the runtime's own message handling.
void PressKey(UINT key) {
  PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
  PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchUiMessage(message);
}

TEST_F(WindowTest, TabGoesThroughTheTabsIntoThePageShownAndArrowsSwitchPages) {
  window_->FocusControl("按钮1");
  std::vector<std::string_view> order;
  for (int press = 0; press < 4; ++press) {
    PressKey(VK_TAB);
    order.push_back(window_->ControlName(GetFocus()));
  }
  // Page 2's controls are skipped while page 1 is shown. (A multi-line box keeps Tab as text.)
  EXPECT_EQ(order, (std::vector<std::string_view>{"编辑框1", "密码框", "选择夹", "多行"}));
  window_->FocusControl("选择夹");
  PressKey(VK_RIGHT);
  EXPECT_EQ(window_->CurrentPage("选择夹"), 2);
  EXPECT_TRUE(IsWindowVisible(Handle("甲")));
  PressKey(VK_TAB);
  EXPECT_EQ(window_->ControlName(GetFocus()), "甲");  // the checked radio button of the set
}

TEST(WindowKeys, EnterPressesTheFocusedButtonWhereverItSits) {
  std::vector<std::string> clicked;
  WindowDesign design = TestDesign();
  design.controls.push_back({.type = ControlType::kButton,
                             .name = "页内按钮",
                             .container = "选择夹",
                             .page = 1,
                             .bounds = {220, 150, 80, 24},
                             .caption = "页内"});
  auto window = Window::Create(
      design,
      {{"按钮1", EventKind::kClick, [&](Event& e) { clicked.emplace_back(e.control); }},
       {"页内按钮", EventKind::kClick, [&](Event& e) { clicked.emplace_back(e.control); }}});
  ASSERT_NE(window, nullptr);
  window->Show();
  window->FocusControl("按钮1");
  PressKey(VK_RETURN);
  window->FocusControl("页内按钮");
  PressKey(VK_RETURN);
  window->FocusControl("编辑框1");  // not a button: Enter does nothing
  PressKey(VK_RETURN);
  EXPECT_EQ(clicked, (std::vector<std::string>{"按钮1", "页内按钮"}));
}

TEST_F(WindowTest, ComingBackToTheWindowGivesTheFocusBackToItsControl) {
  EXPECT_EQ(GetFocus(), Handle("按钮1"));  // the first tab stop when first shown
  window_->FocusControl("密码框");
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100,
                               100, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(other);
  EXPECT_NE(GetFocus(), Handle("密码框"));
  SetActiveWindow(window_->handle());
  EXPECT_EQ(GetFocus(), Handle("密码框"));
  DestroyWindow(other);
}

TEST_F(WindowTest, FocusOnAControlOfAHiddenPageShowsThatPage) {
  window_->FocusControl("组内编辑框");
  EXPECT_EQ(window_->CurrentPage("选择夹"), 2);
  EXPECT_EQ(GetFocus(), Handle("组内编辑框"));
  window_->FocusControl("多行");
  EXPECT_EQ(window_->CurrentPage("选择夹"), 1);
  EXPECT_EQ(GetFocus(), Handle("多行"));
}

TEST_F(WindowTest, TransparentLabelsDrawOnlyTheirTextInTheirColour) {
  HWND label = Handle("透明");
  RedrawWindow(window_->handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT client;
  GetClientRect(label, &client);
  HDC dc = GetDC(label);
  int textPixels = 0;
  int backgroundPixels = 0;
  int otherPixels = 0;
  const COLORREF background = GetSysColor(COLOR_BTNFACE);
  for (int y = 0; y < client.bottom; ++y) {
    for (int x = 0; x < client.right; ++x) {
      const COLORREF pixel = GetPixel(dc, x, y);
      const int r = GetRValue(pixel), g = GetGValue(pixel), b = GetBValue(pixel);
      if (pixel == background) {
        ++backgroundPixels;
      } else if (r >= g && std::abs(g - b) <= 2) {
        ++textPixels;  // red, or red blended into the grey background at the glyphs' edges
      } else {
        ++otherPixels;
      }
    }
  }
  ReleaseDC(label, dc);
  EXPECT_GT(textPixels, 20);
  EXPECT_GT(backgroundPixels, textPixels);  // no filled box behind the text
  EXPECT_EQ(otherPixels, 0);
}

TEST(WindowCreation, ADesignWithProblemsMakesNoWindow) {
  WindowDesign broken = TestDesign();
  broken.controls.push_back({.type = ControlType::kButton, .name = "按钮1"});
  EXPECT_EQ(Window::Create(broken), nullptr);
}

TEST(WindowCreation, AnEventBoundToAControlTheDesignLacksMakesNoWindow) {
  int clicks = 0;
  auto count = [&](Event&) { ++clicks; };
  EXPECT_EQ(Window::Create(TestDesign(), {{"按钮2", EventKind::kClick, count}}), nullptr);
  auto window = Window::Create(
      TestDesign(), {{"按钮1", EventKind::kClick, count}, {"", EventKind::kCreated, count}});
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(clicks, 1);  // the created event
}

TEST(WindowCreation, TheCreatedEventComesOnceWithEveryControlInPlace) {
  int created = 0;
  Text seen;
  auto window = Window::Create(TestDesign(),
                               {{"", EventKind::kCreated, [&](Event& event) {
                                   ++created;
                                   seen = event.window.IsChecked("甲") ? "checked" : "unchecked";
                                   EXPECT_NE(event.window.ControlHandle("丙"), nullptr);
                                 }}});
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(created, 1);
  EXPECT_EQ(seen, "checked");
}

TEST(WindowEvents, ClicksAndChangesReachTheirHandlersByName) {
  std::vector<std::string> seen;
  auto window = Window::Create(
      TestDesign(),
      {{"按钮1", EventKind::kClick, [&](Event& e) { seen.push_back("click " + Text(e.control)); }},
       {"乙", EventKind::kClick, [&](Event& e) { seen.push_back("click " + Text(e.control)); }},
       {"编辑框1", EventKind::kContentChanged,
        [&](Event& e) { seen.push_back("changed " + e.window.GetText("编辑框1")); }}});
  ASSERT_NE(window, nullptr);
  SendMessageW(window->ControlHandle("按钮1"), BM_CLICK, 0, 0);
  SendMessageW(window->ControlHandle("乙"), BM_CLICK, 0, 0);  // inside a group box on a page
  SendMessageW(window->ControlHandle("编辑框1"), WM_CHAR, L'x', 1);
  EXPECT_EQ(seen, (std::vector<std::string>{"click 按钮1", "click 乙", "changed x"}));
}

TEST(WindowEvents, MouseEventsOfTheWindowCarryClientCoordinates) {
  std::vector<std::string> seen;
  const auto record = [&](const char* what) {
    return [&, what](Event& e) {
      seen.push_back(std::string(what) + " " + std::to_string(e.x) + "," + std::to_string(e.y));
    };
  };
  auto window = Window::Create(TestDesign(), {{"", EventKind::kMouseMove, record("move")},
                                              {"", EventKind::kLeftDown, record("down")},
                                              {"", EventKind::kLeftUp, record("up")},
                                              {"", EventKind::kDoubleClick, record("double")}});
  ASSERT_NE(window, nullptr);
  HWND handle = window->handle();
  SendMessageW(handle, WM_MOUSEMOVE, 0, MAKELPARAM(5, 7));
  SendMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 8));
  SendMessageW(handle, WM_LBUTTONUP, 0, MAKELPARAM(-3, 9));  // captured, left of the window
  SendMessageW(handle, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 2));
  EXPECT_EQ(seen, (std::vector<std::string>{"move 5,7", "down 6,8", "up -3,9", "double 1,2"}));
  EXPECT_TRUE(GetClassLongW(handle, GCL_STYLE) & CS_DBLCLKS);
}

TEST(WindowEvents, AControlMouseHandlerCanKeepTheControlsOwnHandlingFromRunning) {
  bool skip = true;
  int downs = 0;
  auto window = Window::Create(TestDesign(), {{"编辑框1", EventKind::kLeftDown, [&](Event& e) {
                                                 ++downs;
                                                 e.skipDefault = skip;
                                               }}});
  ASSERT_NE(window, nullptr);
  window->Show();
  HWND box = window->ControlHandle("编辑框1");
  SetFocus(window->ControlHandle("按钮1"));
  SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(downs, 1);
  EXPECT_NE(GetFocus(), box);  // the edit box never saw the press
  skip = false;
  SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(downs, 2);
  EXPECT_EQ(GetFocus(), box);
}

TEST(WindowEvents, TheDestroyingEventSeesTheControlsStillThere) {
  Text lastText;
  auto window = Window::Create(
      TestDesign(),
      {{"", EventKind::kDestroying, [&](Event& e) { lastText = e.window.GetText("编辑框1"); }}});
  ASSERT_NE(window, nullptr);
  window->SetText("编辑框1", "kept");
  window->Close();
  EXPECT_FALSE(window->IsOpen());
  EXPECT_EQ(lastText, "kept");
  // The object outlives its native window; operations then do nothing.
  EXPECT_EQ(window->GetText("编辑框1"), "");
}

TEST(MessageFilter, SeesEachMessageBeforeTheRuntimeAndAnAnswerEndsIt) {
  std::vector<std::string> seen;
  auto window = Window::Create(
      TestDesign(), {{"", EventKind::kMouseMove, [&](Event&) { seen.push_back("move event"); }},
                     {"", EventKind::kLeftDown, [&](Event&) { seen.push_back("down event"); }}});
  ASSERT_NE(window, nullptr);
  window->SetMessageFilter([&](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message == WM_MOUSEMOVE) seen.push_back("move filtered");
    if (message != WM_LBUTTONDOWN) return std::nullopt;
    seen.push_back("down filtered");
    return 42;
  });
  HWND handle = window->handle();
  SendMessageW(handle, WM_MOUSEMOVE, 0, MAKELPARAM(5, 7));
  EXPECT_EQ(SendMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 8)), 42);
  EXPECT_EQ(seen, (std::vector<std::string>{"move filtered", "move event", "down filtered"}))
      << "the answered press is not passed on";

  seen.clear();
  window->SetMessageFilter({});
  SendMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 8));
  EXPECT_EQ(seen, (std::vector<std::string>{"down event"})) << "without the filter";
}

TEST(MessageFilter, CannotKeepTheRuntimeFromEndingTheWindow) {
  auto window = Window::Create(TestDesign());
  ASSERT_NE(window, nullptr);
  bool sawEnd = false;
  window->SetMessageFilter([&](UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message != WM_NCDESTROY) return std::nullopt;
    sawEnd = true;
    return 0;
  });
  window->SetText("编辑框1", "text");
  window->Close();
  EXPECT_TRUE(sawEnd);
  EXPECT_FALSE(window->IsOpen());
  EXPECT_EQ(window->GetText("编辑框1"), "") << "the controls are gone with it";
}

// Esc pressed in any control (or on the window) closes the window and ends its loop.
class EscapeTest : public ::testing::TestWithParam<const char*> {};

TEST_P(EscapeTest, ClosesTheWindowAndEndsItsLoop) {
  auto window = Window::Create(TestDesign());
  ASSERT_NE(window, nullptr);
  window->Show();
  const std::string target = GetParam();
  HWND focus = target.empty() ? window->handle() : window->ControlHandle(target);
  if (!target.empty()) window->FocusControl(target);
  RunLater(50ms, [focus] {
    // As the keyboard delivers it: to the focused window, through the loop's navigation.
    PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
  });
  // Should Esc not close it, the test still ends, and says so.
  auto closedByTest = std::make_shared<bool>(false);
  RunLater(30s, [handle = window->handle(), closedByTest] {
    if (!IsWindow(handle)) return;
    *closedByTest = true;
    PostMessageW(handle, WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(window->RunMessageLoop(), 0);
  EXPECT_FALSE(window->IsOpen());
  EXPECT_FALSE(*closedByTest);
}

INSTANTIATE_TEST_SUITE_P(FromEverywhere, EscapeTest,
                         ::testing::Values("", "按钮1", "编辑框1", "密码框", "多行", "组内编辑框",
                                           "甲", "选择夹"));

TEST(Escape, LeavesAWindowOpenThatDoesNotCloseOnIt) {
  WindowDesign design = TestDesign();
  design.escapeCloses = false;
  auto window = Window::Create(design);
  ASSERT_NE(window, nullptr);
  window->Show();
  window->FocusControl("编辑框1");
  SendMessageW(window->ControlHandle("编辑框1"), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  SendMessageW(window->handle(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  testing::PumpFor(100ms);
  EXPECT_TRUE(window->IsOpen());
}

TEST(ModalWindow, DisablesTheOtherWindowsUntilItIsClosed) {
  auto owner = Window::Create(TestDesign());
  ASSERT_NE(owner, nullptr);
  owner->Show();
  bool ownerDisabledMeanwhile = false;
  bool sawModal = false;
  WindowDesign modalDesign = TestDesign();
  modalDesign.id = 8;
  RunLater(100ms, [&] {
    ownerDisabledMeanwhile = !IsWindowEnabled(owner->handle());
    for (HWND window : testing::ThreadWindowsOfClass(L"LumentaWindow")) {
      if (window != owner->handle() && IsWindowVisible(window)) {
        sawModal = true;
        PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
      }
    }
  });
  Window::LoadModal(modalDesign);  // returns once the Esc has closed it
  EXPECT_TRUE(sawModal);
  EXPECT_TRUE(ownerDisabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(owner->handle()));
  EXPECT_EQ(testing::ThreadWindowsOfClass(L"LumentaWindow").size(), 1u);
}

TEST(ModalWindow, EndsWhenItsWindowIsDestroyedDirectly) {
  auto owner = Window::Create(TestDesign());
  ASSERT_NE(owner, nullptr);
  owner->Show();
  WindowDesign modalDesign = TestDesign();
  modalDesign.id = 8;
  Window::LoadModal(modalDesign, {{"", EventKind::kCreated, [](Event& e) {
                                     HWND handle = e.window.handle();
                                     RunLater(50ms, [handle] { DestroyWindow(handle); });
                                   }}});
  EXPECT_TRUE(IsWindowEnabled(owner->handle()));
}

TEST(FixedWindow, CannotBeMaximisedOrResizedByTheUser) {
  auto window = Window::Create(TestDesign());
  ASSERT_NE(window, nullptr);
  window->Show();
  HWND handle = window->handle();
  RECT before;
  GetWindowRect(handle, &before);
  const LONG style = GetWindowLongW(handle, GWL_STYLE);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  SendMessageW(handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  SendMessageW(handle, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  EXPECT_FALSE(IsZoomed(handle));
  // The right edge of a fixed border is no sizing handle.
  const LRESULT hit = SendMessageW(handle, WM_NCHITTEST, 0,
                                   MAKELPARAM(before.right - 1, (before.top + before.bottom) / 2));
  EXPECT_NE(hit, HTRIGHT);
  RECT after;
  GetWindowRect(handle, &after);
  EXPECT_TRUE(EqualRect(&before, &after));
}

TEST(ResizableWindow, HasASizingBorderButNoMaximise) {
  WindowDesign design = TestDesign();
  design.frame = Frame::kResizable;
  auto window = Window::Create(design);
  ASSERT_NE(window, nullptr);
  window->Show();
  HWND handle = window->handle();
  RECT rect;
  GetWindowRect(handle, &rect);
  EXPECT_EQ(SendMessageW(handle, WM_NCHITTEST, 0,
                         MAKELPARAM(rect.right - 1, (rect.top + rect.bottom) / 2)),
            HTRIGHT);
  SendMessageW(handle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_FALSE(IsZoomed(handle));
}

TEST(WindowDpi, ANewDpiScalesEveryControlAndFont) {
  auto window = Window::Create(TestDesign());
  ASSERT_NE(window, nullptr);
  RECT suggested;
  GetWindowRect(window->handle(), &suggested);
  suggested.right = suggested.left + 630;
  suggested.bottom = suggested.top + 480;
  SendMessageW(window->handle(), WM_DPICHANGED, MAKEWPARAM(144, 144),
               reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(window->dpi(), 144);
  const RECT button = RectIn(window->ControlHandle("按钮1"), window->handle());
  EXPECT_EQ(button.left, 15);
  EXPECT_EQ(button.top, 15);
  EXPECT_EQ(button.right - button.left, 120);
  EXPECT_EQ(button.bottom - button.top, 36);
  const RECT radio = RectIn(window->ControlHandle("甲"), window->ControlHandle("分组"));
  EXPECT_EQ(radio.left, 15);
  EXPECT_EQ(radio.right - radio.left, 120);
  const RECT onPage = RectIn(window->ControlHandle("多行"), window->ControlHandle("选择夹"));
  EXPECT_EQ(onPage.left, 15);
  EXPECT_EQ(onPage.top, 45);
  LOGFONTW font{};
  GetObjectW(
      reinterpret_cast<HFONT>(SendMessageW(window->ControlHandle("按钮1"), WM_GETFONT, 0, 0)),
      sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -18);
  RECT outer;
  GetWindowRect(window->handle(), &outer);
  EXPECT_EQ(outer.right - outer.left, 630);
}

}  // namespace
}  // namespace lumenta::ui
