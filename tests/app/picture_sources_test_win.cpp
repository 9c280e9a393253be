// The three picture sources of the live main window, under Wine: the open-file dialog through
// its seam, real OLE drops on the window, the real clipboard; and what the preview shows.
#include <gtest/gtest.h>
#include <png.h>
#include <windows.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "app/event_table_win.h"
#include "app/picture_sources.h"
#include "app/picture_sources_win.h"
#include "app/platform_win.h"
#include "app/window_designs.h"
#include "base/text_encoders.h"
#include "tests/support/picture_fixtures.h"
#include "tests/ui/ui_test_support_win.h"
#include "ui/message_box.h"
#include "ui/picture_box_win.h"
#include "ui/picture_renderer_win.h"
#include "ui/window_win.h"

namespace lumenta::app {
namespace {

using image::testing::Bytes;
using lumenta::testing::PumpMessages;
using lumenta::testing::PumpUntil;

constexpr std::string_view kBox = "图片框1";

// A PNG of one opaque colour (0xRRGGBB).
Bytes FlatPng(int width, int height, std::uint32_t rgb) {
  image::testing::PngSpec spec{
      .width = width, .height = height, .colorType = PNG_COLOR_TYPE_RGB, .bitDepth = 8};
  Bytes row;
  for (int x = 0; x < width; ++x) {
    row += Bytes{static_cast<char>(rgb >> 16), static_cast<char>(rgb >> 8), static_cast<char>(rgb)};
  }
  spec.rows.assign(height, row);
  return image::testing::WritePng(spec);
}

// A folder of its own under the temporary folder, removed at the end.
class Scratch {
 public:
  Scratch() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::filesystem::path(temp) /
              (L"lumenta-pictures-" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(folder_);
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  // Writes `bytes` to `name` and returns the full path.
  std::wstring Write(const std::wstring& name, const Bytes& bytes) const {
    const auto path = folder_ / name;
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.wstring();
  }
  std::wstring PathOf(const std::wstring& name) const { return (folder_ / name).wstring(); }

 private:
  std::filesystem::path folder_;
};

// The box's background colour as 0xRRGGBB.
COLORREF ButtonFace() {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  return RGB(GetBValue(face), GetGValue(face), GetRValue(face));
}

Text Gbk(const std::wstring& path) { return Utf16ToGbk(std::u16string(path.begin(), path.end())); }

// The main window as the program makes it, shown, with the program's picture renderer.
class MainWindowPictures : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_.emplace([this](Platform& p) { p.pictureRenderer = &renderer_; });
    window_ = ui::Window::Create(MainWindowDesign(), MainWindowEvents());
    ASSERT_NE(window_, nullptr);
    window_->Show();
    PumpMessages();
  }
  void TearDown() override {
    window_.reset();
    dialogs_.reset();
    platform_.reset();
  }

  // The open-file dialog answers through `runner` until the test ends.
  void AnswerDialogs(ui::FileDialogRunner runner) {
    dialogs_.emplace([&runner](Platform& p) { p.fileDialogs = std::move(runner); });
  }

  ByteBuffer Picture() const { return window_->GetPicture(kBox); }

  void Click(std::string_view button) {
    SendMessageW(window_->ControlHandle(button), BM_CLICK, 0, 0);
    PumpMessages();
  }

  // Drags `data` onto the middle of the picture box with OLE, as a user drags from Explorer,
  // and lets the window handle the drop it reports once the drag is over.
  void DropOnWindow(IDataObject* data) {
    ASSERT_TRUE(window_->Drop("拖放对象1")->registered());
    RECT box;
    GetWindowRect(window_->ControlHandle(kBox), &box);
    const DWORD effect = lumenta::testing::DragAndDropAt(
        {(box.left + box.right) / 2, (box.top + box.bottom) / 2}, data);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    PumpMessages();
  }

  void DropFiles(const std::vector<std::wstring>& paths) {
    lumenta::testing::TestDataObject data;
    data.Add(CF_HDROP, lumenta::testing::DropFilesBytes(paths));
    DropOnWindow(&data);
  }

  // The colour (0xRRGGBB) the screen shows at a point of the picture box's client area.
  COLORREF ShownAt(int x, int y) {
    HWND box = window_->ControlHandle(kBox);
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    HDC dc = GetDC(box);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(box, dc);
    return RGB(GetBValue(colour), GetGValue(colour), GetRValue(colour));  // to 0xRRGGBB
  }

  SIZE BoxClient() const {
    RECT client;
    GetClientRect(window_->ControlHandle(kBox), &client);
    return {client.right, client.bottom};
  }

