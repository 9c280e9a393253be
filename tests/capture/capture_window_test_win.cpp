// The capture window driven under Wine with the messages a user causes, over a known frozen
// picture: what the window shows (pixel values), the selection after each gesture, the
// magnifier, closing by double click and Escape, the window's own properties, its cursors, and
// the release of every GDI and USER object.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "app/window_designs.h"
#include "capture/capture_tool_win.h"
#include "capture/model/selection_model.h"
#include "capture/window/screen_snapshot_win.h"
#include "capture_test_support_win.h"
#include "gui_object_counts_win.h"

namespace lumenta::capture {
namespace {

using testing::Dimmed;
using testing::Mouse;
using testing::Pattern;
using testing::Pixels;
using testing::Rgb;

constexpr std::uint32_t kFrameRgb = 0x0000AFFF;  // RGB(0,175,255)

class RecordingOutput : public CaptureOutputPart {
 public:
  void CopySelectionToClipboard() override { ++copies; }
  int copies = 0;
};

class CaptureWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetSnapshotSource(testing::PaintPattern);
    CaptureParts parts;
    parts.output = &output;
    tool.InstallParts(parts);
    screen = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  void TearDown() override { SetSnapshotSource(previous_); }

  // Runs one capture: `drive` gets the window once it is set up; the capture then ends with
  // Escape unless `drive` ended it. Returns when the window has been destroyed.
  void Capture(const std::function<void(HWND)>& drive) {
    tool.SetOpenedHook([&](HWND window) {
      drive(window);
      if (IsWindow(window)) PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    tool.StartCapture(nullptr);
    EXPECT_EQ(tool.window(), nullptr);
  }
  Pixels Shown(HWND window) const { return Pixels::OfWindow(window, screen.width, screen.height); }

  // The pixel at (x, y) is the frozen picture darkened once.
  void ExpectDimmed(const Pixels& p, int x, int y) const {
    const COLORREF c = Pattern(x, y);
    EXPECT_NEAR(p.R(x, y), Dimmed(GetRValue(c)), 1) << x << "," << y;
    EXPECT_NEAR(p.G(x, y), Dimmed(GetGValue(c)), 1) << x << "," << y;
    EXPECT_NEAR(p.B(x, y), Dimmed(GetBValue(c)), 1) << x << "," << y;
  }
  void ExpectClear(const Pixels& p, int x, int y) const {
    EXPECT_EQ(p.At(x, y), Rgb(Pattern(x, y))) << x << "," << y;
  }

  CaptureTool tool{app::CaptureWindowDesign()};
  RecordingOutput output;
  Size screen;

 private:
  SnapshotSource previous_;
};

TEST_F(CaptureWindowTest, CoversTheScreenBorderlessTopmostAndMaximisedInTheTaskBar) {
  Capture([&](HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ((Rect{r.left, r.top, r.right, r.bottom}), (Rect{0, 0, screen.width, screen.height}));
    GetClientRect(window, &r);
    EXPECT_EQ((Size{r.right, r.bottom}), screen);
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_SYSMENU));
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsWindowVisible(tool.textBox())) << "the text box starts hidden";
  });
}

// Read from a timer inside the capture window's modal loop.
HWND probedMain = nullptr;
bool mainEnabledDuringCapture = true;

void CALLBACK ProbeThenEscape(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  mainEnabledDuringCapture = IsWindowEnabled(probedMain);
  PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
}

TEST_F(CaptureWindowTest, IsModalToTheOtherWindowsOfTheProgram) {
  HWND main = CreateWindowExW(0, L"STATIC", L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                              100, nullptr, nullptr, nullptr, nullptr);
  probedMain = main;
  mainEnabledDuringCapture = true;
  tool.SetOpenedHook([](HWND window) { SetTimer(window, 7, 10, ProbeThenEscape); });
  tool.StartCapture(main);
  EXPECT_FALSE(mainEnabledDuringCapture);
  EXPECT_TRUE(IsWindowEnabled(main));
  DestroyWindow(main);
}

