// Lumenta.exe itself: a GUI program that carries its icon, manifest and version, starts from any
// working folder, and ends with exit code 0 when Esc closes its main window.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/app/app_test_support_win.h"

namespace lumenta::app {
namespace {

using testing::TemporaryFolder;

const std::wstring& ProgramFile() {
  static const std::wstring path = testing::WindowsPath(LUMENTA_BINARY_DIR "/Lumenta.exe");
  return path;
}

// A loaded view of the program file's resources.
class ProgramResources {
 public:
  ProgramResources()
      : module_(LoadLibraryExW(ProgramFile().c_str(), nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
  ~ProgramResources() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  std::string Bytes(LPCWSTR type, LPCWSTR name) const {
    HRSRC found = FindResourceW(module_, name, type);
    if (found == nullptr) return {};
    const void* bytes = LockResource(LoadResource(module_, found));
    return std::string(static_cast<const char*>(bytes), SizeofResource(module_, found));
  }
  HMODULE module() const { return module_; }

 private:
  HMODULE module_;
};

TEST(ProgramFile, IsAWindowsGuiProgram) {
  const std::string bytes = testing::ReadFile(ProgramFile());
  ASSERT_GT(bytes.size(), 0x200u);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(bytes.data() + dos->e_lfanew);
  EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

TEST(ProgramFile, CarriesTheManifestForVisualStylesAndPerMonitorDpi) {
  ProgramResources resources;
  ASSERT_NE(resources.module(), nullptr);
  const std::string manifest = resources.Bytes(RT_MANIFEST, MAKEINTRESOURCEW(1));
  for (const char* part :
       {"Microsoft.Windows.Common-Controls", "version=\"6.0.0.0\"", "PerMonitorV2", "<dpiAware",
        "asInvoker", "{e2011457-1546-43c5-a5fe-008deee3d3f0}",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
    EXPECT_NE(manifest.find(part), std::string::npos) << part;
  }
}

TEST(ProgramFile, CarriesA32By32TrueColourIcon) {
  ProgramResources resources;
  const std::string group = resources.Bytes(RT_GROUP_ICON, MAKEINTRESOURCEW(1));
  ASSERT_GE(group.size(), 6u);
  const int count = static_cast<unsigned char>(group[4]) | static_cast<unsigned char>(group[5])
                                                               << 8;
  bool found = false;
  for (int i = 0; i < count; ++i) {
    const char* entry = group.data() + 6 + 14 * i;  // GRPICONDIRENTRY
    const int width = static_cast<unsigned char>(entry[0]);
    const int bits = static_cast<unsigned char>(entry[6]) | static_cast<unsigned char>(entry[7])
                                                                << 8;
    if (width == 32 && bits == 32) found = true;
  }
  EXPECT_TRUE(found);
}

TEST(ProgramFile, CarriesItsVersion) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(ProgramFile().c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::string block(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoW(ProgramFile().c_str(), 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));  // 1.0
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);              // .0.0
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  wchar_t* name = nullptr;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\080404b0\\ProductName",
                             reinterpret_cast<void**>(&name), &length));
  EXPECT_STREQ(name, L"Lumenta");
}

// The main window of a process, or nullptr.
HWND MainWindowOf(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND found;
  } search{processId, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* search = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == search->processId && IsWindowVisible(window) &&
            testing::TextOf(window) == u"Lumenta by Vorel") {
          search->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(ProgramRun, StartsFromAnotherFolderShowsTheMainWindowAndEndsOnEsc) {
  TemporaryFolder installed;
  TemporaryFolder working;
  const std::wstring copy = installed.File(L"Lumenta.exe");
  ASSERT_TRUE(CopyFileW(ProgramFile().c_str(), copy.c_str(), FALSE));
  testing::WriteFile(installed.File(L"key.ini"), "[key]\r\nak=a\r\nsk=s\r\n");

  std::wstring commandLine = L"\"" + copy + L"\"";
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             working.path().c_str(), &startup, &process));
  HWND main = nullptr;
  const bool appeared = testing::PumpUntil(
      [&] { return (main = MainWindowOf(process.dwProcessId)); }, std::chrono::seconds(30));
  EXPECT_TRUE(appeared);
  if (main != nullptr) {
    RECT rect;
    GetWindowRect(main, &rect);
    EXPECT_EQ(rect.right - rect.left, 520);
    EXPECT_EQ(rect.bottom - rect.top, 407);
    PostMessageW(main, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  }
  const DWORD waited = WaitForSingleObject(process.hProcess, 20000);
  if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(waited, WAIT_OBJECT_0);
  EXPECT_EQ(exitCode, 0u);
  // Nothing was written at shut-down.
  EXPECT_EQ(testing::ReadFile(installed.File(L"key.ini")), "[key]\r\nak=a\r\nsk=s\r\n");
  EXPECT_FALSE(testing::FileExists(working.File(L"key.ini")));
}

}  // namespace
}  // namespace lumenta::app