  // The program's renderer, counting the pictures it decodes and fits.
  int fits_ = 0;
  ui::PreviewRenderer renderer_{[this](std::string_view bytes, int width, int height) {
    ++fits_;
    return image::MakePreview(bytes, width, height);
  }};
  std::optional<ScopedPlatform> platform_;
  std::optional<ScopedPlatform> dialogs_;
  std::unique_ptr<ui::Window> window_;
  Scratch scratch_;
};

// ---- the open-file dialog ----

TEST_F(MainWindowPictures, TheDialogOpensOnTheDesktopWithThePictureFilterAndLoadsTheChoice) {
  const Bytes png = FlatPng(4, 4, 0x336699);
  const std::wstring path = scratch_.Write(L"chosen.png", png);
  std::vector<ui::FileDialogRequest> requests;
  AnswerDialogs([&](const ui::FileDialogRequest& request) -> std::optional<Text> {
    requests.push_back(request);
    return Gbk(path);
  });
  Click("按钮_选图");
  ASSERT_EQ(requests.size(), 1u);
  const auto& r = requests[0];
  EXPECT_EQ(r.kind, ui::DialogKind::kOpenFile);
  EXPECT_EQ(r.filter, kPictureFileFilter);
  EXPECT_EQ(r.filterIndex, 1);
  EXPECT_EQ(r.initialFolder, DesktopFolder());
  ASSERT_FALSE(r.initialFolder.empty());
  EXPECT_EQ(r.initialFolder.back(), '\\');
  EXPECT_EQ(r.owner, window_->handle());
  EXPECT_EQ(Picture(), png);
}

TEST_F(MainWindowPictures, ACancelReloadsTheLastConfirmedFile) {
  const std::wstring path = scratch_.Write(L"kept.png", FlatPng(4, 4, 0x112233));
  std::optional<Text> answer = Gbk(path);
  std::vector<Text> shownNames;
  AnswerDialogs([&](const ui::FileDialogRequest& request) {
    shownNames.push_back(request.fileName);
    return answer;
  });
  Click("按钮_选图");
  // The file changes on disk; a cancel reads it again under the kept name.
  const Bytes changed = FlatPng(8, 2, 0x445566);
  scratch_.Write(L"kept.png", changed);
  answer.reset();
  Click("按钮_选图");
  ASSERT_EQ(shownNames.size(), 2u);
  EXPECT_EQ(shownNames[1], Gbk(path));
  EXPECT_EQ(Picture(), changed);
}

TEST_F(MainWindowPictures, ACancelWithoutAnyChoiceClearsThePicture) {
  window_->SetPicture(kBox, ByteBuffer(FlatPng(4, 4, 0x778899)));
  AnswerDialogs([](const ui::FileDialogRequest&) { return std::optional<Text>(); });
  Click("按钮_选图");
  EXPECT_TRUE(Picture().empty());
}

// ---- drops ----

TEST_F(MainWindowPictures, ADroppedFileLoadsItsBytes) {
  const Bytes png = FlatPng(3, 3, 0xCC0000);
  DropFiles({scratch_.Write(L"dropped.png", png)});
  EXPECT_EQ(Picture(), png);
}

TEST_F(MainWindowPictures, SeveralDroppedFilesLoadTheFirst) {
  const Bytes first = FlatPng(3, 3, 0x00CC00);
  DropFiles({scratch_.Write(L"first.png", first), scratch_.Write(L"second.png", FlatPng(2, 2, 0)),
             scratch_.Write(L"third.txt", "text")});
  EXPECT_EQ(Picture(), first);
}

TEST_F(MainWindowPictures, ADroppedTextFileIsStoredButShowsNoPicture) {
  const Bytes text = "Recognise me: this is a plain text file, not a picture.\r\n";
  DropFiles({scratch_.Write(L"notes.txt", text)});
  EXPECT_EQ(Picture(), text);
  const SIZE client = BoxClient();
  EXPECT_EQ(ShownAt(client.cx / 2, client.cy / 2), ButtonFace());
}

TEST_F(MainWindowPictures, AMissingDroppedFileClearsThePicture) {
  window_->SetPicture(kBox, ByteBuffer(FlatPng(4, 4, 0x123456)));
  DropFiles({scratch_.PathOf(L"no such file.png")});
  EXPECT_TRUE(Picture().empty());
}

TEST_F(MainWindowPictures, DroppedTextChangesNothing) {
  const Bytes png = FlatPng(4, 4, 0x654321);
  window_->SetPicture(kBox, ByteBuffer(png));
  lumenta::testing::TestDataObject data;
  data.Add(CF_UNICODETEXT, lumenta::testing::WideBytes(scratch_.PathOf(L"x.png")));
  DropOnWindow(&data);
  EXPECT_EQ(Picture(), png);
}

// ---- the clipboard ----

Bytes Le32(std::uint32_t v) {
  return Bytes{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
               static_cast<char>(v >> 24)};
}

TEST_F(MainWindowPictures, TheClipboardButtonLoadsTheBitmapAsABmpFile) {
  Bytes palette;
  for (int i = 0; i < 256; ++i) palette += Bytes{char(255 - i), char(i), char(i / 3), 0};
  const struct {
    const char* name;
    WORD bits;
    Bytes table;
    Bytes rows;  // 2 x 2, bottom row first, padded to four bytes
  } cases[] = {
      {"24 bits", 24, "",
       Bytes("\x00\x00\xFF\xFF\x00\x00\x00\x00\x01\x02\x03\x04\x05\x06\x00\x00", 16)},
      {"32 bits", 32, "",
       Bytes("\x00\x00\xFF\x00\xFF\x00\x00\x00\x01\x02\x03\x00\x04\x05\x06\x00", 16)},
      {"8-bit palette", 8, palette, Bytes("\x03\xFC\x00\x00\x80\x7F\x00\x00", 8)},
  };
  for (const auto& c : cases) {
    std::vector<unsigned char> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    *header = {sizeof(BITMAPINFOHEADER), 2, 2, 1, c.bits, BI_RGB};
    std::copy(c.table.begin(), c.table.end(), info.begin() + sizeof(BITMAPINFOHEADER));
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(info.data()),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    std::memcpy(bits, c.rows.data(), c.rows.size());
    ASSERT_TRUE(OpenClipboard(window_->handle()));
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, bitmap);
    CloseClipboard();
    ui::MessageRecorder messages;
    Click("按钮_取图");
    EXPECT_TRUE(messages.texts().empty()) << c.name;
    // "BM", size, two zero words, offset 54 + 4 x entries; the 40-byte header; the table; rows.
    const std::uint32_t offset = 54 + static_cast<std::uint32_t>(c.table.size());
    const Bytes expected =
        "BM" + Le32(offset + static_cast<std::uint32_t>(c.rows.size())) + Le32(0) + Le32(offset) +
        Le32(40) + Le32(2) + Le32(2) + Bytes{1, 0, static_cast<char>(c.bits), 0} + Le32(0) +
        Le32(static_cast<std::uint32_t>(c.rows.size())) + Bytes(16, '\0') + c.table + c.rows;
    EXPECT_EQ(Picture(), expected) << c.name;
  }
}

