#pragma once
// Splits one fuzz input into several byte strings: parts are separated by the byte 0xFF 0x00,
// which the encoders never need to see inside a part.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace lumenta::fuzz {

inline std::vector<std::string> SplitInput(const uint8_t* data, size_t size, size_t parts) {
  std::vector<std::string> out(parts);
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  for (size_t i = 0; i < parts; ++i) {
    const size_t cut =
        i + 1 < parts ? rest.find(std::string_view("\xFF\0", 2)) : std::string_view::npos;
    out[i] = std::string(rest.substr(0, cut));
    rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 2);
  }
  return out;
}

// A property the code must keep; breaking it is a finding, like a crash.
inline void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace lumenta::fuzz
