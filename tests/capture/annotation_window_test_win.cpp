// The toolbar, its options panel, the drawing tools, the text box and the output of the capture
// window, driven under Wine with the mouse and keyboard messages a user causes over a known
// frozen picture; read back from the window's pixels, the clipboard and the files written.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

#include "app/window_designs.h"
#include "capture/capture_annotation_win.h"
#include "capture/capture_tool_win.h"
#include "capture/model/font_size_list_model.h"
#include "capture/toolbar/toolbar_style.h"
#include "capture/window/screen_snapshot_win.h"
#include "capture_test_support_win.h"
#include "gui_object_counts_win.h"
#include "tests/support/bmp_test_reader.h"
#include "ui/common_dialog_win.h"
#include "ui/message_box.h"

namespace lumenta::capture {
namespace {

using testing::Mouse;
using testing::Pattern;
using testing::Rgb;

constexpr Rect kSelection{400, 300, 800, 600};
constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;

// Pixels of an area of what the window shows, addressed in window coordinates.
class Shown {
 public:
  Shown(HWND window, const Rect& area) : area_(area) {
    HDC dc = GetDC(window);
    pixels_ = testing::Pixels(nullptr, 0, 0);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, area.Width(), area.Height());
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, area.Width(), area.Height(), dc, area.left, area.top, SRCCOPY);
    pixels_ = testing::Pixels(memory, area.Width(), area.Height());
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, dc);
  }
  [[nodiscard]] std::uint32_t At(int x, int y) const {
    return pixels_.At(x - area_.left, y - area_.top);
  }
  [[nodiscard]] bool operator==(const Shown& other) const {
    return pixels_.data() == other.pixels_.data();
  }

 private:
  Rect area_;
  testing::Pixels pixels_;
};

