#pragma once
// The capture window's cursor files, compiled into the program (res/capture/make_cursors.py).
#include <cstddef>
#include <string_view>

extern const unsigned char capture_cross_cursor[];
extern const unsigned long long capture_cross_cursor_size;
extern const unsigned char capture_arrow_cursor[];
extern const unsigned long long capture_arrow_cursor_size;

namespace lumenta::capture {

// The drawing tools' cross: 32 x 32, 24 bits, hotspot (15, 15); 3262 bytes.
inline std::string_view CrossCursorFile() {
  return {reinterpret_cast<const char*>(capture_cross_cursor),
          static_cast<size_t>(capture_cross_cursor_size)};
}

// The capture window's own arrow: 32 x 32, 24 bits, hotspot at the tip (0, 0).
inline std::string_view ArrowCursorFile() {
  return {reinterpret_cast<const char*>(capture_arrow_cursor),
          static_cast<size_t>(capture_arrow_cursor_size)};
}

}  // namespace lumenta::capture
