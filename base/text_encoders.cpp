#include "base/text_encoders.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "base/codepage.h"
#include "base/pending_events.h"

namespace lumenta {
namespace {

// "#引号" in GBK: the marker placeholder that stands for one double quote.
constexpr std::string_view kQuotePlaceholder = "#\xD2\xFD\xBA\xC5";

inline bool IsLeadByte(unsigned char c) { return c >= 0x80; }

inline unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

// Compares `sought` with the text at `at`, folding ASCII letters but never the second byte of a
// double-byte character (those compare exactly, with the lead byte).
bool EqualsFolded(const unsigned char* at, std::string_view sought) {
  const auto* s = reinterpret_cast<const unsigned char*>(sought.data());
  const size_t m = sought.size();
  for (size_t k = 0; k < m; ++k) {
    if (IsLeadByte(s[k])) {
      if (at[k] != s[k]) return false;
      if (++k < m && at[k] != s[k]) return false;
    } else if (FoldAscii(at[k]) != FoldAscii(s[k])) {
      return false;
    }
  }
  return true;
}

bool IsAscii(std::string_view bytes) {
  const char* p = bytes.data();
  size_t n = bytes.size();
  for (; n >= 8; p += 8, n -= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    if (word & 0x8080808080808080ull) return false;
  }
  for (; n; ++p, --n) {
    if (static_cast<unsigned char>(*p) & 0x80) return false;
  }
  return true;
}

// ASCII reads the same in GBK and in UTF-8; only these two code pages take the shortcut.
inline bool AsciiCompatible(unsigned codePage) {
  return codePage == codepage::kGbk || codePage == codepage::kUtf8;
}

ByteBuffer UnitsToBytes(std::u16string_view units) {
  ByteBuffer out(units.size() * 2 + 2, '\0');
  char* p = out.data();
  for (char16_t u : units) {
    *p++ = static_cast<char>(u & 0xFF);
    *p++ = static_cast<char>(u >> 8);
  }
  return out;
}

std::u16string BytesToUnits(std::string_view utf16le) {
  // The data is read up to its first zero character; an odd last byte pairs with a zero byte.
  std::u16string units;
  units.reserve(utf16le.size() / 2 + 1);
  const auto* p = reinterpret_cast<const unsigned char*>(utf16le.data());
  const size_t n = utf16le.size();
  for (size_t i = 0; i < n; i += 2) {
    const char16_t u = static_cast<char16_t>(p[i] | ((i + 1 < n ? p[i + 1] : 0) << 8));
    if (u == 0) break;
    units.push_back(u);
  }
  return units;
}

}  // namespace

int FindInText(std::string_view text, std::string_view sought, int start, bool ignoreCase) {
  size_t i = start <= 1 ? 0 : static_cast<size_t>(start) - 1;
  const size_t n = text.size();
  const size_t m = sought.size();
  const auto* t = reinterpret_cast<const unsigned char*>(text.data());
  if (ignoreCase) {
    while (i + m <= n) {
      if (EqualsFolded(t + i, sought)) return static_cast<int>(i + 1);
      i += IsLeadByte(t[i]) ? 2 : 1;
    }
    return -1;
  }
  if (m == 0) return i <= n ? static_cast<int>(i + 1) : -1;
  const unsigned char first = static_cast<unsigned char>(sought[0]);
  while (i + m <= n) {
    const unsigned char c = t[i];
    if (c == first && std::memcmp(t + i, sought.data(), m) == 0) return static_cast<int>(i + 1);
    i += IsLeadByte(c) ? 2 : 1;
  }
  return -1;
}

namespace {

#if defined(__SSE2__)
// For 16 bytes, a bit mask of those UrlEncode keeps unchanged when the safe set is kept: letters,
// digits and - . _ ' ( ) *. Signed compares leave every byte of 0x80 and above outside the ranges.
inline unsigned SafeMask16(const unsigned char* p) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  auto inRange = [&](char lo, char hi) {
    return _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8(static_cast<char>(lo - 1))),
                         _mm_cmplt_epi8(v, _mm_set1_epi8(static_cast<char>(hi + 1))));
  };
  __m128i safe = _mm_or_si128(inRange('A', 'Z'), inRange('a', 'z'));
  safe = _mm_or_si128(safe, inRange('0', '9'));
  safe = _mm_or_si128(safe, inRange('\'', '*'));  // ' ( ) *
  safe = _mm_or_si128(safe, inRange('-', '.'));
  safe = _mm_or_si128(safe, _mm_cmpeq_epi8(v, _mm_set1_epi8('_')));
  return static_cast<unsigned>(_mm_movemask_epi8(safe));
}

