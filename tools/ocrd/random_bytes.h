#pragma once
// Bytes from the system's cryptographic random source (getrandom on Linux, the system's
// preferred generator on Windows), for token secrets.
#include <cstddef>

namespace lumenta::ocrd {

// False when the system gave none: without randomness tokens could be forged.
[[nodiscard]] bool FillRandomBytes(unsigned char* bytes, std::size_t count);

}  // namespace lumenta::ocrd
