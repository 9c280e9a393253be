#pragma once
// The clipboard picture source's conversion: the bitmap on the clipboard (CF_BITMAP) as the
// bytes of a BMP file (see bmp_file_image.h for the layout rules).
#include <windows.h>

#include <optional>

#include "base/text.h"

namespace lumenta::image {

// The BMP file image of a bitmap, at the bitmap's own depth: 1, 4 and 8 bits with their colour
// tables, 16 bits as 5-5-5, 24 and 32 bits direct; other depths become 24 bits. Rows bottom-up,
// no compression. Nothing when the handle is no bitmap or GDI refuses it. The bitmap must not
// be selected into a device context.
[[nodiscard]] std::optional<ByteBuffer> BitmapToBmpFile(HBITMAP bitmap);

// Opens the clipboard with `owner` as its owner, converts the CF_BITMAP it holds while it is
// still open (another program could empty the clipboard and free the handle after a close),
// and closes it. Nothing when the clipboard cannot be opened or holds no bitmap.
[[nodiscard]] std::optional<ByteBuffer> ClipboardBitmapToBmpFile(HWND owner);

}  // namespace lumenta::image
