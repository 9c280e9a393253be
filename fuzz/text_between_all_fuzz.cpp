#include "base/text_encoders.h"
#include "fuzz/fuzz_input.h"

using namespace lumenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const int start = static_cast<signed char>(data[0]);
  const int limit = data[1] & 0x7F;
  const uint8_t flags = data[2];
  auto parts = fuzz::SplitInput(data + 3, size - 3, 5);
  std::vector<Text> list;
  const int count = TextBetweenAll(parts[0], parts[1], parts[2], list, flags & 1, limit, parts[3],
                                   parts[4], flags & 2, flags & 4, start);
  fuzz::Require(count == static_cast<int>(list.size()));
  for (const auto& item : list) fuzz::Require(limit == 0 || static_cast<int>(item.size()) < limit);
  return 0;
}
