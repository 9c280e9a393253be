// Recomposing and presenting only the changed pixels shows, after every step of a scripted
// session, exactly the picture of the full composition (whole dimmed copy, rectangle, frame,
// label, magnifier, whole back buffer to the window); and the dimmed copy is exactly the GDI+
// fill it was made with before.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/window_designs.h"
#include "capture/capture_tool_win.h"
#include "capture/model/dimming.h"
#include "capture/window/gdiplus_session_win.h"
#include "capture/window/screen_snapshot_win.h"
#include "capture_test_support_win.h"
#include "scripted_session_win.h"
#include "win/gdi_win.h"

namespace lumenta::capture {
namespace {

struct Shown {
  std::uint64_t hash = 0;
  Rect selection;
  friend bool operator==(const Shown&, const Shown&) = default;
};

std::uint64_t Fnv1a(const std::vector<std::uint32_t>& pixels) {
  std::uint64_t h = 1469598103934665603ull;
  for (std::uint32_t v : pixels) {
    h ^= v;
    h *= 1099511628211ull;
  }
  return h;
}

// Plays the scripted session with one composition and returns what the window showed after
// each step; `keep` receives the picture after step `keepStep`.
std::vector<Shown> Play(Composition composition, size_t keepStep, testing::Pixels& keep) {
  CaptureTool tool{app::CaptureWindowDesign()};
  tool.SetComposition(composition);
  const Size screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  std::vector<Shown> shown;
  tool.SetOpenedHook([&](HWND window) {
    const auto steps = testing::ScriptedSession(screen);
    Point mouse;
    for (size_t i = 0; i < steps.size(); ++i) {
      testing::PlayStep(window, tool.session().selection(), steps[i], mouse);
      const testing::Pixels p = testing::Pixels::OfWindow(window, screen.width, screen.height);
      shown.push_back({Fnv1a(p.data()), tool.session().selection()});
      if (i == keepStep) keep = p;
    }
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  tool.StartCapture(nullptr);
  return shown;
}

TEST(Composition, ChangedPixelsShowExactlyTheFullCompositionAfterEveryStep) {
  const SnapshotSource previous = SetSnapshotSource(testing::PaintPattern);
  testing::Pixels unused;
  const std::vector<Shown> whole = Play(Composition::kWholeFrame, SIZE_MAX, unused);
  const std::vector<Shown> changed = Play(Composition::kChangedPixels, SIZE_MAX, unused);
  ASSERT_EQ(whole.size(), changed.size());
  ASSERT_GT(whole.size(), 100u);
  size_t firstDifference = SIZE_MAX;
  for (size_t i = 0; i < whole.size(); ++i) {
    EXPECT_EQ(changed[i].selection, whole[i].selection) << "step " << i;
    if (changed[i].hash != whole[i].hash && firstDifference == SIZE_MAX) firstDifference = i;
  }
  if (firstDifference != SIZE_MAX) {
    // Show where the first differing frame differs.
    testing::Pixels a, b;
    Play(Composition::kWholeFrame, firstDifference, a);
    Play(Composition::kChangedPixels, firstDifference, b);
    int reported = 0;
    for (size_t k = 0; k < a.data().size() && reported < 10; ++k) {
      if (a.data()[k] != b.data()[k]) {
        ADD_FAILURE() << "step " << firstDifference << ": pixel (" << k % size_t(a.width()) << ", "
                      << k / size_t(a.width()) << ") is " << std::hex << b.data()[k]
                      << " instead of " << a.data()[k];
        ++reported;
      }
    }
  }
  // The session really changed the picture from step to step.
  size_t distinct = 0;
  for (size_t i = 1; i < whole.size(); ++i) distinct += whole[i].hash != whole[i - 1].hash;
  EXPECT_GT(distinct, whole.size() / 2);
  SetSnapshotSource(previous);
}

// The capture's dimming pass (one pass from the snapshot's pixels) gives, byte for byte, what the
// GDI+ fill it replaced (black at alpha 100 over a copy of the snapshot) gave: every value of
// every channel and of the fourth byte.
TEST(Composition, TheDimmingPassIsExactlyTheGdiplusFillItReplaced) {
  constexpr int kSide = 256;
  std::vector<std::uint32_t> original(size_t(kSide) * kSide);
  for (std::uint32_t y = 0; y < kSide; ++y) {
    for (std::uint32_t x = 0; x < kSide; ++x) {
      original[y * kSide + x] =
          x | ((x * 7 + y) & 0xFF) << 8 | ((x + y * 3) & 0xFF) << 16 | y << 24;
    }
  }
  BITMAPINFO info = win::TopDownDibInfo(kSide, kSide);
  // The dimmed copy as it was made before: a bitmap like the screen's holding the snapshot, and
  // a GDI+ fill over it.
  HDC screen = GetDC(nullptr);
  win::MemorySurface filled = win::MemorySurface::Create(screen, kSide, kSide);
  win::MemorySurface dimmed = win::MemorySurface::CreateDib(screen, kSide, kSide);
  ReleaseDC(nullptr, screen);
  ASSERT_TRUE(filled && filled.bitmap() && dimmed);
  ASSERT_EQ(
      SetDIBits(filled.dc(), filled.bitmap(), 0, kSide, original.data(), &info, DIB_RGB_COLORS),
      kSide);
  {
    GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.started());
    Gdiplus::Graphics graphics(filled.dc());
    Gdiplus::SolidBrush black(ArgbColour(RGB(0, 0, 0), 100));
    graphics.FillRectangle(&black, Gdiplus::REAL(0), Gdiplus::REAL(0), Gdiplus::REAL(kSide),
                           Gdiplus::REAL(kSide));
  }
  GdiFlush();
  std::vector<std::uint32_t> gdiplus(original.size());
  ASSERT_EQ(
      GetDIBits(filled.dc(), filled.bitmap(), 0, kSide, gdiplus.data(), &info, DIB_RGB_COLORS),
      kSide);
  // The program's pass, from the snapshot's pixels into the dimmed copy's.
  DimPixels(original.data(), reinterpret_cast<std::uint32_t*>(dimmed.bits()), original.size());
  const auto* ours = reinterpret_cast<const std::uint32_t*>(dimmed.bits());
  int wrong = 0;
  for (size_t i = 0; i < original.size() && wrong < 10; ++i) {
    if (ours[i] != gdiplus[i]) {
      ADD_FAILURE() << "pixel " << std::hex << original[i] << ": GDI+ " << gdiplus[i] << ", ours "
                    << ours[i];
      ++wrong;
    }
  }
}

}  // namespace
}  // namespace lumenta::capture
