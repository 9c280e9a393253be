#include "http/response_decoding.h"

#include "base/pending_events.h"
#include "base/regex/regex_object.h"
#include "http/charset_conversion.h"

namespace lumenta {
namespace {

// The tag must stand on one line ("." stops at line breaks); one character that is not a word
// character (a quote, usually) may stand between "charset=" and the name.
constexpr std::string_view kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";
constexpr size_t kDetectionWindow = 1024;

}  // namespace

Text DecodeResponseText(std::string_view body) {
  Text result(AsText(body));
  RegexObject detector;
  if (detector.Create(kCharsetPattern, std::string_view(result).substr(0, kDetectionWindow))) {
    const Text name = detector.GetSubMatch(1, 1);
    if (!name.empty() && name != "gbk" && name != "gb2312") {
      result = charset::ConvertToGbk(body, name);
    }
    ProcessPendingEvents();
  }
  return result;
}

}  // namespace lumenta