TEST_F(MainWindowPictures, WithoutABitmapOnTheClipboardThePictureStaysAndAMessageSaysSo) {
  const Bytes png = FlatPng(4, 4, 0x0000AA);
  window_->SetPicture(kBox, ByteBuffer(png));
  ASSERT_TRUE(OpenClipboard(window_->handle()));
  EmptyClipboard();
  CloseClipboard();
  ui::MessageRecorder messages;
  Click("按钮_取图");
  EXPECT_EQ(messages.texts(), std::vector<Text>{Text(kNoClipboardPicture)});
  EXPECT_EQ(Picture(), png);
}

// ---- the preview ----

TEST_F(MainWindowPictures, ASmallPictureShowsCentredAtItsSize) {
  window_->SetPicture(kBox, ByteBuffer(FlatPng(20, 10, 0xE01020)));
  const SIZE client = BoxClient();
  const int left = (client.cx - 20) / 2, top = (client.cy - 10) / 2;
  EXPECT_EQ(ShownAt(left, top), 0xE01020u);
  EXPECT_EQ(ShownAt(left + 19, top + 9), 0xE01020u);
  EXPECT_NE(ShownAt(left - 1, top), 0xE01020u);
  EXPECT_NE(ShownAt(left + 20, top), 0xE01020u);
}

TEST_F(MainWindowPictures, ALargePictureShrinksToTheBoxWidth) {
  // Twice as wide as high and much larger than the box: full width, centred vertically.
  window_->SetPicture(kBox, ByteBuffer(image::testing::WriteBlockJpeg(1600, 800, 800, {0x20A040})));
  const SIZE client = BoxClient();
  const int shownHeight = client.cx / 2;
  const int top = (client.cy - shownHeight) / 2;
  const COLORREF inside = ShownAt(client.cx / 2, client.cy / 2);
  EXPECT_NEAR(static_cast<int>(inside >> 16), 0x20, 4);
  EXPECT_NEAR(static_cast<int>((inside >> 8) & 0xFF), 0xA0, 4);
  EXPECT_NEAR(static_cast<int>(inside & 0xFF), 0x40, 4);
  EXPECT_NE(ShownAt(client.cx / 2, top - 3), inside);
  EXPECT_EQ(ShownAt(0, client.cy / 2), inside);
}

