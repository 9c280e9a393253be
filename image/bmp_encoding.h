#pragma once
// The BMP file the capture tool saves: the two headers (bmp_headers.h) with one 4-byte colour
// entry after them, and the rows bottom-up, each padded to a multiple of 4 bytes. The pixel data
// therefore starts at offset 58. The platform supplies the format of the picture and its rows;
// this part lays them out.
#include <cstdint>
#include <string_view>

#include "base/text.h"
#include "image/bmp_headers.h"

namespace lumenta::image {

inline constexpr std::uint32_t kBmpPixelOffset = kBmpFileHeaderSize + kBmpInfoHeaderSize + 4;  // 58

// The fields of the information header as the platform reports them for a picture.
struct BmpFormat {
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive: rows stored bottom-up
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
  std::uint32_t imageSize = 0;
  std::int32_t xPelsPerMeter = 0;
  std::int32_t yPelsPerMeter = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t importantColours = 0;
  std::uint32_t colourEntry = 0;  // the one colour-table entry after the header
  friend bool operator==(const BmpFormat&, const BmpFormat&) = default;
};

// The byte size of the pixel data: the size the platform reported, or the size the rows need
// when the report is smaller (a platform may leave it 0 for uncompressed pictures), so that a
// buffer of this size always holds every row.
[[nodiscard]] std::uint64_t BmpPixelDataSize(const BmpFormat& format);

// The whole file: headers (compression 0, image size and file size from the pixel data) and the
// rows as given. `pixels` must hold BmpPixelDataSize(format) bytes.
[[nodiscard]] ByteBuffer AssembleBmpFile(const BmpFormat& format, std::string_view pixels);

}  // namespace lumenta::image