// True when `c` lies between `was` and red in every channel: red text, smoothed or not, over a
// pixel that showed `was`.
bool TowardsRed(std::uint32_t c, std::uint32_t was) {
  const auto channel = [](std::uint32_t v, int shift) { return int(v >> shift) & 0xFF; };
  return channel(c, 16) >= channel(was, 16) && channel(c, 8) <= channel(was, 8) &&
         channel(c, 0) <= channel(was, 0);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class AnnotationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previousSnapshot_ = SetSnapshotSource(testing::PaintPattern);
    screen_ = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    folder_ = std::filesystem::temp_directory_path() /
              ("lumenta-annotation-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    SetSnapshotSource(previousSnapshot_);
    ui::SetFileDialogRunner({});
    std::filesystem::remove_all(folder_);
  }

  // Runs one capture: `drive` gets the window once it is set up; the capture then ends with
  // Escape unless `drive` ended it. Returns when the window has been destroyed.
  void Capture(const std::function<void(HWND, Mouse&)>& drive) {
    tool_.SetOpenedHook([&](HWND window) {
      Mouse mouse(window);
      drive(window, mouse);
      if (IsWindow(window)) PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    tool_.StartCapture(nullptr);
    EXPECT_EQ(tool_.window(), nullptr);
  }

  static void Click(Mouse& mouse, Point p) {
    mouse.Down(p);
    mouse.Up(p);
  }
  static void Select(Mouse& mouse, const Rect& r) {
    mouse.Drag({r.left, r.top},
               {{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, {r.right, r.bottom}});
  }
  // Where things of the toolbar and its panel are on the screen now.
  Point Toolbar() { return annotation_.toolbar().position(); }
  static Point Centre(const Zone& z) { return {(z.left + z.right) / 2, (z.top + z.bottom) / 2}; }
  Point OnScreen(Point p) { return {Toolbar().x + p.x, Toolbar().y + p.y}; }
  Point Button(int k) { return OnScreen(Centre(kToolbarButtonZones[k - 1])); }
  Point PaletteEntry(int n) {
    return OnScreen(
        Centre(PaletteEntryZone(n, ToolChoiceFor(annotation_.choices().currentTool).paletteX)));
  }
  // A point of the options panel, in panel coordinates.
  Point Panel(int x, int y) { return OnScreen({x, kPanelOffsetY + y}); }
  void ChooseTool(Mouse& mouse, Tool tool) { Click(mouse, Button(static_cast<int>(tool))); }

  // The save dialog answers with `path`, or is cancelled.
  void AnswerSaveDialog(std::optional<std::filesystem::path> path) {
    ui::SetFileDialogRunner([path](const ui::FileDialogRequest& request) {
      EXPECT_EQ(request.kind, ui::DialogKind::kSaveFile);
      EXPECT_EQ(request.filter, "\xCE\xBB\xCD\xBC|*.bmp");  // 位图|*.bmp
      EXPECT_EQ(request.defaultExtension, ".bmp");
      return path ? std::optional<Text>(path->string()) : std::nullopt;
    });
  }

  CaptureTool tool_{app::CaptureWindowDesign()};
  CaptureAnnotation annotation_{tool_};
  Size screen_;
  std::filesystem::path folder_;

 private:
  SnapshotSource previousSnapshot_;
};

TEST_F(AnnotationTest, ChoosingEachToolSetsRedAndOpensItsPanel) {
  const struct {
    Tool tool;
    int panelWidth;
    int paletteX;
    int penWidth;  // 0: no size buttons
    int outlinedSizeButton;
  } cases[] = {{Tool::kRectangle, 248, 89, 1, 1},
               {Tool::kEllipse, 248, 89, 1, 1},
               {Tool::kArrow, 167, 8, 0, 0},
               {Tool::kBrush, 248, 89, 8, 3},
               {Tool::kText, 248, 89, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.tool));
    Capture([&](HWND window, Mouse& mouse) {
      Select(mouse, kSelection);
      ChooseTool(mouse, Tool::kRectangle);
      Click(mouse, PaletteEntry(13));  // blue first
      ASSERT_EQ(annotation_.choices().currentColour, 13);
      ChooseTool(mouse, c.tool);
      EXPECT_TRUE(tool_.session().ToolChosen());
      EXPECT_EQ(annotation_.choices().currentTool, c.tool);
      EXPECT_EQ(annotation_.choices().currentColour, kPaletteRed);
      const Rect area{0, 0, screen_.width, screen_.height};
      const Shown shown(window, area);
      const Point colourBox = Panel(c.paletteX + 14, 18);
      EXPECT_EQ(shown.At(colourBox.x, colourBox.y), kRed) << "colour box";
      const Point border = Panel(c.panelWidth - 1, 18);
      EXPECT_EQ(shown.At(border.x, border.y), Rgb(kPanelBorderColour)) << "panel's right side";
      const Point beyond = Panel(c.panelWidth + 2, 18);
      EXPECT_NE(shown.At(beyond.x, beyond.y), Rgb(kPanelColour)) << "nothing beyond the panel";
      // The chosen tool's outline, and no other.
      const Zone chosen = kToolbarButtonZones[static_cast<int>(c.tool) - 1];
      const Point edge = OnScreen({chosen.left, 12});
      EXPECT_EQ(shown.At(edge.x, edge.y), Rgb(kOutlineColour));
      if (c.tool != Tool::kRectangle) {
        const Point old = OnScreen({6, 12});
        EXPECT_EQ(shown.At(old.x, old.y), Rgb(kPanelColour)) << "the previous outline is gone";
      }
      if (c.penWidth != 0) {
        EXPECT_EQ(annotation_.choices().penWidth, c.penWidth);
        const Point dot = Panel(67, 18);
        EXPECT_EQ(shown.At(dot.x, dot.y), Rgb(kDotColour)) << "the widest dot";
        const Point outline = Panel(kSizeButtonOutlines[c.outlinedSizeButton - 1].left, 15);
        EXPECT_EQ(shown.At(outline.x, outline.y), Rgb(kOutlineColour)) << "the chosen width";
      }
      EXPECT_EQ(tool_.session().textSizeBoxShown(), c.tool == Tool::kText);
      if (c.tool == Tool::kText) {
        const Point triangle = Panel(67, 17);
        EXPECT_EQ(shown.At(triangle.x, triangle.y), Rgb(kTriangleColour));
      }
    });
  }
}

TEST_F(AnnotationTest, APaletteClickChangesTheColourBoxAndTheDrawingColour) {
  Capture([&](HWND window, Mouse& mouse) {
    Select(mouse, kSelection);
    ChooseTool(mouse, Tool::kBrush);
    Click(mouse, PaletteEntry(13));
    EXPECT_EQ(annotation_.choices().currentColour, 13);
    const Point colourBox = Panel(89 + 14, 18);
    EXPECT_EQ(Shown(window, kSelection.Inflated(400, 300)).At(colourBox.x, colourBox.y), kBlue);
    mouse.Drag({500, 400}, {{600, 400}});
    EXPECT_EQ(Shown(window, kSelection).At(550, 400), kBlue);
  });
}

TEST_F(AnnotationTest, HoveringAToolButtonOutlinesItUntilTheMouseLeavesTheToolbar) {
  Capture([&](HWND window, Mouse& mouse) {
    Select(mouse, kSelection);
    const Point button = Button(2);
    const Point edge = OnScreen({kToolbarButtonZones[1].left, 12});
    mouse.Move(button);
    EXPECT_EQ(Shown(window, kSelection.Inflated(300, 300)).At(edge.x, edge.y), Rgb(kOutlineColour));
    EXPECT_EQ(annotation_.toolbar().hoverItem(), 2);
    mouse.Move({button.x + 1, button.y});  // staying on it draws nothing new
    EXPECT_EQ(Shown(window, kSelection.Inflated(300, 300)).At(edge.x, edge.y), Rgb(kOutlineColour));
    mouse.Move({Toolbar().x - 30, Toolbar().y + 12});
    EXPECT_EQ(Shown(window, kSelection.Inflated(300, 300)).At(edge.x, edge.y), Rgb(kPanelColour));
    EXPECT_EQ(annotation_.toolbar().hoverItem(), 0);
  });
}

TEST_F(AnnotationTest, ARectangleDrawnRightToLeftEqualsTheSameDrawnLeftToRight) {
  std::optional<Shown> forwards, backwards;
  for (const bool reversed : {false, true}) {
    Capture([&](HWND window, Mouse& mouse) {
      Select(mouse, kSelection);
      ChooseTool(mouse, Tool::kRectangle);
      Click(mouse, Button(1));  // stays the rectangle tool
      const Point a{450, 350}, b{650, 520};
      if (reversed) {
        mouse.Drag(b, {{560, 430}, a});
      } else {
        mouse.Drag(a, {{560, 430}, b});
      }
      (reversed ? backwards : forwards).emplace(window, kSelection);
    });
  }
  ASSERT_TRUE(forwards && backwards);
  EXPECT_TRUE(*forwards == *backwards);
  EXPECT_EQ(forwards->At(450, 400), kRed) << "left side";
  EXPECT_EQ(forwards->At(549, 350), kRed) << "top side";
  EXPECT_EQ(forwards->At(600, 400), Rgb(Pattern(600, 400))) << "inside stays clear";
}

TEST_F(AnnotationTest, ShapesKeepTheirMovingCornerOnePixelInsideTheRectangle) {
  Capture([&](HWND window, Mouse& mouse) {
    Select(mouse, kSelection);
    ChooseTool(mouse, Tool::kRectangle);
    mouse.Drag({500, 400}, {{900, 700}});  // far past the bottom-right corner
    const Shown shown(window, kSelection.Inflated(5, 5));
    // The corner stopped at region (width - 1, height - 1); the rectangle's right and bottom
    // sides lie just inside it, clear of the frame on the selection's last column and row.
    EXPECT_EQ(shown.At(798, 550), kRed);
    EXPECT_EQ(shown.At(650, 598), kRed);
    EXPECT_EQ(shown.At(799, 550), 0x00AFFFu) << "the frame";
    EXPECT_EQ(shown.At(650, 599), 0x00AFFFu) << "the frame";
  });
}

TEST_F(AnnotationTest, ABrushStrokeOfWidthEightStaysFourPixelsInside) {
  Capture([&](HWND window, Mouse& mouse) {
    Select(mouse, kSelection);
    ChooseTool(mouse, Tool::kBrush);
    ASSERT_EQ(annotation_.choices().penWidth, 8);
    // Up past the top, along outside it, and down again.
    mouse.Drag({600, 450}, {{600, 250}, {700, 250}, {700, 450}});
    const Shown shown(window, kSelection.Inflated(20, 20));
    // While the mouse ran outside the stroke followed the row 4 pixels inside the top side.
    for (int x = 610; x <= 690; x += 10) {
      for (int y = 301; y <= 306; ++y) EXPECT_EQ(shown.At(x, y), kRed) << x << "," << y;
      EXPECT_EQ(shown.At(x, 312), Rgb(Pattern(x, 312))) << x;
      EXPECT_NE(shown.At(x, 299), kRed) << "nothing outside, " << x;
    }
    EXPECT_EQ(shown.At(600, 400), kRed);
    EXPECT_EQ(shown.At(700, 400), kRed);
  });
}

TEST_F(AnnotationTest, TheArrowHasAOnePixelShaftAndANinePixelHeadWhateverTheWidth) {
  Capture([&](HWND window, Mouse& mouse) {
    Select(mouse, kSelection);
    ChooseTool(mouse, Tool::kBrush);  // width 8 chosen before
    ChooseTool(mouse, Tool::kArrow);
    mouse.Drag({450, 450}, {{600, 450}, {700, 450}});
    const Shown shown(window, kSelection);
    EXPECT_EQ(shown.At(550, 450), kRed);
    EXPECT_EQ(shown.At(550, 449), Rgb(Pattern(550, 449)));
    EXPECT_EQ(shown.At(550, 451), Rgb(Pattern(550, 451)));
    // The head: corners at (692, 445) and (692, 455) around the tip (700, 450).
    EXPECT_EQ(shown.At(694, 448), kRed);
    EXPECT_EQ(shown.At(694, 452), kRed);
    EXPECT_EQ(shown.At(690, 445), Rgb(Pattern(690, 445)));
    EXPECT_EQ(shown.At(703, 450), Rgb(Pattern(703, 450)));
  });
}

TEST_F(AnnotationTest, TypedTextIsWrittenWhereTheBoxStoodAtTheNextPress) {
  Capture([&](HWND window, Mouse& mouse) {
    Select(mouse, kSelection);
    ChooseTool(mouse, Tool::kText);
    HWND box = tool_.textBox();
    const Shown before(window, kSelection);
    Click(mouse, {450, 350});
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_EQ(GetFocus(), box);
    EXPECT_EQ(annotation_.textBox().Bounds(), (Rect{450, 350, 500, 367}));
    for (wchar_t c : std::wstring(L"Wm")) SendMessageW(box, WM_CHAR, c, 1);
    EXPECT_EQ(annotation_.textBox().Text(), L"Wm");

    Click(mouse, {700, 500});  // elsewhere inside: commits
    EXPECT_FALSE(IsWindowVisible(box));
    EXPECT_TRUE(annotation_.textBox().Text().empty());
    const Shown after(window, kSelection);
    // The text starts 1 pixel right of and 2 below the box's corner, 12 pixels high.
    int changed = 0, changedOutside = 0;
    for (int y = 340; y < 380; ++y) {
      for (int x = 440; x < 520; ++x) {
        if (after.At(x, y) == before.At(x, y)) continue;
        const bool inText = x >= 451 && x < 451 + 30 && y >= 352 && y < 352 + 14;
        (inText ? changed : changedOutside) += 1;
        if (inText) {
          EXPECT_TRUE(TowardsRed(after.At(x, y), before.At(x, y))) << x << "," << y;
        }
      }
    }
    EXPECT_GT(changed, 15);
    EXPECT_EQ(changedOutside, 0);

    Click(mouse, {520, 420});  // the next press places a new, empty box there
    EXPECT_TRUE(IsWindowVisible(box));
    EXPECT_EQ(annotation_.textBox().Bounds(), (Rect{520, 420, 570, 437}));
  });
}

TEST_F(AnnotationTest, TheTextBoxGrowsUntilTheRightSideThenTakesNoMoreText) {
  Capture([&](HWND, Mouse& mouse) {
    Select(mouse, kSelection);
    ChooseTool(mouse, Tool::kText);
    HWND box = tool_.textBox();
    Click(mouse, {690, 350});
    int previous = annotation_.textBox().Bounds().Width();
    EXPECT_EQ(previous, 50);
    bool grew = false;
    for (int i = 0; i < 40 && !annotation_.textBox().IsReadOnly(); ++i) {
      SendMessageW(box, WM_CHAR, L'W', 1);
      const int width = annotation_.textBox().Bounds().Width();
      EXPECT_GE(width, previous);
      grew = grew || width > previous;
      previous = width;
    }
    EXPECT_TRUE(grew);
    ASSERT_TRUE(annotation_.textBox().IsReadOnly());
    EXPECT_EQ(annotation_.textBox().Bounds().right, kSelection.right);
    const std::wstring full = annotation_.textBox().Text();
    SendMessageW(box, WM_CHAR, L'W', 1);
    EXPECT_EQ(annotation_.textBox().Text(), full) << "read-only";

    // Characters selected with the mouse make it editable again.
    SendMessageW(box, EM_SETSEL, 0, 2);
    SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(annotation_.textBox().IsReadOnly());

    // Dragged out of the rectangle, it comes back at the next mouse movement over it.
    const Rect b = annotation_.textBox().Bounds();
    SetWindowPos(box, nullptr, 820, 620, b.Width(), b.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(box, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(annotation_.textBox().Bounds(), (Rect{800 - b.Width(), 600 - b.Height(), 800, 600}));
  });
}

TEST_F(AnnotationTest, TheTextSizeListSetsTheTextHeightOfTheBox) {
  Capture([&](HWND window, Mouse& mouse) {
    Select(mouse, kSelection);
    ChooseTool(mouse, Tool::kText);
    Click(mouse, {450, 350});
    Click(mouse, OnScreen(Centre(kTextSizeBoxZone)));
    EXPECT_TRUE(tool_.session().fontListOpen());
    EXPECT_EQ(tool_.session().textFontHeight(), 12);
    const Point list = annotation_.fontSizeList().Position();
    EXPECT_EQ(list, (Point{Toolbar().x + 30, Toolbar().y + 60}));
    EXPECT_EQ(Shown(window, {list.x, list.y, list.x + 1, list.y + 1}).At(list.x, list.y), 0x00AFFF)
        << "the list's frame";
    // Hovering lights an entry; dragging the thumb down scrolls; a press on an entry chooses it.
    mouse.Move({list.x + 15, list.y + 2 + 30});
    EXPECT_EQ(annotation_.fontSizeList().selectedEntry(), 2);
    mouse.Down({list.x + 40, list.y + 40});
    mouse.Move({list.x + 40, list.y + 60});
    EXPECT_EQ(annotation_.fontSizeList().scroll(), 20);
    mouse.Up({list.x + 40, list.y + 60});
    // Entry 9 (20 pixels) lies at strip rows 160..179, shown from row 47.
    mouse.Down({list.x + 15, list.y + 170 - 47});
    mouse.Up({list.x + 15, list.y + 170 - 47});
    EXPECT_FALSE(tool_.session().fontListOpen());
    EXPECT_EQ(tool_.session().textFontHeight(), 20);
    EXPECT_EQ(annotation_.textBox().Bounds().Height(), 25);
  });
}

TEST_F(AnnotationTest, ResetDiscardsTheAnnotationsAndReturnsToChoosing) {
  Capture([&](HWND window, Mouse& mouse) {
    Select(mouse, kSelection);
    ChooseTool(mouse, Tool::kBrush);
    mouse.Drag({500, 400}, {{700, 500}});
    Click(mouse, Button(6));
    EXPECT_EQ(tool_.session().phase(), CapturePhase::kChoosing);
    EXPECT_TRUE(tool_.session().selection().IsZero());
    const Shown dimmed(window, kSelection);
    EXPECT_NEAR(int(dimmed.At(600, 450) >> 16), testing::Dimmed(GetRValue(Pattern(600, 450))), 1);
    EXPECT_NEAR(int(dimmed.At(600, 450) >> 8) & 0xFF, testing::Dimmed(GetGValue(Pattern(600, 450))),
                1);
    // A new rectangle over the old drawing shows and gives the frozen picture only.
    Select(mouse, {450, 350, 750, 550});
    EXPECT_EQ(Shown(window, kSelection).At(600, 450), Rgb(Pattern(600, 450)));
    EXPECT_FALSE(annotation_.toolbar().panelShown());
    Click(mouse, Button(kButtonDone));
  });
  ASSERT_TRUE(OpenClipboard(nullptr));
  auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  ASSERT_NE(bitmap, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(Rgb(GetPixel(dc, 150, 100)), Rgb(Pattern(600, 450)));
  SelectObject(dc, old);
  DeleteDC(dc);
  CloseClipboard();
}

// The region on the clipboard: its size and every pixel.
// `expected` gives nothing for pixels whose value does not matter.
void ExpectClipboardRegion(const Rect& s,
                           const std::function<std::optional<std::uint32_t>(int, int)>& expected) {
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT)) << "the earlier text is gone";
  ASSERT_TRUE(OpenClipboard(nullptr));
  auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, s.Width());
  EXPECT_EQ(info.bmHeight, s.Height());
  const testing::Pixels pixels = [&] {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    testing::Pixels p(dc, s.Width(), s.Height());
    SelectObject(dc, old);
    DeleteDC(dc);
    return p;
  }();
  CloseClipboard();
  int wrong = 0;
  for (int y = 0; y < s.Height(); ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      const std::optional<std::uint32_t> e = expected(x, y);
      wrong += e && pixels.At(x, y) != *e ? 1 : 0;
    }
  }
  EXPECT_EQ(wrong, 0);
}

void PutTextOnClipboard() {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, 6);
  memcpy(GlobalLock(memory), "older", 6);
  GlobalUnlock(memory);
  SetClipboardData(CF_TEXT, memory);
  CloseClipboard();
}

