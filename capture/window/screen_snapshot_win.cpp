#include "capture/window/screen_snapshot_win.h"

#include <utility>

namespace lumenta::capture {
namespace {

SnapshotSource& Installed() {
  static SnapshotSource source;
  return source;
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

}  // namespace lumenta::capture