inline unsigned SpaceMask16(const unsigned char* p) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(' '))));
}
#endif

}  // namespace

std::string_view AsLongText(std::string_view bytes) {
  const char* p = bytes.data();
  const size_t n = bytes.size();
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero)));
    if (hits) return bytes.substr(0, i + static_cast<size_t>(__builtin_ctz(hits)));
  }
#endif
  for (; i < n; ++i) {
    if (p[i] == '\0') return bytes.substr(0, i);
  }
  return bytes;
}

Text ReplaceQuotePlaceholder(std::string_view text) {
  Text out;
  out.reserve(text.size());
  size_t from = 0;
  for (;;) {
    const size_t hit = text.find(kQuotePlaceholder, from);
    if (hit == std::string_view::npos) break;
    out.append(text, from, hit - from);
    out.push_back('"');
    from = hit + kQuotePlaceholder.size();
  }
  out.append(text, from);
  return out;
}

int FindText(std::string_view text, std::string_view sought, int start, bool ignoreCase) {
  return FindInText(AsText(text), AsText(sought), start, ignoreCase);
}

Text TextBetween(std::string_view text, std::string_view left, std::string_view right, int start,
                 bool ignoreCase) {
  text = AsText(text);
  const Text l = ReplaceQuotePlaceholder(AsText(left));
  const Text r = ReplaceQuotePlaceholder(AsText(right));
  const int p = FindInText(text, l, start, ignoreCase);
  if (p == -1) return {};
  const int s = p + static_cast<int>(l.size());
  const int q = FindInText(text, r, s, ignoreCase);
  if (q == -1) return {};
  return Text(text.substr(static_cast<size_t>(s) - 1, static_cast<size_t>(q - s)));
}

std::vector<Text> ItemsBetween(std::string_view text, std::string_view left, std::string_view right,
                               const BetweenOptions& options) {
  std::vector<Text> items;
  text = AsText(text);
  left = AsText(left);
  right = AsText(right);
  if (left.empty()) return items;
  const std::string_view prefix = AsText(options.prefix);
  const std::string_view suffix = AsText(options.suffix);
  int d = options.start;
  for (;;) {
    const int p = FindInText(text, left, d, options.ignoreCase);
    if (p == -1) break;
    d = p + static_cast<int>(left.size());
    const int q = FindInText(text, right, d, options.ignoreCase);
    if (q == -1) break;
    Text item;
    item.reserve(prefix.size() + static_cast<size_t>(q - d) + suffix.size() + left.size() +
                 right.size());
    if (options.includeLeft) item.append(left);
    item.append(prefix);
    item.append(text.substr(static_cast<size_t>(d) - 1, static_cast<size_t>(q - d)));
    item.append(suffix);
    if (options.includeRight) item.append(right);
    if (options.lengthLimit == 0 || static_cast<long long>(item.size()) < options.lengthLimit) {
      items.push_back(std::move(item));
    }
    ProcessPendingEvents();
  }
  return items;
}

int TextBetweenAll(std::string_view text, std::string_view left, std::string_view right,
                   std::vector<Text>& list, bool ignoreCase, int lengthLimit,
                   std::string_view prefix, std::string_view suffix, bool includeLeft,
                   bool includeRight, int start) {
  list = ItemsBetween(text, left, right,
                      {.ignoreCase = ignoreCase,
                       .lengthLimit = lengthLimit,
                       .prefix = prefix,
                       .suffix = suffix,
                       .includeLeft = includeLeft,
                       .includeRight = includeRight,
                       .start = start});
  return static_cast<int>(list.size());
}

