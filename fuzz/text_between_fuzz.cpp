#include "base/text_encoders.h"
#include "fuzz/fuzz_input.h"

using namespace lumenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int start = static_cast<signed char>(data[0]);
  const bool ignoreCase = data[1] & 1;
  auto parts = fuzz::SplitInput(data + 2, size - 2, 3);
  const Text between = TextBetween(parts[0], parts[1], parts[2], start, ignoreCase);
  // Whatever comes back is a piece of the text.
  fuzz::Require(between.empty() || AsText(parts[0]).find(between) != std::string_view::npos);
  return 0;
}