TEST_F(CaptureWindowTest, ShowsTheFrozenPictureDimmedAndTheRectangleClearWithFrameAndHandles) {
  Capture([&](HWND window) {
    const Pixels before = Shown(window);
    for (Point p : {Point{0, 0}, Point{333, 444}, Point{screen.width - 1, screen.height - 1}}) {
      ExpectDimmed(before, p.x, p.y);
    }
    Mouse mouse(window);
    mouse.Down({200, 150});
    mouse.Move({500, 400});
    const Pixels during = Shown(window);
    ExpectClear(during, 300, 300);
    ExpectClear(during, 203, 153);
    ExpectDimmed(during, 1000, 800);
    ExpectDimmed(during, 199, 300);
    EXPECT_EQ(during.At(200, 300), kFrameRgb) << "left edge";
    EXPECT_EQ(during.At(499, 300), kFrameRgb) << "right edge";
    EXPECT_EQ(during.At(350, 150), kFrameRgb) << "top edge";
    EXPECT_EQ(during.At(350, 399), kFrameRgb) << "bottom edge";
    for (Point h : {Point{200, 150}, Point{500, 150}, Point{200, 400}, Point{500, 400},
                    Point{350, 150}, Point{350, 400}, Point{200, 275}, Point{500, 275}}) {
      for (Point d : {Point{-2, -2}, Point{1, -2}, Point{-2, 1}, Point{1, 1}}) {
        EXPECT_EQ(during.At(h.x + d.x, h.y + d.y), kFrameRgb) << "handle " << h.x << "," << h.y;
      }
    }
    mouse.Up({500, 400});
    EXPECT_EQ(tool.session().selection(), (Rect{200, 150, 500, 400}));
    EXPECT_TRUE(tool.session().HasSelection());
    const Pixels after = Shown(window);
    ExpectClear(after, 300, 300);
    ExpectDimmed(after, 1000, 800);
    EXPECT_EQ(after.At(200, 300), kFrameRgb);
  });
}

TEST_F(CaptureWindowTest, DrawsTheSizeLabelAboveOrInsideAtTheTopOfTheScreen) {
  Capture([&](HWND window) {
    Mouse mouse(window);
    mouse.Drag({300, 200}, {{620, 440}});
    Pixels p = Shown(window);
    // Above the rectangle: the label background darkens the dimmed picture further.
    const int darkerAbove = p.R(303, 185) + p.G(303, 185) + p.B(303, 185);
    const COLORREF c = Pattern(303, 185);
    EXPECT_LT(darkerAbove, Dimmed(GetRValue(c)) + Dimmed(GetGValue(c)) + Dimmed(GetBValue(c)) - 20);
    bool white = false;
    for (int y = 180; y < 200 && !white; ++y) {
      for (int x = 302; x < 340 && !white; ++x) white = p.At(x, y) == 0xFFFFFF;
    }
    EXPECT_TRUE(white) << "white label text above the rectangle";
    ExpectClear(p, 303, 205);

    // A rectangle touching the top of the screen carries its label inside, 3 pixels down.
    mouse.Drag({620, 440}, {{700, 460}});  // bottom-right handle: keeps the top-left corner
    mouse.Drag({301, 201}, {{301, 0}});    // top-left handle up to the screen's top
    EXPECT_EQ(tool.session().selection(), (Rect{301, 0, 700, 460}));
    p = Shown(window);
    bool inside = false;
    for (int y = 3; y < 22 && !inside; ++y) {
      for (int x = 303; x < 345 && !inside; ++x) inside = p.At(x, y) == 0xFFFFFF;
    }
    EXPECT_TRUE(inside) << "label text inside the rectangle";
  });
}

TEST_F(CaptureWindowTest, FollowsEachGestureWithTheSelection) {
  const struct {
    const char* what;
    Point from;
    std::initializer_list<Point> through;
    Rect selection;
  } gestures[] = {
      {"drag out right to left", {600, 500}, {{550, 450}, {400, 300}}, {400, 300, 600, 500}},
      {"bottom-right handle", {600, 500}, {{650, 520}, {700, 560}}, {400, 300, 700, 560}},
      {"right-middle handle", {700, 430}, {{720, 400}}, {400, 300, 720, 560}},
      {"top-middle handle", {560, 300}, {{560, 250}}, {400, 250, 720, 560}},
      {"move", {500, 400}, {{480, 390}, {450, 380}}, {350, 230, 670, 540}},
      {"top-left handle turned over", {350, 230}, {{500, 400}, {800, 700}}, {670, 540, 800, 700}},
      // The left side stops at the edge; the right side keeps its previous position.
      {"move against the left edge", {700, 600}, {{60, 600}, {0, 600}}, {0, 540, 160, 700}},
      {"a press outside does nothing", {1500, 900}, {{1400, 800}}, {0, 540, 160, 700}},
      {"bottom-left handle", {0, 700}, {{30, 1000}}, {30, 540, 160, 1000}},
      {"bottom-middle handle to the screen's bottom",
       {95, 1000},
       {{95, screen.height - 1}},
       {30, 540, 160, screen.height - 1}},
  };
  Capture([&](HWND window) {
    Mouse mouse(window);
    for (const auto& g : gestures) {
      mouse.Drag(g.from, g.through);
      EXPECT_EQ(tool.session().selection(), g.selection) << g.what;
      EXPECT_TRUE(tool.session().HasSelection()) << g.what;
      const Pixels p = Shown(window);
      const Rect& s = g.selection;
      EXPECT_EQ(p.At(s.left, (s.top + s.bottom) / 2 + 3), kFrameRgb) << g.what;
      EXPECT_EQ(p.At(s.right - 1, (s.top + s.bottom) / 2 + 3), kFrameRgb) << g.what;
      ExpectClear(p, s.left + 5, s.bottom - 5);
    }
  });
}

