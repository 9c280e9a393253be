#pragma once
// The capture window's drawing surfaces and the frames drawn on them: the frozen snapshot, the
// dimmed copy (darkened once, capture/model/dimming.h), the back buffer where each selection frame
// is composed, and the paint layer shown when the window repaints.
//
// A frame is the dimmed screen with the selected rectangle un-dimmed, the frame and handles,
// the size label and (while choosing or resizing) the magnifier. Each surface remembers which
// frame it holds, so a new frame recomposes and presents only the pixels that can differ from
// the previous one (the old and new rectangle edges, label and magnifier); the result is the
// same picture, pixel for pixel, as composing and copying the whole screen (kWholeFrame, kept
// as the reference).
#include <windows.h>

#include <memory>
#include <vector>

#include "capture/model/frame_damage.h"
#include "capture/model/selection_model.h"
#include "capture/window/capture_parts_win.h"
#include "capture/window/gdiplus_session_win.h"
#include "capture/window/magnifier_win.h"
#include "capture/window/screen_surfaces_win.h"
#include "win/gdi_win.h"

namespace lumenta::capture {

enum class Composition { kChangedPixels, kWholeFrame };

inline constexpr COLORREF kFrameColour = RGB(0, 175, 255);

class CaptureRenderer {
 public:
  // The first frame's part of the window's set-up, for a window whose client area covers the
  // screen: its device context, and the capture's surfaces of the screen's size (the snapshot
  // taken, the dimmed copy holding it dimmed; the back buffer and the paint layer, which may
  // hold anything, are filled by CompleteSetUp). Until then only Paint draws, from the dimmed
  // copy. `surfaces` and `magnifier` must outlive the renderer.
  CaptureRenderer(HWND window, const ScreenSurfaces& surfaces, Magnifier& magnifier,
                  Composition composition);
  CaptureRenderer(const CaptureRenderer&) = delete;
  CaptureRenderer& operator=(const CaptureRenderer&) = delete;
  ~CaptureRenderer();

  // The rest of the set-up, once the first frame is shown: pens, brushes and label font, the
  // back buffer and the paint layer filled with the dimmed screen, and the GDI+ objects on them
  // (`gdiplus`: GDI+ has been started; it must stay started while the renderer lives).
  void CompleteSetUp(bool gdiplus);

  // RenderSelection once the geometry is known: composes the frame into the back buffer and
  // copies it to the window.
  void RenderFrame(const SelectionFrame& frame);
  // The magnifier drawn directly: the paint layer is refreshed from the back buffer, the panel
  // is drawn onto it and it is copied to the window.
  void ShowMagnifier(Point p);
  // With a selection: the back buffer, then (with a tool chosen) the annotations and the frame;
  // without: the dimmed screen.
  void ComposePaintLayer(bool hasSelection, bool toolActive, const Rect& selection,
                         CanvasPainter* canvas);
  // The frame and the eight handles of `selection` on the paint layer.
  void DrawSelectionFrame(const Rect& selection);
  void PresentPaintLayer();
  // WM_PAINT: the paint layer once a rectangle exists, else the dimmed screen.
  void Paint(bool hasSelection);
  // The dimmed screen into the back buffer and onto the window (the capture starts over).
  void ShowDimmedScreen();

  // For the other parts of the tool (toolbar, canvas, output).
  [[nodiscard]] HDC windowDc() const { return windowDc_.get(); }
  [[nodiscard]] HDC snapshot() const { return snapshot_; }
  [[nodiscard]] HDC dimmedCopy() const { return dimmed_.dc(); }
  [[nodiscard]] HDC backBuffer() const { return back_.dc(); }
  // The paint layer, to draw on: the area given (or, without one, the whole layer) is taken to
  // hold pixels the renderer does not know, and is copied again at the next present.
  [[nodiscard]] HDC PaintLayerForDrawing(const Rect& area);
  [[nodiscard]] HDC PaintLayerForDrawing();
  [[nodiscard]] HDC paintLayerForReading() const { return paint_.dc(); }
  [[nodiscard]] Gdiplus::Graphics* paintGraphics() const { return paintGraphics_.get(); }
  [[nodiscard]] HPEN framePen() const { return framePen_.get(); }
  [[nodiscard]] HFONT labelFont() const { return labelFont_.get(); }
  [[nodiscard]] Size screen() const { return screen_; }
  [[nodiscard]] Composition composition() const { return composition_; }

 private:
  void ComposeBackBuffer(const SelectionFrame& frame, const FrameScene& scene,
                         const std::vector<Rect>* damage);
  void DrawFrameAndHandles(HDC dc, Point corner1, Point corner2,
                           const std::array<Point, 8>& handles);
  // Copies `source` (holding `sourceScene`) onto `target` (holding `targetScene`) where they
  // can differ, and records that the target now holds `sourceScene`.
  void CopyScene(HDC target, FrameScene& targetScene, HDC source, const FrameScene& sourceScene);
  void CopyDamage(HDC target, HDC source, const std::vector<Rect>& damage);
  [[nodiscard]] bool IsWholeScreen(const std::vector<Rect>& damage) const;

  HWND window_;
  HDC snapshot_;
  Size screen_;
  Magnifier& magnifier_;
  Composition composition_;

  win::WindowDc windowDc_;
  win::Pen framePen_;
  win::Brush handleBrush_;
  win::Font labelFont_;
  const win::MemorySurface& dimmed_;
  const win::MemorySurface& back_;
  const win::MemorySurface& paint_;
  std::unique_ptr<Gdiplus::Graphics> backGraphics_;
  std::unique_ptr<Gdiplus::SolidBrush> labelBrush_;
  std::unique_ptr<Gdiplus::Graphics> paintGraphics_;

  // What each surface holds.
  FrameScene backScene_ = FrameScene::Unknown();
  FrameScene paintScene_ = FrameScene::Unknown();
  FrameScene windowScene_ = FrameScene::Unknown();
};

}  // namespace lumenta::capture
