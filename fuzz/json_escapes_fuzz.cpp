// Decoding JSON string escapes in GBK text cut out of an answer.
#include "base/json_escapes.h"
#include "fuzz/fuzz_input.h"

using namespace lumenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const Text decoded = DecodeJsonEscapes(input);
  // Every escape is at least as long as what it stands for, and a text holds no zero byte.
  fuzz::Require(decoded.size() <= AsText(input).size());
  fuzz::Require(decoded.find('\0') == Text::npos);
  // Text without a backslash is left as it is.
  if (AsText(input).find('\\') == std::string_view::npos) fuzz::Require(decoded == AsText(input));
  return 0;
}
