#include "tools/ocrd/form_body.h"

namespace lumenta::ocrd {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool PercentDecode(std::string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '+') {
      out.push_back(' ');
    } else if (c == '%') {
      const int high = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
      const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
      if (high < 0 || low < 0) return false;
      out.push_back(static_cast<char>(high * 16 + low));
      i += 2;
    } else {
      out.push_back(c);
    }
  }
  return true;
}

}  // namespace

FormField FindFormField(std::string_view body, std::string_view name, std::string& value) {
  std::size_t from = 0;
  while (from <= body.size()) {
    std::size_t end = body.find('&', from);
    if (end == std::string_view::npos) end = body.size();
    const std::string_view pair = body.substr(from, end - from);
    const std::size_t equals = pair.find('=');
    const std::string_view key = pair.substr(0, equals);
    if (key == name) {
      const std::string_view raw =
          equals == std::string_view::npos ? std::string_view{} : pair.substr(equals + 1);
      return PercentDecode(raw, value) ? FormField::kFound : FormField::kMalformed;
    }
    from = end + 1;
  }
  return FormField::kMissing;
}

}  // namespace lumenta::ocrd
