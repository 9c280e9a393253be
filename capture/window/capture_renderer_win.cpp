#include "capture/window/capture_renderer_win.h"

#include <algorithm>
#include <string>
#include <utility>

#include "base/text_encoders.h"
#include "win/wide_win.h"

namespace lumenta::capture {
namespace {

// "宋体" (SimSun) as the face name of the label font.
const std::wstring& LabelFace() {
  static const std::wstring face = win::WideFromText("\xCB\xCE\xCC\xE5");
  return face;
}

Gdiplus::RectF ToRectF(const Rect& r) {
  return Gdiplus::RectF(Gdiplus::REAL(r.left), Gdiplus::REAL(r.top), Gdiplus::REAL(r.Width()),
                        Gdiplus::REAL(r.Height()));
}

// Restricts drawing on a device context to a set of rectangles while it lives.
class ClipGuard {
 public:
  ClipGuard(HDC dc, const std::vector<Rect>& rects) : dc_(dc) {
    win::Region region(CreateRectRgn(0, 0, 0, 0));
    for (const Rect& r : rects) {
      win::Region piece(CreateRectRgn(r.left, r.top, r.right, r.bottom));
      CombineRgn(region.get(), region.get(), piece.get(), RGN_OR);
    }
    SelectClipRgn(dc_, region.get());  // the device context keeps its own copy
  }
  ClipGuard(const ClipGuard&) = delete;
  ClipGuard& operator=(const ClipGuard&) = delete;
  ~ClipGuard() { SelectClipRgn(dc_, nullptr); }

 private:
  HDC dc_;
};

void AddForeign(FrameScene& scene, const Rect& area) {
  if (!scene.known || area.IsEmpty()) return;
  for (const Rect& r : scene.foreign) {
    if (Intersection(r, area) == area) return;  // already marked
  }
  scene.foreign.push_back(area);
}

}  // namespace

CaptureRenderer::CaptureRenderer(HWND window, const ScreenSurfaces& surfaces, Magnifier& magnifier,
                                 Composition composition)
    : window_(window),
      snapshot_(surfaces.snapshot.dc()),
      screen_(surfaces.size),
      magnifier_(magnifier),
      composition_(composition),
      windowDc_(window),
      dimmed_(surfaces.dimmed),
      back_(surfaces.back),
      paint_(surfaces.paint) {}

void CaptureRenderer::CompleteSetUp(bool gdiplus) {
  const int w = screen_.width, h = screen_.height;
  framePen_ = win::Pen(CreatePen(PS_SOLID, 1, kFrameColour));
  handleBrush_ = win::Brush(CreateSolidBrush(kFrameColour));
  labelFont_ = win::Font(CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     0, 0, 0, FF_SWISS, LabelFace().c_str()));

  SetBkMode(back_.dc(), TRANSPARENT);
  SetTextColor(back_.dc(), RGB(255, 255, 255));
  if (back_ && gdiplus) {
    backGraphics_ = std::make_unique<Gdiplus::Graphics>(back_.dc());
    labelBrush_ = std::make_unique<Gdiplus::SolidBrush>(ArgbColour(RGB(0, 0, 0), 120));
  }
  BitBlt(back_.dc(), 0, 0, w, h, dimmed_.dc(), 0, 0, SRCCOPY);
  backScene_ = FrameScene::Dimmed();

  if (paint_ && gdiplus) paintGraphics_ = std::make_unique<Gdiplus::Graphics>(paint_.dc());
  ComposePaintLayer(false, false, {}, nullptr);
}

CaptureRenderer::~CaptureRenderer() = default;

bool CaptureRenderer::IsWholeScreen(const std::vector<Rect>& damage) const {
  return damage.size() == 1 && damage.front() == Rect{0, 0, screen_.width, screen_.height};
}

void CaptureRenderer::CopyDamage(HDC target, HDC source, const std::vector<Rect>& damage) {
  if (damage.empty()) return;
  if (IsWholeScreen(damage)) {
    BitBlt(target, 0, 0, screen_.width, screen_.height, source, 0, 0, SRCCOPY);
    return;
  }
  // One copy through a clip region: the target never shows a part of the change without the
  // rest.
  const Rect bounds = Bounds(damage);
  ClipGuard clip(target, damage);
  BitBlt(target, bounds.left, bounds.top, bounds.Width(), bounds.Height(), source, bounds.left,
         bounds.top, SRCCOPY);
}