TEST_F(AnnotationTest, DoneAndADoubleClickPutExactlyTheRegionOnTheClipboard) {
  const Rect s{100, 120, 230, 190};
  for (const bool doubleClick : {false, true}) {
    SCOPED_TRACE(doubleClick ? "double click" : "done");
    PutTextOnClipboard();
    bool closed = false;
    Capture([&](HWND window, Mouse& mouse) {
      Select(mouse, s);
      if (doubleClick) {
        mouse.DoubleClick({150, 150});
      } else {
        Click(mouse, Button(kButtonDone));
      }
      closed = !IsWindow(window);
    });
    EXPECT_TRUE(closed);
    ExpectClipboardRegion(s, [&](int x, int y) -> std::optional<std::uint32_t> {
      return Rgb(Pattern(s.left + x, s.top + y));
    });
  }
}

TEST_F(AnnotationTest, TheClipboardRegionCarriesTheAnnotations) {
  const Rect s{100, 120, 230, 190};
  PutTextOnClipboard();
  Capture([&](HWND, Mouse& mouse) {
    Select(mouse, s);
    ChooseTool(mouse, Tool::kBrush);
    mouse.Drag({120, 150}, {{200, 150}});
    Click(mouse, Button(kButtonDone));
  });
  // The stroke: 8 pixels wide along row 150 from x 120 to 200, round at its ends.
  ExpectClipboardRegion(s, [&](int x, int y) -> std::optional<std::uint32_t> {
    const int sx = s.left + x, sy = s.top + y;
    if (sx >= 121 && sx < 200 && sy >= 148 && sy <= 151) return kRed;
    if (sx < 114 || sx > 206 || sy < 144 || sy > 156) return Rgb(Pattern(sx, sy));
    return std::nullopt;  // the stroke's edge, as the pen rounds it
  });
}

