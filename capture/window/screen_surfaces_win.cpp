#include "capture/window/screen_surfaces_win.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "capture/window/screen_snapshot_win.h"

namespace lumenta::capture {
namespace {

// The kept sets waiting for their thread timer, by timer.
std::vector<std::pair<UINT_PTR, SpareSurfaces*>>& Waiting() {
  static std::vector<std::pair<UINT_PTR, SpareSurfaces*>> waiting;
  return waiting;
}

std::array<win::MemorySurface*, 4> Each(ScreenSurfaces& s) {
  return {&s.snapshot, &s.dimmed, &s.back, &s.paint};
}

}  // namespace

std::size_t ScreenSurfaces::bytes() const {
  const std::size_t pixels = std::size_t(size.width) * std::size_t(size.height);
  const std::size_t drawingBytes = std::size_t(std::max(bitsPerPixel, 8) / 8);
  return pixels * (4 + 4 + 2 * drawingBytes);
}

ScreenSurfaces MakeScreenSurfaces(HDC screen, Size size) {
  ScreenSurfaces s;
  s.size = size;
  s.bitsPerPixel = GetDeviceCaps(screen, BITSPIXEL);
  const ScreenSurfaceUse uses[] = {ScreenSurfaceUse::kPixels, ScreenSurfaceUse::kPixels,
                                   ScreenSurfaceUse::kDrawing, ScreenSurfaceUse::kDrawing};
  const std::array<win::MemorySurface*, 4> surfaces = Each(s);
  for (std::size_t i = 0; i < surfaces.size(); ++i) {
    *surfaces[i] = MakeScreenSurface(screen, size.width, size.height, uses[i]);
    if (!*surfaces[i]) return ScreenSurfaces();
    s.savedStates[i] = SaveDC(surfaces[i]->dc());
  }
  return s;
}

ScreenSurfaces SpareSurfaces::Take(HDC screen, Size size, int bitsPerPixel) {
  if (kept_ && kept_.size == size && kept_.bitsPerPixel == bitsPerPixel) {
    StopTimer();
    ScreenSurfaces taken = std::exchange(kept_, ScreenSurfaces());
    // Whatever the last capture selected or set on a device context goes with the state saved
    // when it was made.
    const std::array<win::MemorySurface*, 4> surfaces = Each(taken);
    for (std::size_t i = 0; i < surfaces.size(); ++i) {
      RestoreDC(surfaces[i]->dc(), taken.savedStates[i]);
      taken.savedStates[i] = SaveDC(surfaces[i]->dc());
    }
    return taken;
  }
  Release();  // before new ones are made: both sets at once may not fit
  return MakeScreenSurfaces(screen, size);
}

void SpareSurfaces::Keep(ScreenSurfaces surfaces) {
  Release();
  if (!surfaces) return;
  if (sizeof(void*) == 4 && surfaces.bytes() > kMost32BitBytes) return;
  timer_ = SetTimer(nullptr, 0, keepMs_, &SpareSurfaces::Expired);
  if (timer_ == 0) return;  // kept only while something will release them
  Waiting().emplace_back(timer_, this);
  kept_ = std::move(surfaces);
}

void SpareSurfaces::Release() {
  StopTimer();
  kept_ = ScreenSurfaces();
}

void SpareSurfaces::StopTimer() {
  if (timer_ != 0) {
    KillTimer(nullptr, timer_);
    std::erase_if(Waiting(), [&](const auto& w) { return w.first == timer_; });
    timer_ = 0;
  }
}

void CALLBACK SpareSurfaces::Expired(HWND, UINT, UINT_PTR timer, DWORD) {
  for (const auto& [id, spare] : Waiting()) {
    if (id == timer) {
      spare->Release();  // kills the timer and leaves the list
      return;
    }
  }
  KillTimer(nullptr, timer);  // a timer nobody waits for any more
}

}  // namespace lumenta::capture
