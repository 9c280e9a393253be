// The clipboard and file ends of the capture output against the real clipboard and file system.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "capture/output/region_output_win.h"

namespace lumenta::capture {
namespace {

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool PutTextOnClipboard(const char* text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const std::size_t size = std::strlen(text) + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(memory), text, size);
  GlobalUnlock(memory);
  const bool placed = SetClipboardData(CF_TEXT, memory) != nullptr;
  CloseClipboard();
  return placed;
}

HBITMAP SolidBitmap(int width, int height, COLORREF colour) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  HBRUSH brush = CreateSolidBrush(colour);
  RECT all{0, 0, width, height};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  SelectObject(dc, previous);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

class ClipboardOwner : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { DestroyWindow(window_); }
  HWND window_ = nullptr;
};

TEST_F(ClipboardOwner, ThePictureReplacesEverythingThatWasOnTheClipboard) {
  ASSERT_TRUE(PutTextOnClipboard("earlier text"));
  ASSERT_TRUE(PlaceBitmapOnClipboard(window_, win::Bitmap(SolidBitmap(4, 3, RGB(10, 200, 30)))));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(GetClipboardOwner(), window_);
  auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 4);
  EXPECT_EQ(info.bmHeight, 3);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  EXPECT_EQ(GetPixel(dc, 3, 2), RGB(10, 200, 30));
  SelectObject(dc, previous);
  DeleteDC(dc);
  CloseClipboard();
}

TEST_F(ClipboardOwner, ABusyClipboardLeavesItsContentAndReleasesThePicture) {
  ASSERT_TRUE(PutTextOnClipboard("kept text"));
  HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread holder([&] {
    OpenClipboard(nullptr);
    SetEvent(opened);
    WaitForSingleObject(release, 10000);
    CloseClipboard();
  });
  WaitForSingleObject(opened, 10000);
  HBITMAP bitmap = SolidBitmap(2, 2, RGB(1, 2, 3));
  EXPECT_FALSE(PlaceBitmapOnClipboard(window_, win::Bitmap(bitmap)));
  EXPECT_EQ(GetObjectType(bitmap), 0u);  // deleted, not leaked
  SetEvent(release);
  holder.join();
  CloseHandle(opened);
  CloseHandle(release);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
}

class FileReplacement : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("lumenta-capture-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::size_t FilesInFolder() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder_),
                                                  std::filesystem::directory_iterator()));
  }
  std::filesystem::path folder_;
};

TEST_F(FileReplacement, WritesANewFileAndReplacesAnExistingOneWhole) {
  const auto path = folder_ / "shot.bmp";
  const std::string first("BM\0first", 8);
  ASSERT_TRUE(ReplaceFileContent(path.wstring(), first));
  EXPECT_EQ(ReadWholeFile(path), first);
  ASSERT_TRUE(ReplaceFileContent(path.wstring(), "BM"));  // shorter: nothing of the old stays
  EXPECT_EQ(ReadWholeFile(path), "BM");
  const std::string longer(100000, 'x');
  ASSERT_TRUE(ReplaceFileContent(path.wstring(), longer));
  EXPECT_EQ(ReadWholeFile(path), longer);
  EXPECT_EQ(FilesInFolder(), 1u);  // no temporary file left behind
}

TEST_F(FileReplacement, FailsWithoutTouchingAnythingWhereNothingCanBeWritten) {
  const std::wstring unwritable[] = {
      (folder_ / "missing" / "shot.bmp").wstring(),
      L"Z:\\proc\\lumenta-shot.bmp",  // a folder of the host system that takes no new files
      folder_.wstring(),              // a folder is no file to replace
      L"",
  };
  for (const auto& path : unwritable) {
    EXPECT_FALSE(ReplaceFileContent(path, "BM")) << std::filesystem::path(path).string();
  }
  EXPECT_EQ(FilesInFolder(), 0u);
}

}  // namespace
}  // namespace lumenta::capture
