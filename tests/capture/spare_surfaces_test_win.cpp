// The surfaces of a finished capture kept for the next one: a second capture of the same screen
// makes none and still shows only its own screen, kept surfaces go after their time or when the
// screen changes, and a surface taken over starts from its device context as it was made.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/window_designs.h"
#include "capture/capture_tool_win.h"
#include "capture/window/screen_snapshot_win.h"
#include "capture/window/screen_surfaces_win.h"
#include "capture_test_support_win.h"
#include "gui_object_counts_win.h"
#include "tests/ui/ui_test_support_win.h"

namespace lumenta::capture {
namespace {

using testing::Dimmed;
using testing::Mouse;
using testing::Pixels;

// Counts the surfaces made through the seam (the system's own surfaces all the same), and
// whether kept ones were still there when each was asked for.
class CountingMaker {
 public:
  explicit CountingMaker(const SpareSurfaces* spare = nullptr) : spare_(spare) {
    previous_ = SetScreenSurfaceMaker([this](HDC screen, int w, int h, ScreenSurfaceUse use) {
      ++made;
      if (spare_ && spare_->holding()) ++madeWhileKept;
      return MakeSystemScreenSurface(screen, w, h, use);
    });
  }
  ~CountingMaker() { SetScreenSurfaceMaker(previous_); }
  int made = 0;
  int madeWhileKept = 0;

 private:
  const SpareSurfaces* spare_;
  ScreenSurfaceMaker previous_;
};

// The frozen screen of each capture: one colour all over.
class SolidScreens {
 public:
  SolidScreens() {
    previous_ = SetSnapshotSource([this](HDC, HDC snapshot, int w, int h) {
      win::Brush brush(CreateSolidBrush(colour));
      RECT all{0, 0, w, h};
      FillRect(snapshot, &all, brush.get());
    });
  }
  ~SolidScreens() { SetSnapshotSource(previous_); }
  COLORREF colour = RGB(0, 0, 0);

 private:
  SnapshotSource previous_;
};

std::uint32_t DimmedRgb(COLORREF c) {
  return (std::uint32_t(Dimmed(GetRValue(c))) << 16) | (std::uint32_t(Dimmed(GetGValue(c))) << 8) |
         std::uint32_t(Dimmed(GetBValue(c)));
}

// Pixels of `p` in `area` with a channel more than `tolerance` off `expected` (0x00RRGGBB),
// with the first of them.
std::string Mismatches(const Pixels& p, RECT area, std::uint32_t expected, int tolerance = 0) {
  const auto off = [&](std::uint32_t v, int shift) {
    return std::abs(int((v >> shift) & 0xFF) - int((expected >> shift) & 0xFF)) > tolerance;
  };
  long count = 0;
  std::string first;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const std::uint32_t v = p.At(x, y);
      if (!off(v, 16) && !off(v, 8) && !off(v, 0)) continue;
      if (count++ == 0) {
        char where[96];
        std::snprintf(where, sizeof where, " first at %d,%d: %06X instead of %06X", x, y,
                      unsigned(v), unsigned(expected));
        first = where;
      }
    }
  }
  return count == 0 ? std::string() : std::to_string(count) + " pixels differ;" + first;
}

