#pragma once
// The recognition request's picture field in one step: UrlEncode(Base64Encode(bytes), true, true)
// written straight into the caller's buffer, without the Base64 text in between. For an 8 MiB
// picture that intermediate is 11 MB of fresh memory, and first touching fresh pages costs more
// than the encoding itself (under Wine every large block is mapped afresh when it is allocated).
//
// Base64 is ASCII without zero bytes, so the URL encoding keeps letters and digits and escapes
// only "+" (%2B), "/" (%2F) and the padding "=" (%3D).
#include <cstddef>
#include <string_view>

namespace lumenta {

// The length of UrlEncode(Base64Encode(bytes), true, true).
[[nodiscard]] size_t UrlEncodedBase64Length(std::string_view bytes);

// Writes UrlEncode(Base64Encode(bytes), true, true) at `out`, which has room for
// UrlEncodedBase64Length(bytes) bytes, and returns the end of what was written. The input may be
// cut into pieces encoded one after the other (the outputs and lengths add up) when every piece
// but the last holds a multiple of 3 bytes.
char* WriteUrlEncodedBase64(std::string_view bytes, char* out);

}  // namespace lumenta
