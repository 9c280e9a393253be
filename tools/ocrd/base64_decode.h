#pragma once
// Strict Base64 decoding of the picture field.
#include <string>
#include <string_view>

namespace lumenta::ocrd {

// Standard alphabet (RFC 4648 section 4) with "=" padding. Line breaks (CR, LF) are skipped, as
// some clients wrap their Base64; anything else outside the alphabet, a length that is not a
// multiple of four, or padding before the end makes it fail, so a truncated upload is noticed
// instead of being decoded into a shorter picture.
[[nodiscard]] bool DecodeBase64(std::string_view text, std::string& bytes);

}  // namespace lumenta::ocrd
