#include "base/text_encoders.h"
#include "fuzz/fuzz_input.h"

using namespace lumenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  for (bool utf8 : {false, true}) {
    const Text decoded = UrlDecode(input, utf8);
    fuzz::Require(decoded.find('\0') == Text::npos);  // a text never holds a zero byte
    if (!utf8) fuzz::Require(decoded.size() <= AsText(input).size());
  }
  // Encoding then decoding gives the text back (the safe set either way).
  const Text text(AsText(input));
  fuzz::Require(UrlDecode(UrlEncode(text, true)) == text);
  fuzz::Require(UrlDecode(UrlEncode(text, false)) == text);
  return 0;
}
