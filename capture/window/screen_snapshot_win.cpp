#include "capture/window/screen_snapshot_win.h"

#include <utility>

namespace lumenta::capture {
namespace {

SnapshotSource& Installed() {
  static SnapshotSource source;
  return source;
}

ScreenSurfaceMaker& InstalledMaker() {
  static ScreenSurfaceMaker maker;
  return maker;
}

}  // namespace

SnapshotSource SetSnapshotSource(SnapshotSource source) {
  return std::exchange(Installed(), std::move(source));
}

void TakeSnapshot(HDC screen, HDC snapshot, int width, int height) {
  if (const SnapshotSource& source = Installed()) {
    source(screen, snapshot, width, height);
    return;
  }
  BitBlt(snapshot, 0, 0, width, height, screen, 0, 0, SRCCOPY);
}

ScreenSurfaceMaker SetScreenSurfaceMaker(ScreenSurfaceMaker maker) {
  return std::exchange(InstalledMaker(), std::move(maker));
}

win::MemorySurface MakeSystemScreenSurface(HDC screen, int width, int height,
                                           ScreenSurfaceUse use) {
  return use == ScreenSurfaceUse::kPixels ? win::MemorySurface::CreateDib(screen, width, height)
                                          : win::MemorySurface::Create(screen, width, height);
}

win::MemorySurface MakeScreenSurface(HDC screen, int width, int height, ScreenSurfaceUse use) {
  win::MemorySurface surface = InstalledMaker()
                                   ? InstalledMaker()(screen, width, height, use)
                                   : MakeSystemScreenSurface(screen, width, height, use);
  if (!surface || surface.bitmap() == nullptr ||
      (use == ScreenSurfaceUse::kPixels && surface.bits() == nullptr)) {
    return win::MemorySurface();
  }
  return surface;
}

}  // namespace lumenta::capture