// A rectangle over the whole screen leaves the toolbar no room below or above it: it sits inside
// along the bottom edge, moves up there when its panel opens, and takes every press on it (and on
// the text-size list above it) without drawing; done there puts the region on the clipboard
// untouched by the toolbar.
TEST_F(AnnotationTest, AWholeScreenSelectionKeepsItsToolbarInsideWhereDoneCopiesTheRegion) {
  const Rect s{0, 0, screen_.width - 1, screen_.height - 1};  // dragged to the last pixel
  PutTextOnClipboard();
  bool closed = false;
  Capture([&](HWND window, Mouse& mouse) {
    Select(mouse, s);
    ASSERT_EQ(tool_.session().selection(), s);
    EXPECT_EQ(Toolbar(), (Point{s.right - kToolbarWidth, s.bottom - 3 - kToolbarHeight}));
    const Rect all{0, 0, screen_.width, screen_.height};
    const Point doneEdge = OnScreen({kToolbarButtonZones[kButtonDone - 1].left, 12});
    mouse.Move(Button(kButtonDone));
    EXPECT_EQ(Shown(window, all).At(doneEdge.x, doneEdge.y), Rgb(kOutlineColour))
        << "done lights up under the mouse";

    ChooseTool(mouse, Tool::kRectangle);
    EXPECT_EQ(Toolbar(), (Point{s.right - kToolbarWidth, s.bottom - 3 - kHoverAreaHeight}))
        << "higher, with the panel under it";
    const Point blue = PaletteEntry(13);
    mouse.Drag(blue, {{blue.x + 2, blue.y + 2}});  // a press that slips while held
    EXPECT_EQ(annotation_.choices().currentColour, 13);

    ChooseTool(mouse, Tool::kText);
    Click(mouse, OnScreen(Centre(kTextSizeBoxZone)));
    ASSERT_TRUE(tool_.session().fontListOpen());
    EXPECT_FALSE(IsWindowVisible(tool_.textBox())) << "the press opened the list only";
    const Point list = annotation_.fontSizeList().Position();
    EXPECT_EQ(list, (Point{Toolbar().x + 30, Toolbar().y - 87})) << "above the toolbar";
    Click(mouse, {list.x + 15, list.y + 32});  // entry 2: 9 pixels
    EXPECT_FALSE(tool_.session().fontListOpen());
    EXPECT_EQ(tool_.session().textFontHeight(), 9);
    EXPECT_FALSE(IsWindowVisible(tool_.textBox()));

    Click(mouse, Button(kButtonDone));
    closed = !IsWindow(window);
  });
  EXPECT_TRUE(closed) << "done ends the capture";
  ExpectClipboardRegion(s, [&](int x, int y) -> std::optional<std::uint32_t> {
    return Rgb(Pattern(s.left + x, s.top + y));
  });
}

