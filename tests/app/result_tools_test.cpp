// Copying the result to the clipboard, and starting the provider page's program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "app/process_start_win.h"
#include "app/provider_page_win.h"
#include "app/result_clipboard_win.h"
#include "tests/app/word_standin_harness_win.h"

namespace lumenta {
namespace {

// A plain top-level window to own the clipboard.
class OwnerWindow {
 public:
  OwnerWindow() {
    window_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  ~OwnerWindow() { DestroyWindow(window_); }
  HWND get() const { return window_; }

 private:
  HWND window_;
};

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

// Something else on the clipboard beforehand: a text and a private format.
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

struct CopyCase {
  const char* what;
  std::string text;
  std::wstring unicode;
};

TEST(CopyResult, PutsExactlyTheTextInBothFormatsAndReplacesWhatTheClipboardHeld) {
  OwnerWindow owner;
  const CopyCase cases[] = {
      {"a line", "plain text", L"plain text"},
      {"line breaks and blanks", "  one\r\ntwo\r\n\tthree  ", L"  one\r\ntwo\r\n\tthree  "},
      {"Chinese", "\xCA\xB6\xB1\xF0\xBD\xE1\xB9\xFB\xA3\xBA", L"\x8BC6\x522B\x7ED3\x679C\xFF1A"},
      {"nothing", "", L""},
  };
  for (const CopyCase& c : cases) {
    const UINT privateFormat = PutOtherContent(owner.get());
    ASSERT_NE(privateFormat, 0u);
    ASSERT_TRUE(CopyTextToClipboard(owner.get(), c.text)) << c.what;
    EXPECT_EQ(ClipboardText(), c.text) << c.what;
    EXPECT_EQ(ClipboardUnicodeText(), c.unicode) << c.what;
    EXPECT_FALSE(IsClipboardFormatAvailable(privateFormat)) << c.what;
    EXPECT_EQ(GetClipboardOwner(), owner.get()) << c.what;
  }
}

TEST(CopyResult, LeavesTheClipboardAloneWhileAnotherWindowHoldsItOpen) {
  OwnerWindow owner;
  OwnerWindow other;
  const UINT privateFormat = PutOtherContent(other.get());
  ASSERT_TRUE(OpenClipboard(other.get()));
  EXPECT_FALSE(CopyTextToClipboard(owner.get(), "new"));
  CloseClipboard();
  EXPECT_EQ(ClipboardText(), "old");
  EXPECT_TRUE(IsClipboardFormatAvailable(privateFormat));
}

ProcessLaunch g_launched;
int g_launches = 0;

bool RecordLaunch(const ProcessLaunch& launch) {
  g_launched = launch;
  ++g_launches;
  return true;
}

TEST(ProviderPage, StartsExplorerWithTheConsoleAddressInANormalWindow) {
  g_launches = 0;
  const ProcessStarter previous = SetProcessStarter(&RecordLaunch);
  OpenProviderPage();
  SetProcessStarter(previous);
  EXPECT_EQ(g_launches, 1);
  EXPECT_EQ(g_launched.commandLine,
            L"Explorer https://console.bce.baidu.com/ai/#/ai/ocr/overview/index");
  EXPECT_EQ(g_launched.showCommand, SW_SHOWNORMAL);
  EXPECT_EQ(g_launched.idleWaitMs, 1000u);
}

TEST(StartProcess, StartsTheProgramWithoutWaitingForItAndClosesBothHandles) {
  testing::ScratchFolder folder;
  const std::wstring marker = folder.path() + L"\\started.txt";
  DWORD handlesBefore = 0;
  DWORD handlesAfter = 0;
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &handlesBefore));
  ProcessLaunch launch;
  launch.commandLine = L"cmd.exe /c echo started>\"" + marker + L"\"";
  launch.showCommand = SW_SHOWNORMAL;
  launch.idleWaitMs = 1000;
  ASSERT_TRUE(StartProcess(launch));
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &handlesAfter));
  EXPECT_EQ(handlesAfter, handlesBefore);
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
  DWORD handlesBefore = 0;
  DWORD handlesAfter = 0;
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &handlesBefore));
  ProcessLaunch launch;
  launch.commandLine = L"no-such-program-lumenta.exe https://example.invalid/";
  launch.showCommand = SW_SHOWNORMAL;
  EXPECT_FALSE(StartProcess(launch));
  ASSERT_TRUE(GetProcessHandleCount(GetCurrentProcess(), &handlesAfter));
  EXPECT_EQ(handlesAfter, handlesBefore);
}

}  // namespace
}  // namespace lumenta
