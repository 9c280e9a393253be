#pragma once
// The seam through which the capture tool freezes the screen. The program's default copies the
// screen; a test installs a source that paints a known picture instead.
#include <windows.h>

#include <functional>

namespace lumenta::capture {

// Fills `snapshot` (a surface of `width` x `height` compatible with `screen`) with the picture
// to capture.
using SnapshotSource = std::function<void(HDC screen, HDC snapshot, int width, int height)>;

// Installs `source` (empty: the real screen again); returns the previous one.
SnapshotSource SetSnapshotSource(SnapshotSource source);

// Freezes the picture through the installed source.
void TakeSnapshot(HDC screen, HDC snapshot, int width, int height);

}  // namespace lumenta::capture
