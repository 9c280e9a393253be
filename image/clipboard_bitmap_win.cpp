#include "image/clipboard_bitmap_win.h"

#include <cstring>
#include <vector>

#include "image/bmp_file_image.h"
#include "win/clipboard_win.h"
#include "win/gdi_win.h"

namespace lumenta::image {
namespace {

int OutputDepth(HBITMAP bitmap) {
  DIBSECTION section{};
  int bits = 0;
  if (GetObjectW(bitmap, sizeof section, &section) == sizeof section) {
    bits = section.dsBmih.biBitCount;
  } else {
    BITMAP plain{};
    if (GetObjectW(bitmap, sizeof plain, &plain) != sizeof plain) return 0;
    bits = plain.bmBitsPixel * plain.bmPlanes;
  }
  switch (bits) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
      return bits;
    default:
      return 24;
  }
}

}  // namespace

std::optional<ByteBuffer> BitmapToBmpFile(HBITMAP bitmap) {
  if (!bitmap || GetObjectType(bitmap) != OBJ_BITMAP) return std::nullopt;
  BITMAP size{};
  if (GetObjectW(bitmap, sizeof size, &size) == 0 || size.bmWidth <= 0 || size.bmHeight <= 0) {
    return std::nullopt;
  }
  const int bits = OutputDepth(bitmap);
  if (bits == 0) return std::nullopt;

  // A header with room for a full colour table behind it.
  std::vector<unsigned char> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = size.bmWidth;
  header->biHeight = size.bmHeight;  // positive: rows bottom-up, as in a BMP file
  header->biPlanes = 1;
  header->biBitCount = static_cast<WORD>(bits);
  header->biCompression = BI_RGB;

  DibHeader dib;
  dib.width = size.bmWidth;
  dib.height = size.bmHeight;
  dib.bitCount = static_cast<std::uint16_t>(bits);
  const std::uint64_t pixelBytes = DibPixelBytes(dib);
  if (pixelBytes > 0x7FFFFFFF) return std::nullopt;
  ByteBuffer pixels(static_cast<std::size_t>(pixelBytes), '\0');

  const win::WindowDc screen(nullptr);
  if (!screen.get()) return std::nullopt;
  const int lines =
      GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(size.bmHeight), pixels.data(),
                reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
  if (lines != size.bmHeight) return std::nullopt;

  // The file's header is ours: the fields GDI may fill in differently (image size, resolution,
  // colour counts) are set from the rules, so the same bitmap always gives the same bytes.
  dib.sizeImage = static_cast<std::uint32_t>(pixelBytes);
  const std::string_view table(
      reinterpret_cast<const char*>(info.data() + sizeof(BITMAPINFOHEADER)), 256 * sizeof(RGBQUAD));
  return MakeBmpFileImage(dib, table, pixels.view());
}

std::optional<ByteBuffer> ClipboardBitmapToBmpFile(HWND owner) {
  const win::ClipboardSession clipboard(owner);
  if (!clipboard.open()) return std::nullopt;
  auto* bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  if (!bitmap) return std::nullopt;
  return BitmapToBmpFile(bitmap);
}

}  // namespace lumenta::image
