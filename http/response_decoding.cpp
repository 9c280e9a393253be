#include "http/response_decoding.h"

#include <optional>
#include <utility>

#include "base/pending_events.h"
#include "base/regex/regex_object.h"
#include "http/charset_conversion.h"

namespace lumenta {
namespace {

// The tag must stand on one line ("." stops at line breaks); one character that is not a word
// character (a quote, usually) may stand between "charset=" and the name.
constexpr std::string_view kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";
constexpr size_t kDetectionWindow = 1024;

// The body converted to GBK when the meta tag at the start of its text names another
// character set; nothing when the body's text is GBK already. Runs ProcessPendingEvents once
// after the search for the tag.
std::optional<Text> ConvertedBody(std::string_view body, std::string_view text) {
  std::optional<Text> converted;
  RegexObject detector;
  if (detector.Create(kCharsetPattern, text.substr(0, kDetectionWindow))) {
    const Text name = detector.GetSubMatch(1, 1);
    if (!name.empty() && name != "gbk" && name != "gb2312") {
      converted = charset::ConvertToGbk(body, name);
    }
    ProcessPendingEvents();
  }
  return converted;
}

}  // namespace

Text DecodeResponseText(std::string_view body) {
  const std::string_view text = AsText(body);
  std::optional<Text> converted = ConvertedBody(body, text);
  return converted ? std::move(*converted) : Text(text);
}

Text TakeResponseText(ByteBuffer&& body) {
  const std::string_view text = AsText(body);
  std::optional<Text> converted = ConvertedBody(body.view(), text);
  if (converted) return std::move(*converted);
  // A text far shorter than its body does not keep the body's whole buffer.
  if (text.size() < body.size() / 2) return Text(text);
  body.resize(text.size());
  return std::move(body).TakeString();
}

}  // namespace lumenta