TEST(SpareSurfaces, ASecondCaptureOfTheSameScreenMakesNoSurfaceAndShowsOnlyItsOwnScreen) {
  CaptureTool tool{app::CaptureWindowDesign()};
  CountingMaker maker;
  SolidScreens screens;
  const Size screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const RECT all{0, 0, screen.width, screen.height};

  // The first capture leaves a selection drawn on every layer.
  screens.colour = RGB(200, 40, 90);
  tool.SetOpenedHook([&](HWND window) {
    Mouse(window).Drag({100, 100}, {{500, 400}});
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  tool.StartCapture(nullptr);
  EXPECT_EQ(maker.made, 4);
  EXPECT_TRUE(tool.spareSurfaces().holding());

  screens.colour = RGB(30, 220, 140);
  Pixels firstFrame, selected;
  tool.SetOpenedHook([&](HWND window) {
    firstFrame = Pixels::OfWindow(window, screen.width, screen.height);
    Mouse(window).Drag({300, 200}, {{700, 600}});
    selected = Pixels::OfWindow(window, screen.width, screen.height);
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  tool.StartCapture(nullptr);
  EXPECT_EQ(maker.made, 4) << "the second capture took the first one's surfaces";
  ASSERT_EQ(firstFrame.data().size(), size_t(screen.width) * size_t(screen.height));
  EXPECT_EQ(Mismatches(firstFrame, all, DimmedRgb(screens.colour), 1), "");
  // Inside the new rectangle (clear of its frame) the new screen, outside it the new screen
  // dimmed: nothing of the first capture's rectangle anywhere.
  EXPECT_EQ(Mismatches(selected, {302, 202, 698, 598}, testing::Rgb(screens.colour)), "");
  EXPECT_EQ(Mismatches(selected, {0, 0, screen.width, 150}, DimmedRgb(screens.colour), 1), "");
  EXPECT_EQ(Mismatches(selected, {0, 150, 250, screen.height}, DimmedRgb(screens.colour), 1), "");
}

TEST(SpareSurfaces, KeptSurfacesGoOnceTheirTimeHasPassed) {
  HDC screen = GetDC(nullptr);
  // Keeps a set for 50 ms and handles messages until it went; true when it did.
  const auto keepUntilGone = [&] {
    SpareSurfaces spare(50);
    spare.Keep(MakeScreenSurfaces(screen, {64, 48}));
    if (!spare.holding()) return false;
    return lumenta::testing::PumpUntil([&] { return !spare.holding(); }, std::chrono::seconds(2));
  };
  // The first round also makes what the system makes once for a process's GDI and timers.
  EXPECT_TRUE(keepUntilGone());
  const testing::GuiObjectCounts before = testing::CountGuiObjects();
  EXPECT_TRUE(keepUntilGone());
  EXPECT_EQ(testing::CountGuiObjects(), before) << "every device context and bitmap went";
  ReleaseDC(nullptr, screen);
}

TEST(SpareSurfaces, AScreenOfAnotherSizeOrDepthGetsNewSurfacesAfterTheKeptOnesWent) {
  HDC screen = GetDC(nullptr);
  const int depth = GetDeviceCaps(screen, BITSPIXEL);
  struct Case {
    const char* what;
    Size size;
    int depth;
    int made;
  };
  const Case cases[] = {
      {"the same screen", {64, 48}, depth, 0},
      {"a wider screen", {80, 48}, depth, 4},
      {"a taller screen", {64, 60}, depth, 4},
      {"another depth", {64, 48}, depth == 32 ? 16 : 32, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SpareSurfaces spare;
    spare.Keep(MakeScreenSurfaces(screen, {64, 48}));
    ASSERT_TRUE(spare.holding());
    CountingMaker maker(&spare);
    const ScreenSurfaces taken = spare.Take(screen, c.size, c.depth);
    EXPECT_TRUE(taken);
    EXPECT_EQ(taken.size, c.size);
    EXPECT_EQ(maker.made, c.made);
    EXPECT_EQ(maker.madeWhileKept, 0) << "the kept surfaces went before new ones were made";
    EXPECT_FALSE(spare.holding());
  }
  ReleaseDC(nullptr, screen);
}

TEST(SpareSurfaces, ASurfaceTakenOverStartsFromItsDeviceContextAsMade) {
  HDC screen = GetDC(nullptr);
  const int depth = GetDeviceCaps(screen, BITSPIXEL);
  SpareSurfaces spare;
  ScreenSurfaces surfaces = MakeScreenSurfaces(screen, {64, 48});
  ASSERT_TRUE(surfaces);
  HDC paint = surfaces.paint.dc();
  const HGDIOBJ madeFont = GetCurrentObject(paint, OBJ_FONT);
  // What a capture may leave on a layer: a font, a clip region, a text mode, an origin.
  win::Font font(CreateFontW(30, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0,
                             L"Tahoma"));
  SelectObject(paint, font.get());
  win::Region clip(CreateRectRgn(1, 1, 5, 5));
  SelectClipRgn(paint, clip.get());
  SetBkMode(paint, TRANSPARENT);
  SetViewportOrgEx(paint, 7, 9, nullptr);
  spare.Keep(std::move(surfaces));

  const ScreenSurfaces taken = spare.Take(screen, {64, 48}, depth);
  ASSERT_TRUE(taken);
  paint = taken.paint.dc();
  EXPECT_EQ(GetCurrentObject(paint, OBJ_FONT), madeFont);
  EXPECT_EQ(GetCurrentObject(paint, OBJ_BITMAP), taken.paint.bitmap());
  HRGN none = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(paint, none), 0) << "no clip region";
  DeleteObject(none);
  EXPECT_EQ(GetBkMode(paint), OPAQUE);
  POINT origin{};
  GetViewportOrgEx(paint, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace lumenta::capture
