#pragma once
// BMP file bytes of a device-dependent bitmap (bmp_encoding.h: the file the capture tool saves),
// and device-dependent bitmaps made from BMP file bytes (the capture toolbar's stored pictures).
#include <windows.h>

#include <string_view>

#include "base/text.h"
#include "win/gdi_win.h"
#include "win/scoped_handle_win.h"

namespace lumenta::image {

// The whole BMP file for `bitmap` in the colour format that `reference` supplies: the 58-byte
// header and the rows bottom-up. Empty when the platform cannot read the bitmap. A display with
// a colour table (8 bits per pixel or less) gives 24-bit rows, which need no colour table. The
// bitmap must not be selected into a device context.
[[nodiscard]] ByteBuffer EncodeBitmapAsBmp(HDC reference, HBITMAP bitmap);

// A bitmap compatible with `reference` holding the picture of a BMP file (uncompressed, 24 or
// 32 bits per pixel, or fewer with a colour table); none when the bytes are not such a file.
[[nodiscard]] win::Bitmap BitmapFromBmpFile(HDC reference, std::string_view file);

// A memory surface compatible with `reference` holding the picture of a BMP file, of its size;
// no surface when the bytes are not such a file.
[[nodiscard]] win::MemorySurface SurfaceFromBmpFile(HDC reference, std::string_view file);

}  // namespace lumenta::image
