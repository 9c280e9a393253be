#include "http/text_pieces.h"

#include "base/text_encoders.h"

namespace lumenta {
namespace {

// Bytes taken by the character that starts at `i`: two for a lead byte with a byte after it.
inline size_t CharLength(std::string_view text, size_t i) {
  return static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size() ? 2 : 1;
}

// 0-based index of the first occurrence of `sought` that starts on a character at or after the
// character start `from`, or npos. Both are already cut at their first zero byte, and the text is
// not scanned for one again: SplitList searches once per item, and a scan of the whole text each
// time made splitting quadratic (10,000 header lines took seconds).
size_t FindFrom(std::string_view text, std::string_view sought, size_t from, bool ignoreCase) {
  if (from > text.size()) return std::string_view::npos;
  const int p = FindInText(text, sought, static_cast<int>(from) + 1, ignoreCase);
  return p == -1 ? std::string_view::npos : static_cast<size_t>(p) - 1;
}

}  // namespace

Text TrimBlanks(std::string_view text) {
  text = AsText(text);
  size_t first = text.size();  // start of the first character that is not a blank
  size_t end = 0;              // end of the last one
  for (size_t i = 0; i < text.size();) {
    const size_t length = CharLength(text, i);
    const bool blank = text[i] == ' ' || (length == 2 && text.substr(i, 2) == "\xA1\xA1");
    if (!blank) {
      if (first == text.size()) first = i;
      end = i + length;
    }
    i += length;
  }
  if (first >= end) return {};
  return Text(text.substr(first, end - first));
}

std::vector<Text> SplitList(std::string_view text, std::string_view separator) {
  text = AsText(text);
  separator = AsText(separator);
  std::vector<Text> items;
  if (text.empty()) return items;
  if (separator.empty()) {
    items.emplace_back(text);
    return items;
  }
  size_t from = 0;
  for (;;) {
    const size_t hit = FindFrom(text, separator, from, false);
    if (hit == std::string_view::npos) break;
    items.emplace_back(text.substr(from, hit - from));
    from = hit + separator.size();
  }
  if (from < text.size()) items.emplace_back(text.substr(from));
  return items;
}

bool Contains(std::string_view text, std::string_view sought, bool ignoreCase) {
  return FindText(text, sought, 1, ignoreCase) != -1;
}

bool StartsWith(std::string_view text, std::string_view prefix, bool ignoreCase) {
  text = AsText(text);
  prefix = AsText(prefix);
  if (prefix.size() > text.size()) return false;
  return FindText(text.substr(0, prefix.size()), prefix, 1, ignoreCase) == 1;
}

Text TextAfterLast(std::string_view text, std::string_view separator) {
  text = AsText(text);
  separator = AsText(separator);
  size_t last = std::string_view::npos;
  for (size_t from = 0;;) {
    const size_t hit = FindFrom(text, separator, from, false);
    if (hit == std::string_view::npos) break;
    last = hit;
    if (hit >= text.size()) break;
    from = hit + CharLength(text, hit);  // overlapping occurrences count too
  }
  if (last == std::string_view::npos) return {};
  return Text(text.substr(last + separator.size()));
}

Text TextBefore(std::string_view text, std::string_view separator) {
  text = AsText(text);
  const size_t hit = FindFrom(text, AsText(separator), 0, false);
  if (hit == std::string_view::npos) return {};
  return Text(text.substr(0, hit));
}

Text ReplaceAll(std::string_view text, std::string_view sought, std::string_view with,
                bool ignoreCase) {
  text = AsText(text);
  sought = AsText(sought);
  if (sought.empty()) return Text(text);
  Text out;
  out.reserve(text.size());
  size_t from = 0;
  for (;;) {
    const size_t hit = FindFrom(text, sought, from, ignoreCase);
    if (hit == std::string_view::npos) break;
    out.append(text.substr(from, hit - from));
    out.append(AsText(with));
    from = hit + sought.size();
  }
  out.append(text.substr(from));
  return out;
}

}  // namespace lumenta
