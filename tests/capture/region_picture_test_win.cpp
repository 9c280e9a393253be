// The region picture handed to the clipboard and to a BMP file, from the frozen screen or from
// the annotated copy, with the save dialog answered through its seam.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "capture/output/region_picture_win.h"
#include "tests/support/bmp_test_reader.h"
#include "ui/message_box.h"

namespace lumenta::capture {
namespace {

using image::bmpread::ReadBmp;
using image::bmpread::Rgb;

COLORREF Frozen(int x, int y) { return RGB((x * 7) & 255, (y * 5) & 255, (x + y) & 255); }

// A snapshot-like surface painted with a known pattern, and an "annotated" copy of a region.
class RegionPicture : public ::testing::Test {
 protected:
  void SetUp() override {
    screen_ = GetDC(nullptr);
    snapshot_ = Paint(64, 48, [](int x, int y) { return Frozen(x, y); });
    annotated_ = Paint(64, 48, [](int, int) { return RGB(200, 10, 20); });
    folder_ = std::filesystem::temp_directory_path() /
              ("lumenta-region-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    window_ = CreateWindowExW(0, L"STATIC", L"capture", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  void TearDown() override {
    ui::SetFileDialogRunner({});
    DestroyWindow(window_);
    std::filesystem::remove_all(folder_);
    for (auto [dc, bitmap, previous] : {surfaces_[0], surfaces_[1]}) {
      SelectObject(dc, previous);
      DeleteObject(bitmap);
      DeleteDC(dc);
    }
    ReleaseDC(nullptr, screen_);
  }

  template <typename Colour>
  HDC Paint(int width, int height, Colour colour) {
    HDC dc = CreateCompatibleDC(screen_);
    HBITMAP bitmap = CreateCompatibleBitmap(screen_, width, height);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) SetPixel(dc, x, y, colour(x, y));
    }
    surfaces_[count_++] = {dc, bitmap, previous};
    return dc;
  }

  // The dialog answers with `name` (or cancels) and records that it was asked.
  void AnswerDialog(std::optional<std::filesystem::path> name) {
    ui::SetFileDialogRunner([this, name](const ui::FileDialogRequest& request) {
      ++dialogs_;
      lastRequest_ = request;
      return name ? std::optional<Text>(name->string()) : std::nullopt;
    });
  }

  std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  ui::CommonDialog SaveDialog() {
    ui::CommonDialog dialog(ui::DialogKind::kSaveFile, window_);
    dialog.SetFilter("\xCE\xBB\xCD\xBC|*.bmp");  // 位图|*.bmp
    dialog.SetDefaultExtension(".bmp");
    return dialog;
  }

  struct Surface {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
  };
  HDC screen_ = nullptr;
  HDC snapshot_ = nullptr;
  HDC annotated_ = nullptr;
  Surface surfaces_[2] = {};
  int count_ = 0;
  HWND window_ = nullptr;
  std::filesystem::path folder_;
  int dialogs_ = 0;
  ui::FileDialogRequest lastRequest_;
};

TEST_F(RegionPicture, SavesTheFrozenRegionAsABmpFileWithMatchingHeaderAndRows) {
  const struct {
    Rect selection;
  } cases[] = {{{10, 5, 30, 17}}, {{3, 4, 4, 5}}, {{0, 0, 64, 48}}, {{61, 2, 64, 9}}};
  for (const auto& c : cases) {
    const Rect s = c.selection;
    SCOPED_TRACE(testing::Message() << s.left << "," << s.top << " " << s.right << "," << s.bottom);
    const auto path = folder_ / "shot.bmp";
    AnswerDialog(path);
    ui::CommonDialog dialog = SaveDialog();
    ASSERT_EQ(SaveRegionToFile({screen_, snapshot_, nullptr, s}, dialog), SaveOutcome::kSaved);
    const std::string bytes = ReadFile(path);
    const auto file = ReadBmp(bytes);
    ASSERT_TRUE(file.has_value());
    const int width = s.right - s.left, height = s.bottom - s.top;
    const int depth = GetDeviceCaps(screen_, BITSPIXEL);
    EXPECT_EQ(file->type, 19778);
    EXPECT_EQ(file->fileSize, bytes.size());
    EXPECT_EQ(file->pixelOffset, 58u);
    EXPECT_EQ(file->format.width, width);
    EXPECT_EQ(file->format.height, height);
    EXPECT_EQ(file->format.bitCount, depth);
    EXPECT_EQ(file->format.imageSize,
              image::BmpRowStride(width, static_cast<std::uint16_t>(depth)) * height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const COLORREF expected = Frozen(s.left + x, s.top + y);
        ASSERT_EQ(file->At(x, y),
                  (Rgb{GetRValue(expected), GetGValue(expected), GetBValue(expected)}))
            << x << "," << y;
      }
    }
  }
  EXPECT_EQ(lastRequest_.kind, ui::DialogKind::kSaveFile);
  EXPECT_EQ(lastRequest_.owner, window_);
  EXPECT_EQ(lastRequest_.filter, "\xCE\xBB\xCD\xBC|*.bmp");
  EXPECT_EQ(lastRequest_.defaultExtension, ".bmp");
}

