#include "base/regex/regex_replacement.h"

namespace lumenta::regex {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void AppendReplacement(std::string& out, std::string_view replacement, std::string_view subject,
                       const int32_t* slots, int groupCount) {
  const size_t start = static_cast<size_t>(slots[0]);
  const size_t end = static_cast<size_t>(slots[1]);
  auto group = [&](int k) {
    const int32_t from = slots[2 * k], to = slots[2 * k + 1];
    if (from >= 0 && to >= from) out.append(subject.substr(from, to - from));
  };
  // "$" is ASCII and never the second byte of a GBK character, and neither are the bytes that
  // may follow it here, so the replacement can be read byte by byte.
  const size_t n = replacement.size();
  size_t i = 0;
  while (i < n) {
    const size_t dollar = replacement.find('$', i);
    if (dollar == std::string_view::npos) {
      out.append(replacement.substr(i));
      break;
    }
    out.append(replacement.substr(i, dollar - i));
    i = dollar + 1;
    if (i >= n) {
      out.push_back('$');
      break;
    }
    const char c = replacement[i];
    if (c == '$') {
      out.push_back('$');
      ++i;
    } else if (c == '&') {
      out.append(subject.substr(start, end - start));
      ++i;
    } else if (c == '`') {
      out.append(subject.substr(0, start));
      ++i;
    } else if (c == '\'') {
      out.append(subject.substr(end));
      ++i;
    } else if (IsDigit(c)) {
      int number = c - '0';
      size_t digits = 1;
      if (i + 1 < n && IsDigit(replacement[i + 1])) {
        const int two = number * 10 + (replacement[i + 1] - '0');
        if (two >= 1 && two <= groupCount) {
          number = two;
          digits = 2;
        }
      }
      if (number >= 1 && number <= groupCount) {
        group(number);
      } else {
        out.push_back('$');
        out.append(replacement.substr(i, digits));
      }
      i += digits;
    } else {
      out.push_back('$');
    }
  }
}

}  // namespace lumenta::regex