void CaptureRenderer::CopyScene(HDC target, FrameScene& targetScene, HDC source,
                                const FrameScene& sourceScene) {
  if (composition_ == Composition::kWholeFrame) {
    BitBlt(target, 0, 0, screen_.width, screen_.height, source, 0, 0, SRCCOPY);
  } else {
    CopyDamage(target, source, FrameDamage(targetScene, sourceScene, screen_));
  }
  targetScene = sourceScene;
}

void CaptureRenderer::DrawFrameAndHandles(HDC dc, Point corner1, Point corner2,
                                          const std::array<Point, 8>& handles) {
  win::SelectGuard pen(dc, framePen_.get());
  win::SelectGuard hollow(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, corner1.x, corner1.y, corner2.x, corner2.y);
  win::SelectGuard filled(dc, handleBrush_.get());
  for (const Point& h : handles) Rectangle(dc, h.x - 2, h.y - 2, h.x + 2, h.y + 2);
}

void CaptureRenderer::ComposeBackBuffer(const SelectionFrame& frame, const FrameScene& scene,
                                        const std::vector<Rect>* damage) {
  HDC dc = back_.dc();
  std::optional<ClipGuard> clip;
  Rect area{0, 0, screen_.width, screen_.height};
  if (damage) {
    clip.emplace(dc, *damage);
    area = Bounds(*damage);
  }
  BitBlt(dc, area.left, area.top, area.Width(), area.Height(), dimmed_.dc(), area.left, area.top,
         SRCCOPY);
  const Rect& s = frame.selection;
  BitBlt(dc, s.left, s.top, s.Width(), s.Height(), snapshot_, s.left, s.top, SRCCOPY);
  DrawFrameAndHandles(dc, frame.corner1, frame.corner2, frame.handles);

  // Translucent decorations are drawn only where the damage holds them whole (it either holds
  // them whole or misses them): GDI+ does not always honour the device context's clip region,
  // and a second fill over the same pixels would darken them twice.
  const auto touched = [&](const Rect& extent) {
    if (!damage) return true;
    for (const Rect& d : *damage) {
      if (Intersects(d, extent)) return true;
    }
    return false;
  };
  if (scene.label && touched(scene.label->extent)) {
    const SizeLabelMark& label = *scene.label;
    win::SelectGuard font(dc, labelFont_.get());
    SIZE extent{};
    const std::wstring text = win::WideFromText(label.text);
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    if (backGraphics_ && labelBrush_) {
      backGraphics_->FillRectangle(
          labelBrush_.get(), ToRectF(SizeLabelBackground(label.origin, {extent.cx, extent.cy})));
    }
    const Point at = SizeLabelTextOrigin(label.origin);
    TextOutW(dc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
  }
  if (scene.magnifier && backGraphics_ && touched(scene.magnifier->extent)) {
    magnifier_.Paint(dc, *backGraphics_, snapshot_, labelFont_.get(),
                     LayOutMagnifier(scene.magnifier->point, screen_));
  }
}

void CaptureRenderer::RenderFrame(const SelectionFrame& frame) {
  HDC dc = back_.dc();
  FrameScene scene = FrameScene::Dimmed();
  scene.selection = frame.selection;
  {
    win::SelectGuard font(dc, labelFont_.get());
    const std::wstring text = win::WideFromText(frame.label);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    const Size size{extent.cx, extent.cy};
    const Point origin = SizeLabelOrigin(frame.selection, size, screen_.width);
    const Point at = SizeLabelTextOrigin(origin);
    const Rect reach = Union(SizeLabelBackground(origin, size),
                             Rect::FromSize(at.x, at.y, size.width, size.height));
    scene.label = SizeLabelMark{origin, frame.label, reach.Inflated(3, 3)};
  }
  if (frame.withMagnifier) {
    const MagnifierLayout m = LayOutMagnifier(frame.magnifierPoint, screen_);
    scene.magnifier =
        MagnifierMark{frame.magnifierPoint, magnifier_.Extent(dc, labelFont_.get(), snapshot_, m)};
  }

  if (composition_ == Composition::kWholeFrame) {
    ComposeBackBuffer(frame, scene, nullptr);
  } else {
    std::vector<Rect> damage = FrameDamage(backScene_, scene, screen_);
    CoverTranslucentDecorations(damage, scene, screen_);
    if (!damage.empty()) ComposeBackBuffer(frame, scene, IsWholeScreen(damage) ? nullptr : &damage);
  }
  backScene_ = std::move(scene);
  CopyScene(windowDc_.get(), windowScene_, back_.dc(), backScene_);
}

void CaptureRenderer::ShowMagnifier(Point p) {
  const MagnifierLayout m = LayOutMagnifier(p, screen_);
  FrameScene scene = backScene_;
  const bool stacked = scene.magnifier.has_value();  // a second panel over one in the back buffer
  scene.magnifier =
      MagnifierMark{p, magnifier_.Extent(paint_.dc(), labelFont_.get(), snapshot_, m)};

  if (composition_ == Composition::kWholeFrame || stacked || !paintGraphics_) {
    BitBlt(paint_.dc(), 0, 0, screen_.width, screen_.height, back_.dc(), 0, 0, SRCCOPY);
    if (paintGraphics_)
      magnifier_.Paint(paint_.dc(), *paintGraphics_, snapshot_, labelFont_.get(), m);
    BitBlt(windowDc_.get(), 0, 0, screen_.width, screen_.height, paint_.dc(), 0, 0, SRCCOPY);
    paintScene_ = stacked ? FrameScene::Unknown() : scene;
    windowScene_ = paintScene_;
    return;
  }
  std::vector<Rect> damage = FrameDamage(paintScene_, scene, screen_);
  FrameScene panelOnly = FrameScene::Dimmed();
  panelOnly.magnifier = scene.magnifier;
  CoverTranslucentDecorations(damage, panelOnly, screen_);
  CopyDamage(paint_.dc(), back_.dc(), damage);
  // As in the back buffer: the panel is drawn only when the damage holds it (whole).
  bool panelDamaged = false;
  for (const Rect& d : damage)
    panelDamaged = panelDamaged || Intersects(d, scene.magnifier->extent);
  if (panelDamaged) {
    std::optional<ClipGuard> clip;
    if (!IsWholeScreen(damage)) clip.emplace(paint_.dc(), damage);
    magnifier_.Paint(paint_.dc(), *paintGraphics_, snapshot_, labelFont_.get(), m);
  }
  paintScene_ = std::move(scene);
  CopyScene(windowDc_.get(), windowScene_, paint_.dc(), paintScene_);
}

void CaptureRenderer::ComposePaintLayer(bool hasSelection, bool toolActive, const Rect& selection,
                                        CanvasPainter* canvas) {
  if (!hasSelection) {
    CopyScene(paint_.dc(), paintScene_, dimmed_.dc(), FrameScene::Dimmed());
    return;
  }
  CopyScene(paint_.dc(), paintScene_, back_.dc(), backScene_);
  if (toolActive) {
    if (canvas) {
      canvas->PaintOnto(paint_.dc());
      AddForeign(paintScene_, Intersection(selection, {0, 0, screen_.width, screen_.height}));
    }
    DrawSelectionFrame(selection);
  }
}

void CaptureRenderer::DrawSelectionFrame(const Rect& s) {
  const int midX = s.left + (s.right - s.left) / 2;
  const int midY = s.top + (s.bottom - s.top) / 2;
  const std::array<Point, 8> handles = {Point{s.left, s.top},    Point{s.right, s.top},
                                        Point{s.left, s.bottom}, Point{s.right, s.bottom},
                                        Point{midX, s.top},      Point{midX, s.bottom},
                                        Point{s.left, midY},     Point{s.right, midY}};
  DrawFrameAndHandles(paint_.dc(), {s.left, s.top}, {s.right, s.bottom}, handles);
  std::vector<Rect> bands;
  AppendSelectionBands(s, bands);
  for (const Rect& band : bands) {
    AddForeign(paintScene_, Intersection(band, {0, 0, screen_.width, screen_.height}));
  }
}

void CaptureRenderer::PresentPaintLayer() {
  CopyScene(windowDc_.get(), windowScene_, paint_.dc(), paintScene_);
}

void CaptureRenderer::Paint(bool hasSelection) {
  // Whatever the window showed before, it is painted whole now.
  windowScene_ = FrameScene::Unknown();
  if (hasSelection) {
    PresentPaintLayer();
  } else {
    BitBlt(windowDc_.get(), 0, 0, screen_.width, screen_.height, dimmed_.dc(), 0, 0, SRCCOPY);
    windowScene_ = FrameScene::Dimmed();
  }
}

void CaptureRenderer::ShowDimmedScreen() {
  CopyScene(windowDc_.get(), windowScene_, dimmed_.dc(), FrameScene::Dimmed());
  CopyScene(back_.dc(), backScene_, dimmed_.dc(), FrameScene::Dimmed());
}

HDC CaptureRenderer::PaintLayerForDrawing(const Rect& area) {
  AddForeign(paintScene_, Intersection(area, {0, 0, screen_.width, screen_.height}));
  return paint_.dc();
}

HDC CaptureRenderer::PaintLayerForDrawing() {
  paintScene_ = FrameScene::Unknown();
  return paint_.dc();
}

}  // namespace lumenta::capture
