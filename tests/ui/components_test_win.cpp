// The components behind the seams, the real ones under Wine: the message box, the common file
// dialog and the OLE drop target.
#include <windows.h>
// After windows.h, which they need.
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include "base/text_encoders.h"
#include "tests/ui/ui_test_support_win.h"
#include "ui/common_dialog_win.h"
#include "ui/drop_target_win.h"
#include "ui/message_box.h"
#include "ui/window_win.h"

namespace lumenta::ui {
namespace {

using namespace std::chrono_literals;
using testing::ClassOf;
using testing::TextOf;

// The dialog window (#32770) this thread shows now, or nullptr.
HWND OpenDialog() {
  for (HWND window : testing::ThreadWindowsOfClass(L"#32770")) {
    if (IsWindowVisible(window)) return window;
  }
  return nullptr;
}

struct MessageBoxSeen {
  bool found = false;
  std::u16string title;
  std::u16string text;
  std::vector<std::wstring> buttons;
  bool hasIcon = false;
  HWND owner = reinterpret_cast<HWND>(1);
  bool otherWindowDisabled = false;
};

TEST(SystemMessageBox, HasTheTextOkOnlyNoIconTheTitleAndNoOwnerAndIsTaskModal) {
  // Another window of the program: a task-modal box disables it while it is up.
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100,
                               100, nullptr, nullptr, nullptr, nullptr);
  MessageBoxSeen seen;
  testing::PollLater([&] {
    HWND box = OpenDialog();
    if (box == nullptr) return false;
    seen.found = true;
    seen.title = TextOf(box);
    seen.owner = GetWindow(box, GW_OWNER);
    seen.otherWindowDisabled = !IsWindowEnabled(other);
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      const std::wstring className = ClassOf(child);
      if (_wcsicmp(className.c_str(), L"Button") == 0) {
        seen.buttons.emplace_back(reinterpret_cast<const wchar_t*>(TextOf(child).c_str()));
      } else if (_wcsicmp(className.c_str(), L"Static") == 0) {
        if (GetWindowLongW(child, GWL_STYLE) & SS_ICON) {
          seen.hasIcon = seen.hasIcon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
        } else if (!TextOf(child).empty()) {
          seen.text = TextOf(child);
        }
      }
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return true;
  });
  ShowMessage(Utf8ToAnsi("你还没有输入API Key"));
  DestroyWindow(other);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.title, u"信息：");
  EXPECT_EQ(seen.text, u"你还没有输入API Key");
  ASSERT_EQ(seen.buttons.size(), 1u);
  EXPECT_EQ(seen.buttons[0], L"OK");
  EXPECT_FALSE(seen.hasIcon);
  EXPECT_EQ(seen.owner, nullptr);
  EXPECT_TRUE(seen.otherWindowDisabled);
}

TEST(CommonDialog, TheSeamGetsEveryPropertyAndTheNameChangesOnlyOnConfirm) {
  std::vector<FileDialogRequest> requests;
  std::optional<Text> answer = Text("C:\\pictures\\a.png");
  FileDialogRunner previous = SetFileDialogRunner([&](const FileDialogRequest& request) {
    requests.push_back(request);
    return answer;
  });
  CommonDialog dialog(DialogKind::kOpenFile, reinterpret_cast<HWND>(0x1234));
  dialog.SetFilter("a|*.a|b|*.b");
  dialog.SetInitialFolder("C:\\Users\\me\\Desktop\\");
  dialog.SetDefaultExtension(".png");
  dialog.SetTitle("title");
  EXPECT_TRUE(dialog.Show());
  EXPECT_EQ(dialog.fileName(), "C:\\pictures\\a.png");
  answer.reset();  // the user cancels
  EXPECT_FALSE(dialog.Show());
  EXPECT_EQ(dialog.fileName(), "C:\\pictures\\a.png");
  SetFileDialogRunner(std::move(previous));

  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].kind, DialogKind::kOpenFile);
  EXPECT_EQ(requests[0].owner, reinterpret_cast<HWND>(0x1234));
  EXPECT_EQ(requests[0].filter, "a|*.a|b|*.b");
  EXPECT_EQ(requests[0].filterIndex, 1);
  EXPECT_EQ(requests[0].initialFolder, "C:\\Users\\me\\Desktop\\");
  EXPECT_EQ(requests[0].defaultExtension, ".png");
  EXPECT_EQ(requests[0].title, "title");
  EXPECT_EQ(requests[0].fileName, "");
  EXPECT_EQ(requests[1].fileName, "C:\\pictures\\a.png");  // kept for the next showing
}

class SystemFileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    folder_ = std::wstring(base) + L"lumenta-dialog-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder_.c_str(), nullptr);
    file_ = folder_ + L"\\picture.png";
    HANDLE file = CreateFileW(file_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    GetCurrentDirectoryW(MAX_PATH, workingFolder_);
  }
  void TearDown() override {
    DeleteFileW(file_.c_str());
    DeleteFileW((folder_ + L"\\saved.bmp").c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  Text Gbk(const std::wstring& text) {
    return Utf16ToGbk(std::u16string(text.begin(), text.end()));
  }
  // Types `name` into the open dialog's file name box and confirms, or cancels when empty.
  void AnswerDialog(std::wstring name, bool* seen) {
    testing::PollLater([name, seen] {
      HWND dialog = OpenDialog();
      if (dialog == nullptr) return false;
      *seen = true;
      if (name.empty()) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      } else {
        // The file name box: a combo box (cmb13) in the explorer-style dialog, else an edit.
        HWND box = GetDlgItem(dialog, cmb13);
        if (box == nullptr) box = GetDlgItem(dialog, edt1);
        SetWindowTextW(box, name.c_str());
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
      }
      return true;
    });
  }
  std::wstring folder_;
  std::wstring file_;
  wchar_t workingFolder_[MAX_PATH];
};

TEST_F(SystemFileDialogTest, OpenReturnsTheConfirmedFileAndKeepsTheWorkingFolder) {
  FileDialogRequest request;
  request.kind = DialogKind::kOpenFile;
  request.filter = Utf8ToAnsi("图片(*.png)|*.png|所有文件(*.*)|*.*");
  request.initialFolder = Gbk(folder_ + L"\\");
  bool seen = false;
  AnswerDialog(file_, &seen);
  const std::optional<Text> chosen = RunSystemFileDialog(request);
  EXPECT_TRUE(seen);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(_stricmp(chosen->c_str(), Gbk(file_).c_str()), 0) << *chosen;
  wchar_t now[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, now);
  EXPECT_STREQ(now, workingFolder_);
}

TEST_F(SystemFileDialogTest, CancellingGivesNothing) {
  FileDialogRequest request;
  request.filter = "all|*.*";
  bool seen = false;
  AnswerDialog(L"", &seen);
  EXPECT_FALSE(RunSystemFileDialog(request).has_value());
  EXPECT_TRUE(seen);
}

TEST_F(SystemFileDialogTest, SaveAppendsTheDefaultExtension) {
  FileDialogRequest request;
  request.kind = DialogKind::kSaveFile;
  request.filter = Utf8ToAnsi("位图|*.bmp");
  request.defaultExtension = ".bmp";
  bool seen = false;
  AnswerDialog(folder_ + L"\\saved", &seen);
  const std::optional<Text> chosen = RunSystemFileDialog(request);
  EXPECT_TRUE(seen);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(_stricmp(chosen->c_str(), Gbk(folder_ + L"\\saved.bmp").c_str()), 0) << *chosen;
}

// A window with a drop target, registered as the program registers its own.
const WindowDesign& DropDesign() {
  static const WindowDesign design{
      .id = 6,
      .name = "drop",
      .title = "drop",
      .width = 300,
      .height = 200,
      .controls = {{.type = ControlType::kDropTarget, .name = "拖放对象1"},
                   {.type = ControlType::kEditBox,
                    .name = "编辑框1",
                    .bounds = {10, 10, 200, 24},
                    .border = Border::kSunken}}};
  return design;
}

class DropTargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    std::vector<EventBinding> events;
    for (EventKind kind : {EventKind::kFilesDropped, EventKind::kLinkDropped,
                           EventKind::kHtmlDropped, EventKind::kTextDropped}) {
      events.push_back({"拖放对象1", kind, [this](Event& event) {
                          received_.push_back({event.kind, event.text});
                        }});
    }
    window_ = Window::Create(DropDesign(), std::move(events));
    ASSERT_NE(window_, nullptr);
    window_->Show();
    ASSERT_TRUE(window_->Drop("拖放对象1")->Register(window_->handle()));
    testing::PumpMessages();
  }
  void TearDown() override {
    window_.reset();
    OleUninitialize();
  }
  POINT Middle() {
    RECT rect;
    GetWindowRect(window_->handle(), &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 + 20};
  }
  DWORD Drag(testing::TestDataObject& data, DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
    const DWORD effect = testing::DragAndDropAt(Middle(), &data, allowed);
    testing::PumpMessages();  // the drop is delivered once the drag is over
    return effect;
  }

  std::unique_ptr<Window> window_;
  std::vector<std::pair<EventKind, Text>> received_;
};