TEST_F(MainWindowPictures, RepaintingDoesNotDecodeAgain) {
  window_->SetPicture(kBox, ByteBuffer(FlatPng(30, 30, 0x0080FF)));
  const SIZE client = BoxClient();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(ShownAt(client.cx / 2, client.cy / 2), 0x0080FFu);
  EXPECT_EQ(fits_, 1);
  // New bytes are a new picture.
  window_->SetPicture(kBox, ByteBuffer(FlatPng(30, 30, 0xFF8000)));
  EXPECT_EQ(ShownAt(client.cx / 2, client.cy / 2), 0xFF8000u);
  EXPECT_EQ(ShownAt(client.cx / 2, client.cy / 2), 0xFF8000u);
  EXPECT_EQ(fits_, 2);
}

TEST_F(MainWindowPictures, TheBytesComeBackUnchangedWhateverTheyDecodeTo) {
  const Bytes cases[] = {FlatPng(5, 5, 0x010203), Bytes("\x89PNG\r\n\x1A\n broken", 16),
                         Bytes(3, '\0'), Bytes("BM", 2) + Bytes(100, '\xFF')};
  for (const Bytes& bytes : cases) {
    window_->SetPicture(kBox, ByteBuffer(bytes));
    const SIZE client = BoxClient();
    ShownAt(client.cx / 2, client.cy / 2);  // painted, so decoded
    EXPECT_EQ(Picture(), bytes);
  }
}

TEST(ReadPictureFile, GivesTheWholeFileOrNothing) {
  Scratch scratch;
  const Bytes bytes = FlatPng(7, 7, 0x102030) + Bytes(3, '\0');
  const std::wstring file = scratch.Write(L"\u56FE\u7247.png", bytes);  // 图片.png
  EXPECT_EQ(ReadPictureFile(Gbk(file)), bytes);
  // A file just over the limit (sparse: nothing is written) is not read at all.
  const std::wstring huge = scratch.PathOf(L"huge.bin");
  HANDLE handle = CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = static_cast<LONGLONG>(kMaxPictureFileBytes) + 1;
  SetFilePointerEx(handle, size, nullptr, FILE_BEGIN);
  SetEndOfFile(handle);
  CloseHandle(handle);
  const struct {
    const char* name;
    Text path;
  } nothing[] = {
      {"an empty name", ""},
      {"a missing file", Gbk(scratch.PathOf(L"missing.png"))},
      {"a folder", Gbk(scratch.PathOf(L""))},
      {"a file over the limit", Gbk(huge)},
  };
  for (const auto& c : nothing) EXPECT_TRUE(ReadPictureFile(c.path).empty()) << c.name;
}

// The sponsor window shows its picture, the program's resource, scaled to 240 x 240.
TEST(SponsorPicture, IsShownScaledInThePictureBox) {
  ui::PreviewRenderer renderer;
  ScopedPlatform platform([&renderer](Platform& p) { p.pictureRenderer = &renderer; });
  auto sponsor = ui::Window::Create(SponsorWindowDesign());
  ASSERT_NE(sponsor, nullptr);
  sponsor->Show();
  PumpMessages();
  HWND box = sponsor->ControlHandle("图片框2");
  const ByteBuffer bytes = sponsor->GetPicture("图片框2");
  ASSERT_FALSE(bytes.empty());
  RECT client;
  GetClientRect(box, &client);
  ASSERT_EQ(client.right, 240);
  ASSERT_EQ(client.bottom, 248);
  const image::Preview expected = image::MakePreview(bytes.view(), client.right, client.bottom);
  ASSERT_EQ(expected.pixels.width(), 240);
  ASSERT_EQ(expected.pixels.height(), 240);
  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  HDC dc = GetDC(box);
  // The box starts 9 pixels above the window's client area and runs below it; these points
  // are in its visible part, which the picture covers from side to side.
  for (const POINT at : {POINT{120, 124}, POINT{10, 14}, POINT{230, 100}, POINT{60, 180}}) {
    const COLORREF shown = GetPixel(dc, at.x, at.y);
    const std::uint32_t argb = expected.pixels.Pixel(at.x - expected.x, at.y - expected.y);
    EXPECT_EQ(shown, RGB(argb >> 16 & 0xFF, argb >> 8 & 0xFF, argb & 0xFF)) << at.x << "," << at.y;
  }
  ReleaseDC(box, dc);
  sponsor.reset();
}

}  // namespace
}  // namespace lumenta::app
