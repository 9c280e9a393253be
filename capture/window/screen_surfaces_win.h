#pragma once
// The capture's four surfaces of the screen's size, and the set kept from one capture to the
// next.
//
// A start that makes its surfaces pays for their memory twice before its first frame: the
// allocation, and the first write of every page (about as long as the screen copy itself at
// 1920 x 1080, much more in a virtual machine). A person who takes one capture often takes the
// next soon after, so the surfaces of a finished capture stay for a while (kKeepMs after the
// last capture ended) and the next capture of a screen of the same size and depth takes them
// over; after that time, or when the screen changes, they go. A 32-bit program keeps only
// surfaces small enough to leave its address space to the pictures it works on.
#include <windows.h>

#include <array>
#include <cstddef>

#include "capture/model/geometry.h"
#include "win/gdi_win.h"

namespace lumenta::capture {

struct ScreenSurfaces {
  Size size;
  int bitsPerPixel = 0;         // the screen's, which the drawing surfaces follow
  win::MemorySurface snapshot;  // the frozen screen (its pixels read and written directly)
  win::MemorySurface dimmed;    // the snapshot darkened once (pixels read and written directly)
  win::MemorySurface back;      // where each selection frame is composed (drawn on)
  win::MemorySurface paint;     // what the window shows when it repaints (drawn on)
  // Each surface's device context as it was made (the bitmap selected, nothing else changed),
  // saved so that a surface taken over starts from it again.
  std::array<int, 4> savedStates{};

  explicit operator bool() const { return static_cast<bool>(paint); }
  // Bytes of pixels the four hold.
  [[nodiscard]] std::size_t bytes() const;
};

// Makes the four through the installed maker (screen_snapshot_win.h), in the order snapshot,
// dimmed copy, back buffer, paint layer; when one cannot be made, none is kept and nothing
// after it is asked for (empty result).
[[nodiscard]] ScreenSurfaces MakeScreenSurfaces(HDC screen, Size size);

class SpareSurfaces {
 public:
  static constexpr UINT kKeepMs = 30000;
  // Above this many bytes (the four together) a 32-bit program keeps no surfaces between
  // captures: screens up to 2560 x 1440 fit.
  static constexpr std::size_t kMost32BitBytes = std::size_t(64) << 20;

  // `keepMs`: how long surfaces stay after a capture ended (a test shortens it).
  explicit SpareSurfaces(UINT keepMs = kKeepMs) : keepMs_(keepMs) {}
  SpareSurfaces(const SpareSurfaces&) = delete;
  SpareSurfaces& operator=(const SpareSurfaces&) = delete;
  ~SpareSurfaces() { Release(); }

  // The surfaces for a capture of a screen of `size` at `bitsPerPixel`, with every device
  // context as it was made: the kept ones when they fit the screen, else newly made (empty when
  // they cannot be). Kept surfaces that do not fit are released before new ones are made.
  [[nodiscard]] ScreenSurfaces Take(HDC screen, Size size, int bitsPerPixel);
  // Keeps the surfaces of a capture that ended, for kKeepMs from now (a thread timer of the
  // calling thread releases them; it fires while that thread handles its messages).
  void Keep(ScreenSurfaces surfaces);
  // Releases the kept surfaces now.
  void Release();
  [[nodiscard]] bool holding() const { return static_cast<bool>(kept_); }

 private:
  static void CALLBACK Expired(HWND, UINT, UINT_PTR timer, DWORD);
  void StopTimer();

  UINT keepMs_;
  ScreenSurfaces kept_;
  UINT_PTR timer_ = 0;
};

}  // namespace lumenta::capture
