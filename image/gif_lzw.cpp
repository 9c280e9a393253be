#include "image/gif_lzw.h"

#include <array>

namespace lumenta::image {
namespace {

constexpr int kMaxCodes = 4096;

// Reads codes of a given width, least significant bit first.
class CodeReader {
 public:
  explicit CodeReader(ByteView data) : data_(data) {}
  // False when fewer than `width` bits are left.
  bool Read(int width, int& code) {
    while (bits_ < width) {
      if (offset_ >= data_.size) return false;
      buffer_ |= static_cast<std::uint32_t>(data_.U8(offset_++)) << bits_;
      bits_ += 8;
    }
    code = static_cast<int>(buffer_ & ((1u << width) - 1));
    buffer_ >>= width;
    bits_ -= width;
    return true;
  }

 private:
  ByteView data_;
  std::size_t offset_ = 0;
  std::uint32_t buffer_ = 0;
  int bits_ = 0;
};

}  // namespace

std::size_t DecodeGifLzw(ByteView codes, int minCodeSize, LzwIndexSink& sink) {
  if (minCodeSize < 2 || minCodeSize > 8) return 0;
  // The table: each string is its prefix string plus one last index.
  std::array<std::uint16_t, kMaxCodes> prefix{};
  std::array<std::uint8_t, kMaxCodes> last{};
  std::array<std::uint8_t, kMaxCodes> first{};
  std::array<std::uint16_t, kMaxCodes> length{};
  std::array<std::uint8_t, kMaxCodes> out{};

  const int clear = 1 << minCodeSize;
  const int end = clear + 1;
  for (int i = 0; i < clear; ++i) {
    last[i] = first[i] = static_cast<std::uint8_t>(i);
    length[i] = 1;
  }
  int width = minCodeSize + 1;
  int next = clear + 2;
  int previous = -1;
  std::size_t delivered = 0;

  CodeReader reader(codes);
  int code = 0;
  while (reader.Read(width, code)) {
    if (code == clear) {
      width = minCodeSize + 1;
      next = clear + 2;
      previous = -1;
      continue;
    }
    if (code == end) break;
    if (previous < 0) {
      if (code >= clear) break;  // the first code after a clear must be a literal
    } else if (code < next) {
      if (next < kMaxCodes) {
        prefix[next] = static_cast<std::uint16_t>(previous);
        last[next] = first[code];
        first[next] = first[previous];
        length[next] = static_cast<std::uint16_t>(length[previous] + 1);
        ++next;
      }
    } else if (code == next && next < kMaxCodes) {
      // The string being defined right now: the previous one plus its own first index.
      prefix[next] = static_cast<std::uint16_t>(previous);
      last[next] = first[previous];
      first[next] = first[previous];
      length[next] = static_cast<std::uint16_t>(length[previous] + 1);
      ++next;
    } else {
      break;  // a code that is not in the table yet: corrupt data
    }
    // Spell the string backwards into `out`, then hand it over in order.
    const int n = length[code];
    int c = code;
    for (int i = n - 1; i >= 0; --i) {
      out[i] = last[c];
      c = prefix[c];
    }
    delivered += n;
    if (!sink.Put(out.data(), n)) break;
    previous = code;
    if (next == (1 << width) && width < 12) ++width;
  }
  return delivered;
}

}  // namespace lumenta::image
