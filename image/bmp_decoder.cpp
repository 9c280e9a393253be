#include "image/bmp_decoder.h"

#include "image/byte_view.h"
#include "image/dib_decoder.h"

namespace lumenta::image {

Image DecodeBmp(std::string_view bytes) {
  constexpr std::size_t kFileHeader = 14;
  const ByteView file(bytes);
  if (!file.Has(0, kFileHeader + 4) || bytes[0] != 'B' || bytes[1] != 'M') return Image();
  // The offset field counts from the start of the file; the bitmap starts after the file
  // header. An offset inside the headers is ignored and the rows follow the colour table.
  const std::uint32_t offset = file.Le32(10);
  DibLayout layout;
  layout.pixelOffset = offset > kFileHeader ? offset - kFileHeader : 0;
  return DecodeDib(file.Sub(kFileHeader, file.size - kFileHeader), layout);
}

}  // namespace lumenta::image
