#pragma once
// The seams through which the capture tool freezes the screen and makes its surfaces of the
// screen's size. The program's defaults copy the screen and make 32-bit DIB sections; a test
// installs a source that paints a known picture instead, or a maker that fails as a program
// short of address space does.
#include <windows.h>

#include <functional>

#include "win/gdi_win.h"

namespace lumenta::capture {

// Fills `snapshot` (a surface of `width` x `height` compatible with `screen`) with the picture
// to capture.
using SnapshotSource = std::function<void(HDC screen, HDC snapshot, int width, int height)>;

// Installs `source` (empty: the real screen again); returns the previous one.
SnapshotSource SetSnapshotSource(SnapshotSource source);

// Freezes the picture through the installed source.
void TakeSnapshot(HDC screen, HDC snapshot, int width, int height);

// What one of the capture's surfaces of the screen's size is for: the snapshot and the dimmed
// copy have their pixels read and written by the program itself (a 32-bit DIB section,
// win::MemorySurface::CreateDib); the back buffer and the paint layer are only drawn on, GDI+
// among others (a bitmap compatible with the screen, on which GDI+ draws as on the screen: on a
// 32-bit DIB section Wine's GDI+ takes the slower way that keeps an alpha channel).
enum class ScreenSurfaceUse { kPixels, kDrawing };

// Makes one of the capture's surfaces of the screen's size, for `use`, compatible with `screen`;
// an empty surface (no device context) when it cannot be made.
using ScreenSurfaceMaker =
    std::function<win::MemorySurface(HDC screen, int width, int height, ScreenSurfaceUse use)>;

// Installs `maker` (empty: the system's own again); returns the previous one.
ScreenSurfaceMaker SetScreenSurfaceMaker(ScreenSurfaceMaker maker);

// Makes a surface through the installed maker. Only a surface with its bitmap (and, for
// kPixels, its pixels) counts as made: anything else comes back empty.
[[nodiscard]] win::MemorySurface MakeScreenSurface(HDC screen, int width, int height,
                                                   ScreenSurfaceUse use);

// The program's own maker.
[[nodiscard]] win::MemorySurface MakeSystemScreenSurface(HDC screen, int width, int height,
                                                         ScreenSurfaceUse use);

}  // namespace lumenta::capture
