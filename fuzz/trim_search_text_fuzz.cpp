#include "app/search_text.h"
#include "fuzz/fuzz_input.h"

using namespace lumenta;
using namespace lumenta::app;

namespace {

// The character boundaries of a text: a byte of 0x80 or above starts a two-byte character.
std::vector<size_t> Boundaries(std::string_view text) {
  std::vector<size_t> at;
  for (size_t i = 0; i < text.size();) {
    at.push_back(i);
    i += static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size() ? 2 : 1;
  }
  at.push_back(text.size());
  return at;
}

bool OnlyBlanks(std::string_view text) {
  const std::vector<size_t> at = Boundaries(text);
  for (size_t i = 0; i + 1 < at.size(); ++i) {
    const std::string_view c = text.substr(at[i], at[i + 1] - at[i]);
    if (c != " " && c != "\xA1\xA1") return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = AsText(std::string_view(reinterpret_cast<const char*>(data), size));
  const Text trimmed = TrimSearchText(text);
  if (trimmed.empty()) {
    fuzz::Require(OnlyBlanks(text));
    return 0;
  }
  // The result is the text without a run of blank characters at each end: it starts on a
  // character boundary, what was cut off is blank, and trimming again changes nothing.
  const std::vector<size_t> at = Boundaries(text);
  size_t start = std::string_view::npos;
  for (size_t boundary : at) {
    if (text.substr(boundary, trimmed.size()) == trimmed && OnlyBlanks(text.substr(0, boundary)) &&
        OnlyBlanks(text.substr(boundary + trimmed.size()))) {
      start = boundary;
      break;
    }
  }
  fuzz::Require(start != std::string_view::npos);
  fuzz::Require(TrimSearchText(trimmed) == trimmed);
  return 0;
}
