#pragma once
// Character set names as web pages declare them, mapped to the way the program decodes them.
// The names and their aliases are those browsers accept (the WHATWG Encoding Standard's
// labels), compared without regard to case; where that standard reads a name as a larger set
// (ISO-8859-1 and ASCII as windows-1252, ISO-8859-9 as windows-1254, ISO-8859-11 as
// windows-874, EUC-KR as code page 949) the program does the same, since pages declaring the
// smaller set are written in the larger one in practice.
#include <optional>
#include <string_view>

namespace lumenta::charset {

enum class Decoder {
  kCodePage,  // the system's conversion for `codePage`
  kUtf16Le,
  kUtf16Be,
  kUtf16,  // little-endian unless a byte-order mark says otherwise
  kGb18030,
  kIso8859_10,
  kIso8859_14,
};

struct Charset {
  Decoder decoder;
  unsigned codePage;  // kCodePage only
};

[[nodiscard]] std::optional<Charset> FindCharset(std::string_view name);

}  // namespace lumenta::charset
