#include "ocr/service_error.h"

#include "base/json_escapes.h"
#include "base/text_encoders.h"

namespace lumenta {
namespace {

// The value of a JSON member `name` (a number or a string) found by its marker; nothing when the
// member is not there.
std::optional<Text> MemberValue(std::string_view json, std::string_view name) {
  Text marker;
  marker.reserve(name.size() + 2);
  marker.push_back('"');
  marker.append(name);
  marker.push_back('"');
  int at = FindText(json, marker);
  if (at < 0) return std::nullopt;
  size_t i = static_cast<size_t>(at - 1) + marker.size();
  while (i < json.size() &&
         (json[i] == ' ' || json[i] == '\t' || json[i] == '\r' || json[i] == '\n')) {
    ++i;
  }
  if (i >= json.size() || json[i] != ':') return std::nullopt;
  ++i;
  while (i < json.size() &&
         (json[i] == ' ' || json[i] == '\t' || json[i] == '\r' || json[i] == '\n')) {
    ++i;
  }
  if (i < json.size() && json[i] == '"') {
    // A string: up to the next quote that no backslash escapes; double-byte characters whole.
    size_t end = i + 1;
    while (end < json.size() && json[end] != '"') {
      if (static_cast<unsigned char>(json[end]) >= 0x80 || json[end] == '\\') ++end;
      ++end;
    }
    if (end >= json.size()) return std::nullopt;
    return DecodeJsonEscapes(json.substr(i + 1, end - i - 1));
  }
  size_t end = i;
  while (end < json.size() && json[end] != ',' && json[end] != '}' && json[end] != ' ') ++end;
  if (end == i) return std::nullopt;
  return Text(json.substr(i, end - i));
}

}  // namespace

std::optional<ServiceError> FindServiceError(std::string_view answer) {
  answer = AsText(answer);
  if (auto code = MemberValue(answer, "error_code")) {
    return ServiceError{*code, MemberValue(answer, "error_msg").value_or(Text())};
  }
  if (auto code = MemberValue(answer, "error")) {
    return ServiceError{*code, MemberValue(answer, "error_description").value_or(Text())};
  }
  return std::nullopt;
}

}  // namespace lumenta
