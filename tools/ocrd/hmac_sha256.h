#pragma once
// HMAC-SHA-256 (RFC 2104 over FIPS 180-4's SHA-256), for the MACs of the service's tokens, and a
// comparison whose time does not depend on where two MACs differ. The service's own, so that it
// builds where no cryptography library is at hand (the Windows service); checked against the
// test vectors of RFC 4231.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lumenta::ocrd {

using Sha256Digest = std::array<std::uint8_t, 32>;

[[nodiscard]] Sha256Digest Sha256(std::string_view bytes);
[[nodiscard]] Sha256Digest HmacSha256(std::string_view key, std::string_view message);

// True when the two byte strings are equal; for equal lengths it reads every byte whatever the
// contents, so the time taken says nothing about how much of a guessed MAC was right.
[[nodiscard]] bool ConstantTimeEqual(std::string_view a, std::string_view b);

}  // namespace lumenta::ocrd
