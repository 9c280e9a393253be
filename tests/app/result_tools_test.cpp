// The result tools as the user runs them from the main window: copy, clear, the provider page;
// and the process start behind the provider page, once for real.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "app/platform_win.h"
#include "app/process_start_win.h"
#include "tests/app/app_test_support_win.h"
#include "tests/app/main_window_fixture_win.h"
#include "tests/http/process_handles_win.h"

namespace lumenta::app {
namespace {

constexpr char kResultBox[] = "编辑框_识别结果";

std::string ClipboardText() {
  std::string text = "<none>";
  if (!OpenClipboard(nullptr)) return "<not opened>";
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::wstring ClipboardUnicodeText() {
  std::wstring text = L"<none>";
  if (!OpenClipboard(nullptr)) return L"<not opened>";
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* units = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = units;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Something else on the clipboard beforehand: a text and a private format, owned by `owner`.
UINT PutOtherContent(HWND owner) {
  const UINT privateFormat = RegisterClipboardFormatW(L"LumentaTestFormat");
  if (!OpenClipboard(owner)) return 0;
  EmptyClipboard();
  for (UINT format : {static_cast<UINT>(CF_TEXT), privateFormat}) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 4);
    std::memcpy(GlobalLock(memory), "old", 4);
    GlobalUnlock(memory);
    SetClipboardData(format, memory);
  }
  CloseClipboard();
  return privateFormat;
}

// A window of another program, as far as the clipboard can tell.
class OtherWindow {
 public:
  OtherWindow()
      : window_(CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr)) {}
  ~OtherWindow() { DestroyWindow(window_); }
  HWND get() const { return window_; }

 private:
  HWND window_;
};

struct CopyCase {
  const char* what;
  std::string box;
  std::wstring unicode;
};

using ResultToolsTest = MainWindowTest;

TEST_F(ResultToolsTest, CopyPutsExactlyTheBoxTextInBothFormatsAndReplacesTheClipboard) {
  OtherWindow other;
  const CopyCase cases[] = {
      {"a line", "plain text", L"plain text"},
      {"line breaks and blanks", "  one\r\ntwo\r\n\tthree  ", L"  one\r\ntwo\r\n\tthree  "},
      {"Chinese", "\xCA\xB6\xB1\xF0\xBD\xE1\xB9\xFB\xA3\xBA", L"\x8BC6\x522B\x7ED3\x679C\xFF1A"},
      {"an empty box", "", L""},
  };
  for (const CopyCase& c : cases) {
    const UINT privateFormat = PutOtherContent(other.get());
    ASSERT_NE(privateFormat, 0u);
    main_->SetText(kResultBox, c.box);
    Click("按钮_复制");
    EXPECT_EQ(ClipboardText(), c.box) << c.what;
    EXPECT_EQ(ClipboardUnicodeText(), c.unicode) << c.what;
    EXPECT_FALSE(IsClipboardFormatAvailable(privateFormat)) << c.what;
    EXPECT_EQ(GetClipboardOwner(), main_->handle()) << c.what;
    EXPECT_EQ(main_->GetText(kResultBox), c.box) << c.what;
  }
  EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(ResultToolsTest, CopyLeavesTheClipboardAloneWhileAnotherWindowHoldsItOpen) {
  OtherWindow other;
  const UINT privateFormat = PutOtherContent(other.get());
  main_->SetText(kResultBox, "new");
  ASSERT_TRUE(OpenClipboard(other.get()));
  Click("按钮_复制");
  CloseClipboard();
  EXPECT_EQ(ClipboardText(), "old");
  EXPECT_TRUE(IsClipboardFormatAvailable(privateFormat));
  EXPECT_TRUE(messages_.texts().empty());
}

// A 1 x 1 BMP file.
ByteBuffer OnePixelBitmap() {
  ByteBuffer bytes(58, '\0');
  auto put32 = [&](size_t at, uint32_t value) { std::memcpy(&bytes[at], &value, 4); };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, 58);
  put32(10, 54);
  put32(14, 40);
  put32(18, 1);
  put32(22, 1);
  bytes[26] = 1;
  bytes[28] = 24;
  put32(34, 4);
  bytes[54] = '\x20';
  bytes[55] = '\x40';
  bytes[56] = '\x60';
  return bytes;
}

TEST_F(ResultToolsTest, ClearEmptiesTheResultAndKeepsThePicture) {
  const ByteBuffer picture = OnePixelBitmap();
  main_->SetPicture("图片框1", picture);
  main_->SetText(kResultBox, "line one\r\nline two");
  Click("按钮_清空");
  EXPECT_EQ(main_->GetText(kResultBox), "");
  EXPECT_EQ(main_->GetPicture("图片框1"), picture);
  EXPECT_TRUE(messages_.texts().empty());
}

ProcessLaunch g_launched;
int g_launches = 0;

bool RecordLaunch(const ProcessLaunch& launch) {
  g_launched = launch;
  ++g_launches;
  return true;
}

bool FailLaunch(const ProcessLaunch&) {
  ++g_launches;
  return false;
}

TEST_F(ResultToolsTest, TheProviderButtonStartsExplorerWithTheConsoleAddressInANormalWindow) {
  g_launches = 0;
  {
    ScopedPlatform launches([](Platform& p) { p.processes = &RecordLaunch; });
    Click("按钮_网址");
  }
  EXPECT_EQ(g_launches, 1);
  EXPECT_EQ(g_launched.commandLine,
            L"Explorer https://console.bce.baidu.com/ai/#/ai/ocr/overview/index");
  EXPECT_EQ(g_launched.showCommand, SW_SHOWNORMAL);
  EXPECT_EQ(g_launched.idleWaitMs, 1000u);
}

TEST_F(ResultToolsTest, AProviderPageThatCannotBeStartedShowsNothing) {
  g_launches = 0;
  {
    ScopedPlatform launches([](Platform& p) { p.processes = &FailLaunch; });
    Click("按钮_网址");
  }
  EXPECT_EQ(g_launches, 1);
  EXPECT_TRUE(messages_.texts().empty());
}

TEST(StartProcess, StartsTheProgramWithoutWaitingForItAndClosesBothHandles) {
  testing::TemporaryFolder folder;
  const std::wstring marker = folder.File(L"started.txt");
  ProcessLaunch launch;
  launch.commandLine = L"cmd.exe /c echo started>\"" + marker + L"\"";
  launch.showCommand = SW_SHOWNORMAL;
  launch.idleWaitMs = 1000;
  const int handlesBefore = testing_support::ProcessHandleCount();
  ASSERT_GT(handlesBefore, 0);
  ASSERT_TRUE(StartProcess(launch));
  EXPECT_EQ(testing_support::ProcessHandleCount(), handlesBefore);
  // The program runs on its own; its trace shows up once it has done its work.
  bool seen = false;
  for (int i = 0; i < 200 && !seen; ++i) {
    seen = GetFileAttributesW(marker.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!seen) Sleep(50);
  }
  EXPECT_TRUE(seen);
  Sleep(200);  // let it close the file before the folder goes
}

TEST(StartProcess, ReportsAProgramThatCannotBeStarted) {
  ProcessLaunch launch;
  launch.commandLine = L"no-such-program-lumenta.exe https://example.invalid/";
  launch.showCommand = SW_SHOWNORMAL;
  const int handlesBefore = testing_support::ProcessHandleCount();
  ASSERT_GT(handlesBefore, 0);
  EXPECT_FALSE(StartProcess(launch));
  EXPECT_EQ(testing_support::ProcessHandleCount(), handlesBefore);
}

}  // namespace
}  // namespace lumenta::app
