#pragma once
// Reading a cursor file (.cur) held in memory: the hotspot and the image of its first entry, in
// the form the platform creates a cursor from (two 16-bit hotspot values followed by the
// bitmap: header, colour bits and mask). Nothing is written to disk.
#include <optional>
#include <string_view>

#include "base/text.h"
#include "capture/model/geometry.h"

namespace lumenta::capture {

struct CursorImage {
  Point hotspot;
  Size size;                // from the bitmap header (its height counts colour bits and mask)
  ByteBuffer resourceBits;  // hotspot x, hotspot y (16 bits each), then the bitmap
};

// The first image of a cursor file; nothing when the bytes are not a well-formed cursor file
// (wrong type, no entry, an image outside the file, a bitmap header that is not 40 bytes).
[[nodiscard]] std::optional<CursorImage> ReadCursorFile(std::string_view file);

}  // namespace lumenta::capture
