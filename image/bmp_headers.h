#pragma once
// The two headers every BMP file starts with, and the one place that writes them:
//   - the 14-byte file header: "BM", the file's total size, two reserved zero words, and the
//     offset of the pixel rows;
//   - the 40-byte information header (a BITMAPINFOHEADER) with the fields of a DibHeader.
// What follows them (a colour table, the rows) is up to each kind of file: the clipboard
// picture's file image (bmp_file_image.h) and the capture tool's saved file (bmp_encoding.h).
#include <cstdint>

#include "base/text.h"

namespace lumenta::image {

inline constexpr std::uint32_t kBmpFileHeaderSize = 14;
inline constexpr std::uint32_t kBmpInfoHeaderSize = 40;

// The fields of a BITMAPINFOHEADER (its size field is always 40 here).
struct DibHeader {
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t sizeImage = 0;
  std::int32_t xPelsPerMeter = 0;
  std::int32_t yPelsPerMeter = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t coloursImportant = 0;
};

// Bytes of one stored row: the pixels' bits rounded up to whole 32-bit words (the width's sign
// does not count).
[[nodiscard]] std::uint64_t BmpRowStride(std::int32_t width, std::uint16_t bitCount);

// Appends a 32-bit value as the headers store their fields: little-endian.
void AppendLe32(ByteBuffer& out, std::uint32_t value);

// Appends the file header (with `fileSize` and `pixelOffset`) and the information header of
// `header`, 54 bytes in all.
void AppendBmpHeaders(ByteBuffer& out, const DibHeader& header, std::uint32_t pixelOffset,
                      std::uint32_t fileSize);

}  // namespace lumenta::image