Text Base64Encode(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  // Two output characters for each 12-bit half of a group: one table look-up per pair.
  static const auto kPairs = [] {
    std::array<uint16_t, 4096> pairs{};
    for (unsigned v = 0; v < 4096; ++v) {
      const auto hi = static_cast<unsigned char>(kAlphabet[v >> 6]);
      const auto lo = static_cast<unsigned char>(kAlphabet[v & 63]);
      char two[2] = {static_cast<char>(hi), static_cast<char>(lo)};
      std::memcpy(&pairs[v], two, 2);
    }
    return pairs;
  }();

  const size_t n = bytes.size();
  if (n == 0) return {};
  Text out((n + 2) / 3 * 4, '\0');
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  char* o = out.data();
  size_t i = 0;
  for (; i + 3 <= n; i += 3, o += 4) {
    const uint32_t group = (uint32_t{in[i]} << 16) | (uint32_t{in[i + 1]} << 8) | in[i + 2];
    std::memcpy(o, &kPairs[group >> 12], 2);
    std::memcpy(o + 2, &kPairs[group & 0xFFF], 2);
  }
  const size_t rest = n - i;
  if (rest) {
    const uint32_t b1 = in[i];
    const uint32_t b2 = rest == 2 ? in[i + 1] : 0;
    o[0] = kAlphabet[b1 >> 2];
    o[1] = kAlphabet[((b1 & 3) << 4) | (b2 >> 4)];
    o[2] = rest == 2 ? kAlphabet[(b2 & 15) << 2] : '=';
    o[3] = '=';
  }
  return out;
}

Text UrlEncode(std::string_view text, bool keepSafe, bool toUtf8) {
  text = AsText(text);
  ByteBuffer converted;
  std::string_view bytes = text;
  if (toUtf8 && !IsAscii(text)) {
    converted = AnsiToUtf8(text);
    bytes = converted.view();
  }
  // Per byte: its output (one character, or "%XX") and the length of that output.
  struct Table {
    char out[256][4];
    uint8_t length[256];
  };
  static const auto kTables = [] {
    static constexpr char kHex[] = "0123456789ABCDEF";
    auto tables = std::make_unique<std::array<Table, 2>>();
    for (unsigned keep = 0; keep < 2; ++keep) {
      Table& t = (*tables)[keep];
      for (unsigned b = 0; b < 256; ++b) {
        const bool safe = b != 0 && ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') ||
                                     (b >= '0' && b <= '9') || std::strchr("-._'()*", int(b)));
        if (keep && safe) {
          t.out[b][0] = static_cast<char>(b), t.length[b] = 1;
        } else if (b == ' ') {
          t.out[b][0] = '+', t.length[b] = 1;
        } else {
          t.out[b][0] = '%', t.out[b][1] = kHex[b >> 4], t.out[b][2] = kHex[b & 15];
          t.length[b] = 3;
        }
      }
    }
    return tables;
  }();
  const Table& t = (*kTables)[keepSafe ? 1 : 0];
  const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  // One counting pass for the exact size, then one writing pass. Every output is written as a
  // 4-byte word and the pointer advances by its length, so the buffer keeps 3 spare bytes.
  size_t length = 0;
  size_t i = 0;
#if defined(__SSE2__)
  if (keepSafe) {
    for (; i + 16 <= n; i += 16) {
      const unsigned escaped = ~SafeMask16(in + i) & ~SpaceMask16(in + i) & 0xFFFF;
      length += 16 + 2 * static_cast<size_t>(__builtin_popcount(escaped));
    }
  }
#endif
  for (; i < n; ++i) length += t.length[in[i]];
  Text out(length + 3, '\0');
  char* o = out.data();
  i = 0;
#if defined(__SSE2__)
  if (keepSafe) {
    // Sixteen bytes at a time; a block with something to escape goes byte by byte.
    for (; i + 16 <= n; i += 16) {
      if (SafeMask16(in + i) == 0xFFFF) {
        std::memcpy(o, in + i, 16);
        o += 16;
        continue;
      }
      for (size_t k = i; k < i + 16; ++k) {
        std::memcpy(o, t.out[in[k]], 4);
        o += t.length[in[k]];
      }
    }
  }
