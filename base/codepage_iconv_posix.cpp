// Code-page conversion of the native build. GBK goes through tables built once from glibc's
// iconv "CP936" and completed with the Windows rules iconv lacks (0x80 is the euro sign, 0xFF
// is U+F8F5, a lead byte always takes the next byte with it and an unknown pair reads "?").
// UTF-8 is decoded and encoded here directly, as Windows does: an ill-formed sequence gives one
// U+FFFD per maximal ill-formed part, a lone surrogate is written as U+FFFD. Other code pages
// go straight through iconv.
#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <string>

#include "base/codepage.h"

namespace lumenta::codepage {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

class Iconv {
 public:
  Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(handle_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;
  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return handle_; }

 private:
  iconv_t handle_;
};

struct GbkTables {
  std::array<char16_t, 65536> decode{};  // (lead << 8 | trail) -> unit, 0 when unmapped
  std::array<uint16_t, 65536> encode{};  // unit -> GBK code (one or two bytes), 0 when unmapped
};

const GbkTables& Gbk() {
  static const std::unique_ptr<GbkTables> tables = [] {
    auto t = std::make_unique<GbkTables>();
    Iconv cd("UTF-16LE", "CP936");
    for (unsigned lead = 0x81; lead <= 0xFE && cd.ok(); ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
        if (trail == 0x7F) continue;
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        unsigned char out[8];
        char* ip = in;
        char* op = reinterpret_cast<char*>(out);
        size_t il = 2, ol = sizeof out;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd.get(), &ip, &il, &op, &ol) == static_cast<size_t>(-1)) continue;
        if (sizeof out - ol != 2) continue;  // not a single BMP character
        const char16_t u = static_cast<char16_t>(out[0] | (out[1] << 8));
        t->decode[(lead << 8) | trail] = u;
        if (t->encode[u] == 0) t->encode[u] = static_cast<uint16_t>((lead << 8) | trail);
      }
    }
    for (unsigned b = 1; b < 0x80; ++b) t->encode[b] = static_cast<uint16_t>(b);
    t->encode[0x20AC] = 0x80;
    t->encode[0xF8F5] = 0xFF;
    return t;
  }();
  return *tables;
}

std::u16string GbkToUtf16(std::string_view bytes) {
  const GbkTables& t = Gbk();
  std::u16string out;
  out.reserve(bytes.size());
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  for (size_t i = 0; i < n;) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      out.push_back(c);
      ++i;
    } else if (c == 0x80) {
      out.push_back(0x20AC);
      ++i;
    } else if (c == 0xFF) {
      out.push_back(0xF8F5);
      ++i;
    } else if (i + 1 < n) {
      const char16_t u = t.decode[(c << 8) | p[i + 1]];
      out.push_back(u ? u : u'?');
      i += 2;
    } else {
      out.push_back(u'?');
      ++i;
    }
  }
  return out;
}

std::string Utf16ToGbk(std::u16string_view units) {
  const GbkTables& t = Gbk();
  std::string out;
  out.reserve(units.size() * 2);
  for (char16_t u : units) {
    const uint16_t code = t.encode[u];
    if (code == 0) {
      out.push_back('?');
    } else if (code < 0x100) {
      out.push_back(static_cast<char>(code));
    } else {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      out.push_back(c);
      ++i;
      continue;
    }
    int need;
    uint32_t cp;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      need = 1, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      need = 2, cp = c & 0x0F;
      if (c == 0xE0) lo = 0xA0;
      if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      need = 3, cp = c & 0x07;
      if (c == 0xF0) lo = 0x90;
      if (c == 0xF4) hi = 0x8F;
    } else {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < need; ++k, ++j) {
      const unsigned char b = j < n ? p[j] : 0;
      const unsigned char min = k == 0 ? lo : 0x80, max = k == 0 ? hi : 0xBF;
      if (j >= n || b < min || b > max) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (b & 0x3F);
    }
    if (!ok) {
      out.push_back(kReplacement);
      i = j;  // the maximal ill-formed part: the lead and the valid continuation bytes seen
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i = j;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string out;
  out.reserve(units.size() * 3);
  const size_t n = units.size();
  for (size_t i = 0; i < n; ++i) {
    uint32_t cp = units[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

// The iconv name of a Windows code page number, or empty when there is none.
std::string IconvName(unsigned codePage) {
  switch (codePage) {
    case 1200:
      return "UTF-16LE";
    case 1201:
      return "UTF-16BE";
    case 20866:
      return "KOI8-R";
    case 21866:
      return "KOI8-U";
    case 20932:
    case 51932:
      return "EUC-JP";
    case 51949:
      return "EUC-KR";
    case 54936:
      return "GB18030";
    case 50220:
      return "ISO-2022-JP";
    default:
      break;
  }
  if (codePage >= 28591 && codePage <= 28606) return "ISO-8859-" + std::to_string(codePage - 28590);
  return "CP" + std::to_string(codePage);
}

// Generic iconv path: an unconvertible input unit becomes the replacement and is skipped.
// Some converters hold a character back (CP1255 and CP1258 wait for a combining mark after a
// letter): they are flushed before a reset and at the end, so nothing is lost.
std::string Convert(const char* to, const char* from, std::string_view in, size_t unit,
                    std::string_view replacement) {
  Iconv cd(to, from);
  if (!cd.ok()) return {};
  std::string out;
  char buffer[4096];
  auto flush = [&] {
    char* op = buffer;
    size_t ol = sizeof buffer;
    iconv(cd.get(), nullptr, nullptr, &op, &ol);
    out.append(buffer, static_cast<size_t>(op - buffer));
  };
  char* ip = const_cast<char*>(in.data());
  size_t il = in.size();
  while (il > 0) {
    char* op = buffer;
    size_t ol = sizeof buffer;
    const size_t r = iconv(cd.get(), &ip, &il, &op, &ol);
    out.append(buffer, static_cast<size_t>(op - buffer));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      flush();
      out.append(replacement);
      const size_t skip = il < unit ? il : unit;
      ip += skip;
      il -= skip;
      iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
  }
  flush();
  return out;
}

}  // namespace

std::u16string ToUtf16(std::string_view bytes, unsigned codePage) {
  if (codePage == kGbk) return GbkToUtf16(bytes);
  if (codePage == kUtf8) return Utf8ToUtf16(bytes);
  const std::string name = IconvName(codePage);
  const std::string le = Convert("UTF-16LE", name.c_str(), bytes, 1, std::string("?\0", 2));
  std::u16string out(le.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i) {
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(le[2 * i]) |
                                   (static_cast<unsigned char>(le[2 * i + 1]) << 8));
  }
  return out;
}

std::string FromUtf16(std::u16string_view units, unsigned codePage) {
  if (codePage == kGbk) return Utf16ToGbk(units);
  if (codePage == kUtf8) return Utf16ToUtf8(units);
  std::string le(units.size() * 2, '\0');
  for (size_t i = 0; i < units.size(); ++i) {
    le[2 * i] = static_cast<char>(units[i] & 0xFF);
    le[2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  const std::string name = IconvName(codePage);
  return Convert(name.c_str(), "UTF-16LE", le, 2, "?");
}

unsigned SystemAnsiCodePage() { return kGbk; }

}  // namespace lumenta::codepage
