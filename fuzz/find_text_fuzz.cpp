#include "base/text_encoders.h"
#include "fuzz/fuzz_input.h"

using namespace lumenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int start = static_cast<signed char>(data[0]);
  const bool ignoreCase = data[1] & 1;
  auto parts = fuzz::SplitInput(data + 2, size - 2, 2);
  const std::string_view text = AsText(parts[0]);
  const std::string_view sought = AsText(parts[1]);
  const int p = FindText(text, sought, start, ignoreCase);
  if (p == -1) return 0;
  // A hit lies inside the text, at or after the start, and begins on a character boundary.
  fuzz::Require(p >= 1 && p >= start && static_cast<size_t>(p - 1) + sought.size() <= text.size());
  size_t i = start <= 1 ? 0 : static_cast<size_t>(start - 1);
  while (i < static_cast<size_t>(p - 1)) i += static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1;
  fuzz::Require(i == static_cast<size_t>(p - 1));
  if (!ignoreCase) fuzz::Require(text.substr(p - 1, sought.size()) == sought);
  return 0;
}
