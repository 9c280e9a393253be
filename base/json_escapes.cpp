#include "base/json_escapes.h"

#include "base/text_encoders.h"

namespace lumenta {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The code unit of "\uXXXX" at `at`, or -1.
int UnicodeEscape(std::string_view text, size_t at) {
  if (at + 6 > text.size() || text[at] != '\\' || text[at + 1] != 'u') return -1;
  int unit = 0;
  for (size_t k = at + 2; k < at + 6; ++k) {
    const int digit = HexDigit(text[k]);
    if (digit < 0) return -1;
    unit = unit * 16 + digit;
  }
  return unit;
}

bool IsHighSurrogate(int unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(int unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

Text DecodeJsonEscapes(std::string_view text) {
  text = AsText(text);
  Text out;
  out.reserve(text.size());
  std::u16string units;  // a run of \u escapes, converted together
  auto flushUnits = [&] {
    if (units.empty()) return;
    out += Utf16ToGbk(units);
    units.clear();
  };
  size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      flushUnits();
      out.append(text.substr(i, i + 1 < text.size() ? 2 : 1));
      i += 2;
      continue;
    }
    if (c != '\\' || i + 1 >= text.size()) {
      flushUnits();
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    const char next = text[i + 1];
    if (next == 'u') {
      const int unit = UnicodeEscape(text, i);
      if (unit >= 0) {
        i += 6;
        if (IsHighSurrogate(unit)) {
          const int low = UnicodeEscape(text, i);
          if (IsLowSurrogate(low)) {
            // One character beyond the BMP, which GBK cannot hold: the default character,
            // once (code-page converters differ in how many they give for a pair).
            flushUnits();
            out.push_back('?');
            i += 6;
          } else {
            flushUnits();
            out.push_back('?');
          }
        } else if (IsLowSurrogate(unit)) {
          flushUnits();
          out.push_back('?');
        } else if (unit != 0) {
          units.push_back(static_cast<char16_t>(unit));
        }
        continue;
      }
    }
    char decoded = 0;
    switch (next) {
      case '"':
        decoded = '"';
        break;
      case '\\':
        decoded = '\\';
        break;
      case '/':
        decoded = '/';
        break;
      case 'b':
        decoded = '\b';
        break;
      case 'f':
        decoded = '\f';
        break;
      case 'n':
        decoded = '\n';
        break;
      case 'r':
        decoded = '\r';
        break;
      case 't':
        decoded = '\t';
        break;
      default:
        break;
    }
    flushUnits();
    if (decoded) {
      out.push_back(decoded);
      i += 2;
    } else {
      out.push_back('\\');
      ++i;
    }
  }
  flushUnits();
  return out;
}

}  // namespace lumenta
