// The capture tool's BMP file, from any format the platform could report: the sizes it states
// agree with each other and with the file, and a 24-bit file reads back through the program's
// own BMP decoder as the pixels it was made of. The first 44 bytes are the format's fields
// (little-endian, in the order of BmpFormat); the rest is repeated to fill the pixel rows.
#include <algorithm>
#include <cstring>
#include <string>

#include "image/bmp_encoding.h"
#include "fuzz/fuzz_input.h"
#include "image/bmp_decoder.h"

using namespace lumenta;
using namespace lumenta::image;

namespace {

// The file is assembled the same way at any size; larger rows only cost time under the sanitizers.
constexpr std::uint64_t kMaxPixelBytes = 256u << 10;

std::uint32_t Read32(const uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t Read16(const uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }

std::uint32_t FileField(const ByteBuffer& file, size_t at) {
  return Read32(reinterpret_cast<const uint8_t*>(file.data()) + at);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 44) return 0;
  BmpFormat f;
  f.width = static_cast<std::int32_t>(Read32(data));
  f.height = static_cast<std::int32_t>(Read32(data + 4));
  f.planes = Read16(data + 8);
  f.bitCount = Read16(data + 10);
  f.compression = Read32(data + 12);
  f.imageSize = Read32(data + 16);
  f.xPelsPerMeter = static_cast<std::int32_t>(Read32(data + 20));
  f.yPelsPerMeter = static_cast<std::int32_t>(Read32(data + 24));
  f.coloursUsed = Read32(data + 28);
  f.importantColours = Read32(data + 32);
  f.colourEntry = Read32(data + 36);
  const bool readBack = data[40] & 1;

  const std::uint64_t stride = BmpRowStride(f.width, f.bitCount);
  fuzz::Require(stride % 4 == 0);
  fuzz::Require(stride * 8 >= static_cast<std::uint64_t>(std::llabs(f.width)) * f.bitCount);
  const std::uint64_t pixelBytes = BmpPixelDataSize(f);
  fuzz::Require(pixelBytes >= f.imageSize);
  fuzz::Require(pixelBytes >= stride * static_cast<std::uint64_t>(std::llabs(f.height)));
  if (pixelBytes > kMaxPixelBytes) return 0;

  // The rows: the rest of the input, repeated.
  std::string pixels(static_cast<size_t>(pixelBytes), '\0');
  const size_t seedSize = std::min(size - 44, pixels.size());
  if (seedSize > 0) {
    std::memcpy(pixels.data(), data + 44, seedSize);
    for (size_t filled = seedSize; filled < pixels.size(); filled *= 2) {
      std::memcpy(pixels.data() + filled, pixels.data(), std::min(filled, pixels.size() - filled));
    }
  }
  const ByteBuffer file = AssembleBmpFile(f, pixels);
  fuzz::Require(file.size() == static_cast<size_t>(kBmpPixelOffset) + pixels.size());
  fuzz::Require(file.view().substr(0, 2) == "BM");
  fuzz::Require(FileField(file, 2) == file.size());
  fuzz::Require(FileField(file, 10) == kBmpPixelOffset);
  fuzz::Require(FileField(file, 14) == kBmpInfoHeaderSize);
  fuzz::Require(FileField(file, 30) == 0);  // uncompressed, whatever the platform said
  fuzz::Require(FileField(file, 34) == pixels.size());
  fuzz::Require(file.view().substr(kBmpPixelOffset) == pixels);

  // A 24-bit picture of a sensible size, as the capture tool saves it (no colour table beyond the
  // one entry the file has room for), reads back pixel for pixel.
  if (!readBack || f.bitCount != 24 || f.planes != 1 || f.coloursUsed > 1 || f.width < 1 ||
      f.width > 256 || f.height < 1 || f.height > 256) {
    return 0;
  }
  const image::Image picture = image::DecodeBmp(file.view());
  fuzz::Require(picture.width() == f.width && picture.height() == f.height);
  for (int y = 0; y < f.height; ++y) {
    const size_t row = static_cast<size_t>(f.height - 1 - y) * stride;  // stored bottom-up
    for (int x = 0; x < f.width; ++x) {
      const auto* p = reinterpret_cast<const uint8_t*>(pixels.data()) + row + 3 * x;
      const std::uint32_t expected = 0xFF000000u | static_cast<std::uint32_t>(p[2]) << 16 |
                                     static_cast<std::uint32_t>(p[1]) << 8 | p[0];
      fuzz::Require(picture.Pixel(x, y) == expected);
    }
  }
  return 0;
}
