#include "image/bmp_encoding_win.h"

#include <cstring>

#include "image/bmp_encoding.h"

namespace lumenta::image {
namespace {

// Room for the largest colour table a format query may write after the header.
struct InfoWithColours {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

}  // namespace

ByteBuffer EncodeBitmapAsBmp(HDC reference, HBITMAP bitmap) {
  BITMAP dimensions{};
  if (GetObjectW(bitmap, sizeof dimensions, &dimensions) == 0 || dimensions.bmWidth <= 0 ||
      dimensions.bmHeight <= 0) {
    return {};
  }
  InfoWithColours info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  auto* asInfo = reinterpret_cast<BITMAPINFO*>(&info);
  if (GetDIBits(reference, bitmap, 0, static_cast<UINT>(dimensions.bmHeight), nullptr, asInfo,
                DIB_RGB_COLORS) == 0) {
    return {};
  }
  info.header.biCompression = BI_RGB;
  if (info.header.biBitCount <= 8) {
    // The file keeps room for one colour entry only; true-colour rows need none.
    info.header.biBitCount = 24;
    info.header.biClrUsed = 0;
    info.header.biClrImportant = 0;
    info.header.biSizeImage = 0;
  }
  const BmpFormat query{.width = info.header.biWidth,
                        .height = info.header.biHeight,
                        .planes = info.header.biPlanes,
                        .bitCount = info.header.biBitCount,
                        .compression = BI_RGB,
                        .imageSize = info.header.biSizeImage};
  ByteBuffer pixels(BmpPixelDataSize(query), '\0');
  if (GetDIBits(reference, bitmap, 0, static_cast<UINT>(dimensions.bmHeight), pixels.data(), asInfo,
                DIB_RGB_COLORS) == 0) {
    return {};
  }
  const BmpFormat format{.width = info.header.biWidth,
                         .height = info.header.biHeight,
                         .planes = info.header.biPlanes,
                         .bitCount = info.header.biBitCount,
                         .compression = BI_RGB,
                         .imageSize = static_cast<std::uint32_t>(pixels.size()),
                         .xPelsPerMeter = info.header.biXPelsPerMeter,
                         .yPelsPerMeter = info.header.biYPelsPerMeter,
                         .coloursUsed = info.header.biClrUsed,
                         .importantColours = info.header.biClrImportant,
                         .colourEntry = 0};
  return AssembleBmpFile(format, pixels.view());
}

win::Bitmap BitmapFromBmpFile(HDC reference, std::string_view file) {
  if (file.size() < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) || file[0] != 'B' ||
      file[1] != 'M') {
    return {};
  }
  BITMAPFILEHEADER fileHeader;
  std::memcpy(&fileHeader, file.data(), sizeof fileHeader);
  BITMAPINFOHEADER header;
  std::memcpy(&header, file.data() + sizeof fileHeader, sizeof header);
  if (header.biSize < sizeof header || header.biCompression != BI_RGB || header.biWidth <= 0 ||
      header.biHeight == 0 || fileHeader.bfOffBits > file.size()) {
    return {};
  }
  const WORD bits = header.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return {};
  }
  const std::uint64_t colours =
      bits <= 8 ? (header.biClrUsed != 0 ? header.biClrUsed : 1u << bits) : 0;
  if (fileHeader.bfOffBits < sizeof fileHeader + header.biSize + colours * sizeof(RGBQUAD)) {
    return {};
  }
  const BmpFormat format{.width = header.biWidth, .height = header.biHeight, .bitCount = bits};
  if (file.size() - fileHeader.bfOffBits < BmpPixelDataSize(format)) return {};
  // The information block (with its colour table, if any) runs up to the pixel data.
  const std::size_t infoSize = fileHeader.bfOffBits - sizeof fileHeader;
  ByteBuffer info(file.substr(sizeof fileHeader, infoSize));
  return win::Bitmap(
      CreateDIBitmap(reference, &header, CBM_INIT, file.data() + fileHeader.bfOffBits,
                     reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS));
}

win::MemorySurface SurfaceFromBmpFile(HDC reference, std::string_view file) {
  const win::Bitmap picture = BitmapFromBmpFile(reference, file);
  BITMAP size{};
  if (!picture || GetObjectW(picture.get(), sizeof size, &size) == 0) return {};
  win::MemorySurface surface = win::CreateMemorySurface(reference, size.bmWidth, size.bmHeight);
  if (!surface) return surface;
  if (const win::MemoryDc source(CreateCompatibleDC(reference)); source) {
    const win::SelectGuard use(source.get(), picture.get());
    BitBlt(surface.dc(), 0, 0, size.bmWidth, size.bmHeight, source.get(), 0, 0, SRCCOPY);
  }
  return surface;
}

}  // namespace lumenta::image