TEST_F(DropTargetTest, ASingleFileArrivesAsItsFullPath) {
  testing::TestDataObject data;
  data.Add(CF_HDROP, testing::DropFilesBytes({L"C:\\pictures\\\u8BC6\u522B.png"}));
  EXPECT_EQ(Drag(data), static_cast<DWORD>(DROPEFFECT_COPY));
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].first, EventKind::kFilesDropped);
  EXPECT_EQ(received_[0].second, Utf8ToAnsi("C:\\pictures\\识别.png"));
}

TEST_F(DropTargetTest, SeveralFilesArriveEachFollowedByALineBreak) {
  testing::TestDataObject data;
  data.Add(CF_HDROP, testing::DropFilesBytes({L"C:\\a.png", L"D:\\b c\\d.jpg"}));
  Drag(data);
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].second, "C:\\a.png\r\nD:\\b c\\d.jpg\r\n");
}

TEST_F(DropTargetTest, TextHtmlAndLinksArriveAsTheirOwnEvents) {
  const CLIPFORMAT html = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"HTML Format"));
  const CLIPFORMAT link =
      static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"UniformResourceLocatorW"));
  {
    testing::TestDataObject data;
    data.Add(CF_UNICODETEXT, testing::WideBytes(L"\u8BC6\u522B text"));
    Drag(data);
  }
  {
    testing::TestDataObject data;
    data.Add(html, "Version:0.9\r\n<b>\xE8\xAF\x86</b>");
    data.Add(CF_UNICODETEXT, testing::WideBytes(L"plain"));
    Drag(data);
  }
  {
    testing::TestDataObject data;
    data.Add(link, testing::WideBytes(L"https://example.com/a"));
    data.Add(CF_UNICODETEXT, testing::WideBytes(L"https://example.com/a"));
    Drag(data);
  }
  ASSERT_EQ(received_.size(), 3u);
  EXPECT_EQ(received_[0], std::make_pair(EventKind::kTextDropped, Utf8ToAnsi("识别 text")));
  EXPECT_EQ(received_[1],
            std::make_pair(EventKind::kHtmlDropped, Utf8ToAnsi("Version:0.9\r\n<b>识</b>")));
  EXPECT_EQ(received_[2], std::make_pair(EventKind::kLinkDropped, Text("https://example.com/a")));
}

TEST_F(DropTargetTest, WhatItDoesNotTakeIsRefusedAndRaisesNothing) {
  testing::TestDataObject bitmapOnly;
  bitmapOnly.Add(CF_DIB, std::string(64, '\0'));
  EXPECT_EQ(Drag(bitmapOnly), static_cast<DWORD>(DROPEFFECT_NONE));
  // A source that only allows moving: never accepted, so it cannot delete what it dropped.
  testing::TestDataObject files;
  files.Add(CF_HDROP, testing::DropFilesBytes({L"C:\\a.png"}));
  EXPECT_EQ(Drag(files, DROPEFFECT_MOVE), static_cast<DWORD>(DROPEFFECT_NONE));
  EXPECT_TRUE(received_.empty());
}

TEST_F(DropTargetTest, ASecondRegistrationIsRefusedAndChangesNothing) {
  DropTarget* drop = window_->Drop("拖放对象1");
  EXPECT_FALSE(drop->Register(window_->handle()));
  EXPECT_TRUE(drop->registered());
  // Another target on the same window is refused by the system as well.
  win::ComPtr<DropTarget> other = DropTarget::Create({});
  EXPECT_FALSE(other->Register(window_->handle()));
  testing::TestDataObject data;
  data.Add(CF_HDROP, testing::DropFilesBytes({L"C:\\still.png"}));
  Drag(data);
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].second, "C:\\still.png");
}

TEST_F(DropTargetTest, ClosingTheWindowRevokesTheRegistration) {
  HWND handle = window_->handle();
  DropTarget* drop = window_->Drop("拖放对象1");
  window_->Close();
  EXPECT_FALSE(drop->registered());
  EXPECT_FALSE(IsWindow(handle));
}

}  // namespace
}  // namespace lumenta::ui