#endif
  for (; i < n; ++i) {
    std::memcpy(o, t.out[in[i]], 4);
    o += t.length[in[i]];
  }
  out.resize(length);
  return out;
}

Text UrlDecode(std::string_view text, bool fromUtf8) {
  text = AsText(text);
  if (text.empty()) return {};
  auto hexValue = [](unsigned char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  ByteBuffer out;
  out.reserve(text.size());
  const size_t n = text.size();
  for (size_t i = 0; i < n;) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '%' && i + 1 < n && hexValue(static_cast<unsigned char>(text[i + 1])) >= 0) {
      int value = hexValue(static_cast<unsigned char>(text[i + 1]));
      if (i + 2 < n) {
        const int low = hexValue(static_cast<unsigned char>(text[i + 2]));
        if (low >= 0) value = value * 16 + low;
      }
      out.push_back(static_cast<char>(value));
      i += 3;  // the "%" and the two bytes after it, whatever the second one was
    } else {
      out.push_back(c == '+' ? ' ' : static_cast<char>(c));
      ++i;
    }
  }
  if (fromUtf8) return Utf8ToAnsi(out.view());
  return Text(AsText(out));
}

ByteBuffer CodePageToUtf16(std::string_view bytes, unsigned codePage) {
  bytes = AsText(bytes);
  if (bytes.empty()) return {};
  if (AsciiCompatible(codePage) && IsAscii(bytes)) {
    ByteBuffer out(bytes.size() * 2 + 2, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) out[2 * i] = bytes[i];
    return out;
  }
  return UnitsToBytes(codepage::ToUtf16(bytes, codePage));
}

ByteBuffer Utf16ToCodePage(std::string_view utf16le, unsigned codePage) {
  const std::u16string units = BytesToUnits(utf16le);
  if (units.empty()) return {};
  if (AsciiCompatible(codePage)) {
    bool ascii = true;
    for (char16_t u : units) ascii &= u < 0x80;
    if (ascii) return ByteBuffer(units.begin(), units.end());
  }
  return ByteBuffer(AsText(codepage::FromUtf16(units, codePage)));
}

ByteBuffer AnsiToUtf16(std::string_view text) { return CodePageToUtf16(text, codepage::kGbk); }

Text Utf16ToText(std::string_view utf16le, unsigned codePage, bool useCodePage) {
  // The conversion ends at a zero character, so its bytes are text as they stand.
  return Utf16ToCodePage(utf16le, useCodePage ? codePage : codepage::SystemAnsiCodePage())
      .TakeString();
}

Text Utf16ToAnsi(std::string_view utf16le) { return Utf16ToText(utf16le, codepage::kGbk, true); }

ByteBuffer AnsiToUtf8(std::string_view text) {
  // The same as Utf16ToCodePage(AnsiToUtf16(text), 65001), without the byte-buffer round trip.
  text = AsText(text);
  if (IsAscii(text)) return ByteBuffer(text);
  return ByteBuffer(
      AsText(codepage::FromUtf16(codepage::ToUtf16(text, codepage::kGbk), codepage::kUtf8)));
}

Text Utf8ToAnsi(std::string_view bytes) {
  // The same as Utf16ToAnsi(CodePageToUtf16(bytes, 65001)), without the round trip through a
  // UTF-16LE byte buffer.
  bytes = AsText(bytes);
  if (IsAscii(bytes)) return Text(bytes);
  return Text(
      AsText(codepage::FromUtf16(codepage::ToUtf16(bytes, codepage::kUtf8), codepage::kGbk)));
}

std::u16string TextToUtf16(std::string_view text) {
  text = AsText(text);
  if (text.empty()) return {};
  return codepage::ToUtf16(text, codepage::kGbk);
}

Text Utf16ToGbk(std::u16string_view units) {
  const auto zero = units.find(u'\0');
  if (zero != std::u16string_view::npos) units = units.substr(0, zero);
  if (units.empty()) return {};
  return Text(AsText(codepage::FromUtf16(units, codepage::kGbk)));
}

}  // namespace lumenta
