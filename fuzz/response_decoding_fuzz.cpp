// DecodeResponseText and the charset converters on arbitrary bodies: no crash, no zero byte in
// a text, a body without a meta tag comes back as its raw text, and TakeResponseText gives the
// same text as DecodeResponseText.
#include <algorithm>
#include <cctype>
#include <string>

#include "fuzz/fuzz_input.h"
#include "http/charset_conversion.h"
#include "http/response_decoding.h"

using namespace lumenta;

namespace {
const char* const kNames[] = {
    "utf-8",  "gb18030",    "GBK",         "big5",        "shift_jis",   "euc-jp",
    "euc-kr", "iso-8859-1", "iso-8859-10", "iso-8859-14", "iso-8859-11", "windows-1258",
    "koi8-u", "utf-16le",   "utf-16be",    "utf-16",      "x-unknown",   "windows-1255"};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string body(reinterpret_cast<const char*>(data), size);
  const Text text = DecodeResponseText(body);
  fuzz::Require(text.find('\0') == Text::npos);
  std::string head(AsText(body).substr(0, 1024));
  std::transform(head.begin(), head.end(), head.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (head.find("<meta") == std::string::npos) fuzz::Require(text == AsText(body));
  fuzz::Require(TakeResponseText(ByteBuffer(body)) == text);

  if (size > 0) {
    const char* name = kNames[data[0] % (sizeof kNames / sizeof kNames[0])];
    const Text converted = charset::ConvertToGbk(body.substr(1), name);
    fuzz::Require(converted.find('\0') == Text::npos);
  }
  return 0;
}
