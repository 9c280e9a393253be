#include "base/url_encoded_base64.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace lumenta {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The URL-encoded form of one Base64 character (sextet 62 is "+", 63 is "/").
struct Piece {
  char text[3];
  uint8_t length;
};

constexpr Piece PieceOf(unsigned sextet) {
  if (sextet == 62) return {{'%', '2', 'B'}, 3};
  if (sextet == 63) return {{'%', '2', 'F'}, 3};
  return {{kAlphabet[sextet], 0, 0}, 1};
}

// For each 12-bit half of a 3-byte group, its two characters URL-encoded (2 to 6 bytes) and the
// length, in 8 bytes: one look-up and one 8-byte store per half. The bytes past the length are
// overwritten by what follows, so a store needs 8 bytes of room even when it keeps fewer.
struct Pair {
  char text[7];
  uint8_t length;
};
static_assert(sizeof(Pair) == 8);

const std::array<Pair, 4096>& Pairs() {
  static const auto pairs = [] {
    std::array<Pair, 4096> table{};
    for (unsigned v = 0; v < 4096; ++v) {
      const Piece high = PieceOf(v >> 6);
      const Piece low = PieceOf(v & 63);
      Pair& p = table[v];
      std::memcpy(p.text, high.text, high.length);
      std::memcpy(p.text + high.length, low.text, low.length);
      p.length = static_cast<uint8_t>(high.length + low.length);
    }
    return table;
  }();
  return pairs;
}

inline uint32_t Group(const unsigned char* in) {
  return (uint32_t{in[0]} << 16) | (uint32_t{in[1]} << 8) | in[2];
}

// One sextet, exactly (no spare bytes written).
inline char* PutSextet(unsigned sextet, char* o) {
  const Piece p = PieceOf(sextet);
  std::memcpy(o, p.text, p.length);
  return o + p.length;
}

}  // namespace

size_t UrlEncodedBase64Length(std::string_view bytes) {
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  const size_t groups = n / 3;
  // The lengths from the writing table: the same two look-ups per group as the writing, in a
  // table that stays in the cache.
  const auto& pairs = Pairs();
  size_t length = 0;
  for (size_t g = 0; g < groups; ++g) {
    const uint32_t group = Group(in + 3 * g);
    length += pairs[group >> 12].length + pairs[group & 0xFFF].length;
  }
  const size_t rest = n - groups * 3;
  if (rest) {
    // The last group's characters: two (one byte left) or three (two left), then "%3D" for each
    // "=" of padding.
    const uint32_t b1 = in[groups * 3];
    const uint32_t b2 = rest == 2 ? in[groups * 3 + 1] : 0;
    const unsigned s1 = b1 >> 2;
    const unsigned s2 = ((b1 & 3) << 4) | (b2 >> 4);
    length += PieceOf(s1).length + PieceOf(s2).length;
    if (rest == 2) length += PieceOf((b2 & 15) << 2).length;
    length += (3 - rest) * 3;
  }
  return length;
}

char* WriteUrlEncodedBase64(std::string_view bytes, char* out) {
  const auto& pairs = Pairs();
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  const size_t groups = n / 3;
  char* o = out;
  size_t g = 0;
  // A group writes at least 4 bytes, and a half's 8-byte store reaches at most 6 bytes past its
  // own: with two more groups after this one, every store lands inside the output.
  for (; g + 2 < groups; ++g) {
    const uint32_t group = Group(in + 3 * g);
    const Pair& high = pairs[group >> 12];
    std::memcpy(o, &high, 8);
    o += high.length;
    const Pair& low = pairs[group & 0xFFF];
    std::memcpy(o, &low, 8);
    o += low.length;
  }
  for (; g < groups; ++g) {
    const uint32_t group = Group(in + 3 * g);
    for (int shift = 18; shift >= 0; shift -= 6) o = PutSextet((group >> shift) & 63, o);
  }
  const size_t rest = n - groups * 3;
  if (rest) {
    const uint32_t b1 = in[groups * 3];
    const uint32_t b2 = rest == 2 ? in[groups * 3 + 1] : 0;
    o = PutSextet(b1 >> 2, o);
    o = PutSextet(((b1 & 3) << 4) | (b2 >> 4), o);
    if (rest == 2) o = PutSextet((b2 & 15) << 2, o);
    for (size_t pad = rest; pad < 3; ++pad) {
      std::memcpy(o, "%3D", 3);
      o += 3;
    }
  }
  return o;
}

}  // namespace lumenta