TEST_F(RegionPicture, SavesTheAnnotatedCopyOnceItExistsReplacingAnOlderFile) {
  const auto path = folder_ / "old.bmp";
  std::ofstream(path, std::ios::binary) << std::string(5000, 'o');
  AnswerDialog(path);
  ui::CommonDialog dialog = SaveDialog();
  ASSERT_EQ(SaveRegionToFile({screen_, snapshot_, annotated_, {10, 10, 13, 12}}, dialog),
            SaveOutcome::kSaved);
  const std::string bytes = ReadFile(path);
  const auto file = ReadBmp(bytes);
  ASSERT_TRUE(file.has_value());
  EXPECT_EQ(file->fileSize, bytes.size());
  EXPECT_EQ(file->At(0, 0), (Rgb{200, 10, 20}));
  EXPECT_EQ(file->At(2, 1), (Rgb{200, 10, 20}));
}

TEST_F(RegionPicture, ACancelledDialogWritesNothing) {
  AnswerDialog(std::nullopt);
  ui::CommonDialog dialog = SaveDialog();
  ui::MessageRecorder messages;
  EXPECT_EQ(SaveRegionToFile({screen_, snapshot_, nullptr, {1, 1, 5, 5}}, dialog),
            SaveOutcome::kCancelled);
  EXPECT_EQ(dialogs_, 1);
  EXPECT_TRUE(messages.texts().empty());
  EXPECT_TRUE(std::filesystem::is_empty(folder_));
}

TEST_F(RegionPicture, AFailedWriteSaysSoAndLeavesNoFile) {
  for (const std::filesystem::path& path :
       {folder_ / "missing" / "shot.bmp", std::filesystem::path("Z:\\proc\\shot.bmp")}) {
    AnswerDialog(path);
    ui::CommonDialog dialog = SaveDialog();
    ui::MessageRecorder messages;
    EXPECT_EQ(SaveRegionToFile({screen_, snapshot_, nullptr, {1, 1, 5, 5}}, dialog),
              SaveOutcome::kFailed);
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(messages.texts()[0], "\xB1\xA3\xB4\xE6\xCA\xA7\xB0\xDC\xA3\xA1");  // 保存失败！
    EXPECT_FALSE(std::filesystem::exists(path));
  }
}

TEST_F(RegionPicture, CopiesExactlyTheRegionToTheClipboard) {
  const Rect s{20, 10, 27, 14};
  ASSERT_TRUE(CopyRegionToClipboard(window_, {screen_, snapshot_, nullptr, s}));
  ASSERT_TRUE(OpenClipboard(nullptr));
  auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, 7);
  EXPECT_EQ(info.bmHeight, 4);
  HDC dc = CreateCompatibleDC(screen_);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 7; ++x) EXPECT_EQ(GetPixel(dc, x, y), Frozen(20 + x, 10 + y));
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  CloseClipboard();
}

}  // namespace
}  // namespace lumenta::capture
