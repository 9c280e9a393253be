#include "http/charset_conversion.h"

#include <string>

#include "base/codepage.h"
#include "base/text_encoders.h"
#include "http/charset_names.h"
#include "http/gb18030.h"
#include "http/iso8859_tables.h"

namespace lumenta::charset {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

std::u16string Utf16ToUnits(std::string_view bytes, bool bigEndian) {
  std::u16string units;
  units.reserve(bytes.size() / 2 + 1);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  size_t i = 0;
  for (; i + 1 < n; i += 2) {
    const char16_t u = bigEndian ? static_cast<char16_t>((p[i] << 8) | p[i + 1])
                                 : static_cast<char16_t>(p[i] | (p[i + 1] << 8));
    if (u == 0) return units;
    units.push_back(u);
  }
  if (i < n) units.push_back(kReplacement);  // half a unit at the end
  return units;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

std::u16string Decode(std::string_view body, const Charset& charset) {
  switch (charset.decoder) {
    case Decoder::kCodePage: {
      // In every byte-based set a zero byte is the zero character, where the text ends.
      std::string_view bytes = AsText(body);
      if (charset.codePage == codepage::kUtf8 && StartsWith(bytes, "\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
      }
      if (bytes.empty()) return {};
      return codepage::ToUtf16(bytes, charset.codePage);
    }
    case Decoder::kUtf16Le:
      if (StartsWith(body, "\xFF\xFE")) body.remove_prefix(2);
      return Utf16ToUnits(body, false);
    case Decoder::kUtf16Be:
      if (StartsWith(body, "\xFE\xFF")) body.remove_prefix(2);
      return Utf16ToUnits(body, true);
    case Decoder::kUtf16:
      if (StartsWith(body, "\xFE\xFF")) return Utf16ToUnits(body.substr(2), true);
      if (StartsWith(body, "\xFF\xFE")) body.remove_prefix(2);
      return Utf16ToUnits(body, false);
    case Decoder::kGb18030:
      return Gb18030ToUtf16(body);
    case Decoder::kIso8859_10:
      return Iso8859ToUtf16(body, 10);
    case Decoder::kIso8859_14:
      return Iso8859ToUtf16(body, 14);
  }
  return {};
}

}  // namespace

Text ConvertToGbk(std::string_view body, std::string_view name) {
  const std::optional<Charset> charset = FindCharset(name);
  if (!charset) return {};
  return Utf16ToGbk(Decode(body, *charset));
}

}  // namespace lumenta::charset
