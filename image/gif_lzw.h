#pragma once
// The variable-length-code LZW of GIF image data: codes packed least significant bit first,
// starting one bit wider than the minimum code size, growing up to 12 bits, with the clear and
// end-of-information codes right above the literal codes.
#include <cstddef>
#include <cstdint>

#include "image/byte_view.h"

namespace lumenta::image {

// Receives decoded colour indices in order, keeping what it has room for; returning false (it
// is full) stops the decoding.
class LzwIndexSink {
 public:
  virtual ~LzwIndexSink() = default;
  virtual bool Put(const std::uint8_t* indices, std::size_t count) = 0;
};

// Decodes the joined data sub-blocks of one image. Stops at the end-of-information code, at the
// end of the data, at the first impossible code (corrupt data: what came before stands), or when
// the sink says so. `minCodeSize` outside 2 to 8 gives nothing. Returns the indices delivered.
std::size_t DecodeGifLzw(ByteView codes, int minCodeSize, LzwIndexSink& sink);

}  // namespace lumenta::image