TEST_F(CaptureWindowTest, MagnifiesTheFrozenPictureWhileChoosingAndResizingButNotAfterTheRelease) {
  Capture([&](HWND window) {
    Mouse mouse(window);
    const Point at{812, 40};
    mouse.Move(at);
    const MagnifierLayout m = LayOutMagnifier(at, screen);
    Pixels p = Shown(window);
    // Sample pixel (i, j) of the 30 x 30 block around the point is a 4 x 4 block in the panel.
    for (Point ij : {Point{2, 2}, Point{7, 20}, Point{25, 9}, Point{29, 29}}) {
      const int x = m.panel.left + 3 + 4 * ij.x, y = m.panel.top + 3 + 4 * ij.y;
      for (int dy = 0; dy < 4; ++dy) {
        for (int dx = 0; dx < 4; ++dx) {
          EXPECT_EQ(p.At(x + dx, y + dy), Rgb(Pattern(at.x - 15 + ij.x, at.y - 15 + ij.y)))
              << "sample " << ij.x << "," << ij.y;
        }
      }
    }
    // The crosshair tints the enlarged pixels in the middle.
    const int cx = m.crossVertical.left + 1, cy = m.panel.top + 10;
    EXPECT_NE(p.At(cx, cy), Rgb(Pattern(at.x, at.y - 15 + 1)));
    // The panel's background darkens the dimmed picture; the two text lines are white.
    const int bx = m.panel.left + 100, by = m.panel.top + 150;
    EXPECT_LT(p.R(bx, by), Dimmed(GetRValue(Pattern(bx, by))));
    bool text = false;
    for (int y = m.coordinatesOrigin.y; y < m.coordinatesOrigin.y + 12 && !text; ++y) {
      for (int x = m.coordinatesOrigin.x; x < m.coordinatesOrigin.x + 40 && !text; ++x) {
        text = p.At(x, y) == 0xFFFFFF;
      }
    }
    EXPECT_TRUE(text);

    // At the top-left corner only the on-screen quarter is enlarged, at (px + 63, py + 63).
    mouse.Move({0, 0});
    const MagnifierLayout corner = LayOutMagnifier({0, 0}, screen);
    p = Shown(window);
    EXPECT_EQ(p.At(corner.panel.left + 63 + 8, corner.panel.top + 63 + 12), Rgb(Pattern(2, 3)));
    EXPECT_EQ(p.At(corner.panel.left + 10, corner.panel.top + 10),
              Rgb(Pattern(corner.panel.left + 10, corner.panel.top + 10)))
        << "the rest of the zoom area shows the un-dimmed picture";

    mouse.Down({300, 300});
    mouse.Move({400, 380});
    const MagnifierLayout dragging = LayOutMagnifier({400, 380}, screen);
    p = Shown(window);
    EXPECT_EQ(p.At(dragging.panel.left + 3 + 8, dragging.panel.top + 3 + 8),
              Rgb(Pattern(400 - 15 + 2, 380 - 15 + 2)));
    mouse.Up({400, 380});
    EXPECT_TRUE(tool.controller()->MagnifierHidden());
    p = Shown(window);
    ExpectDimmed(p, dragging.panel.left + 11, dragging.panel.top + 11);
    ExpectDimmed(p, dragging.panel.left + 100, dragging.panel.top + 150);
  });
}

TEST_F(CaptureWindowTest, ADoubleClickInsideCopiesAndClosesAndOneOutsideDoesNothing) {
  bool closedByDoubleClick = false;
  Capture([&](HWND window) {
    Mouse mouse(window);
    mouse.DoubleClick({50, 50});
    EXPECT_TRUE(IsWindow(window)) << "no rectangle yet";
    mouse.Drag({100, 100}, {{300, 250}});
    mouse.DoubleClick({400, 400});
    EXPECT_TRUE(IsWindow(window)) << "outside";
    EXPECT_EQ(output.copies, 0);
    mouse.DoubleClick({200, 200});
    closedByDoubleClick = !IsWindow(window);
  });
  EXPECT_TRUE(closedByDoubleClick);
  EXPECT_EQ(output.copies, 1);
  EXPECT_TRUE(tool.session().selection().IsZero()) << "the tear-down reset the state";
  EXPECT_FALSE(tool.session().HasSelection());
}