TEST_F(AnnotationTest, SaveWritesTheRegionAsABmpFileReplacingAnExistingOne) {
  const Rect regions[] = {{10, 20, 11, 21}, {100, 120, 233, 190}};
  for (const Rect& s : regions) {
    const auto path = folder_ / "capture.bmp";
    std::ofstream(path, std::ios::binary) << std::string(100000, 'x');
    AnswerSaveDialog(path);
    bool closed = false;
    Capture([&](HWND window, Mouse& mouse) {
      Select(mouse, s);
      ASSERT_EQ(tool_.session().selection(), s);
      Click(mouse, Button(kButtonSave));
      closed = !IsWindow(window);
    });
    EXPECT_TRUE(closed);
    const std::string bytes = ReadFile(path);
    const auto file = image::bmpread::ReadBmp(bytes);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->type, 19778);
    EXPECT_EQ(file->fileSize, bytes.size());
    EXPECT_EQ(file->pixelOffset, 58u);
    EXPECT_EQ(file->headerSize, 40u);
    EXPECT_EQ(file->format.width, s.Width());
    EXPECT_EQ(file->format.height, s.Height());
    EXPECT_EQ(file->format.planes, 1);
    EXPECT_EQ(file->format.compression, 0u);
    EXPECT_EQ(file->format.imageSize,
              image::BmpRowStride(s.Width(), file->format.bitCount) * std::uint64_t(s.Height()));
    int wrong = 0;
    for (int y = 0; y < s.Height(); ++y) {
      for (int x = 0; x < s.Width(); ++x) {
        const COLORREF c = Pattern(s.left + x, s.top + y);
        wrong +=
            file->At(x, y) == image::bmpread::Rgb{GetRValue(c), GetGValue(c), GetBValue(c)} ? 0 : 1;
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST_F(AnnotationTest, AFailedOrCancelledSaveKeepsTheWindowWithItsAnnotations) {
  const struct {
    const char* what;
    std::optional<std::filesystem::path> answer;
    bool message;
  } cases[] = {
      {"unwritable folder", std::filesystem::path("Z:\\proc\\capture.bmp"), true},
      {"missing folder", std::filesystem::path("C:\\no-such-folder\\capture.bmp"), true},
      {"cancelled dialog", std::nullopt, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    AnswerSaveDialog(c.answer);
    ui::MessageRecorder messages;
    Capture([&](HWND window, Mouse& mouse) {
      Select(mouse, kSelection);
      ChooseTool(mouse, Tool::kBrush);
      mouse.Drag({500, 400}, {{700, 400}});
      Click(mouse, Button(kButtonSave));
      EXPECT_TRUE(IsWindow(window));
      EXPECT_TRUE(tool_.session().ToolChosen());
      EXPECT_EQ(tool_.session().selection(), kSelection);
      EXPECT_EQ(Shown(window, kSelection).At(600, 400), kRed);
    });
    if (c.message) {
      ASSERT_EQ(messages.texts().size(), 1u);
      EXPECT_EQ(messages.texts()[0], "\xB1\xA3\xB4\xE6\xCA\xA7\xB0\xDC\xA3\xA1");  // 保存失败！
    } else {
      EXPECT_TRUE(messages.texts().empty());
    }
  }
}

TEST_F(AnnotationTest, CancelEndsTheCaptureWithoutOutput) {
  PutTextOnClipboard();
  bool closed = false;
  Capture([&](HWND window, Mouse& mouse) {
    Select(mouse, kSelection);
    Click(mouse, Button(kButtonCancel));
    closed = !IsWindow(window);
  });
  EXPECT_TRUE(closed);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
}

TEST_F(AnnotationTest, ReleasesEveryGdiAndUserObjectAfterCapturesWithAnnotations) {
  const auto oneCapture = [&] {
    Capture([&](HWND, Mouse& mouse) {
      Select(mouse, kSelection);
      for (Tool t : {Tool::kRectangle, Tool::kEllipse, Tool::kArrow, Tool::kBrush}) {
        ChooseTool(mouse, t);
        Click(mouse, PaletteEntry(static_cast<int>(t)));
        mouse.Drag({450, 350}, {{550, 420}, {600, 450}});
      }
      ChooseTool(mouse, Tool::kText);
      Click(mouse, OnScreen(Centre(kTextSizeBoxZone)));
      const Point list = annotation_.fontSizeList().Position();
      mouse.Move({list.x + 15, list.y + 30});
      Click(mouse, {list.x + 15, list.y + 30});
      Click(mouse, {500, 500});
      SendMessageW(tool_.textBox(), WM_CHAR, L'A', 1);
      Click(mouse, {600, 550});
      Click(mouse, Button(6));
      Select(mouse, {300, 200, 500, 400});
      ChooseTool(mouse, Tool::kEllipse);
      Click(mouse, Button(kButtonCancel));
    });
  };
  oneCapture();  // first use: fonts, cursors and GDI+ load once for the process
  const testing::GuiObjectCounts start = testing::CountGuiObjects();
  const std::vector<std::string> userObjectsAtStart = testing::ListUserObjects();
  for (int i = 0; i < 10; ++i) oneCapture();
  EXPECT_EQ(testing::CountGuiObjects(), start)
      << "new USER objects: " << testing::NewUserObjects(userObjectsAtStart);
}

}  // namespace
}  // namespace lumenta::capture