TEST_F(CaptureWindowTest, EscapeClosesTheWindowFromItAndFromItsTextBox) {
  for (bool fromTextBox : {false, true}) {
    HWND target = nullptr;
    tool.SetOpenedHook([&](HWND window) {
      target = fromTextBox ? tool.textBox() : window;
      PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    tool.StartCapture(nullptr);  // returns only once the window is gone
    EXPECT_NE(target, nullptr);
    EXPECT_FALSE(IsWindow(target));
    EXPECT_EQ(tool.window(), nullptr);
  }
}

TEST_F(CaptureWindowTest, MakesItsCursorsInMemoryAndWritesNoFile) {
  const wchar_t* oldCursorFile = L"C:\\~temp289789cursor1648913";
  Capture([&](HWND) {
    EXPECT_EQ(GetFileAttributesW(oldCursorFile), INVALID_FILE_ATTRIBUTES);
    const auto hotspot = [](HCURSOR c) {
      ICONINFO info{};
      EXPECT_TRUE(GetIconInfo(c, &info));
      BITMAP mask{};
      GetObjectW(info.hbmMask, sizeof mask, &mask);
      if (info.hbmMask) DeleteObject(info.hbmMask);
      if (info.hbmColor) DeleteObject(info.hbmColor);
      return std::tuple{info.fIcon, info.xHotspot, info.yHotspot, mask.bmWidth};
    };
    ASSERT_NE(tool.cursors().cross(), nullptr);
    ASSERT_NE(tool.cursors().arrow(), nullptr);
    EXPECT_EQ(hotspot(tool.cursors().cross()), (std::tuple{FALSE, DWORD(15), DWORD(15), LONG(32)}));
    EXPECT_EQ(hotspot(tool.cursors().arrow()), (std::tuple{FALSE, DWORD(0), DWORD(0), LONG(32)}));
  });
  EXPECT_EQ(tool.cursors().cross(), nullptr) << "destroyed with the window";
}

TEST_F(CaptureWindowTest, ReleasesEveryGdiAndUserObjectItTakes) {
  const auto oneCapture = [&] {
    Capture([&](HWND window) {
      Mouse mouse(window);
      mouse.Move({700, 500});
      mouse.Drag({100, 100}, {{400, 300}, {420, 330}});
      mouse.Drag({420, 330}, {{600, 500}});
      mouse.Drag({300, 300}, {{250, 250}});
      InvalidateRect(window, nullptr, FALSE);
      UpdateWindow(window);
    });
  };
  oneCapture();  // first use: system cursors, fonts and GDI+ load once for the process
  const testing::GuiObjectCounts start = testing::CountGuiObjects();
  const std::vector<std::string> userObjectsAtStart = testing::ListUserObjects();
  EXPECT_GT(start.gdi, 0);
  EXPECT_GT(start.user, 0);
  for (int i = 0; i < 10; ++i) oneCapture();
  EXPECT_EQ(testing::CountGuiObjects(), start)
      << "new USER objects: " << testing::NewUserObjects(userObjectsAtStart);
}

TEST(CaptureSnapshot, TakesTheRealScreenByDefault) {
  // A window whose background is magenta, painted by the system whenever it is shown.
  HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
  WNDCLASSW c{};
  c.lpfnWndProc = DefWindowProcW;
  c.hInstance = GetModuleHandleW(nullptr);
  c.hbrBackground = magenta;
  c.lpszClassName = L"LumentaCaptureTestMarker";
  RegisterClassW(&c);
  HWND marker = CreateWindowExW(WS_EX_TOPMOST, c.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 40, 60,
                                120, 80, nullptr, nullptr, c.hInstance, nullptr);
  UpdateWindow(marker);
  // Let the window reach the display: its pixels are handed over while messages are handled.
  for (const DWORD until = GetTickCount() + 500; GetTickCount() < until;) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    Sleep(20);
  }

  CaptureTool tool{app::CaptureWindowDesign()};
  COLORREF seen = CLR_INVALID;
  tool.SetOpenedHook([&](HWND window) {
    seen = GetPixel(tool.renderer()->snapshot(), 100, 100);
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  tool.StartCapture(nullptr);
  DestroyWindow(marker);
  UnregisterClassW(c.lpszClassName, c.hInstance);
  DeleteObject(magenta);
  EXPECT_EQ(seen, RGB(255, 0, 255));
}

}  // namespace
}  // namespace lumenta::capture
