#pragma once
// The two string kinds the whole program passes around.
//
// Text: GBK (code page 936) bytes that never hold a zero byte; a step that turns bytes into
// text ends the text at the first zero byte. Positions in texts are 1-based byte positions and
// a character whose first byte is 0x80 or above takes two of them.
//
// ByteBuffer (base/byte_buffer.h): raw bytes, a type of its own.
#include <memory>
#include <string>
#include <string_view>

#include "base/byte_buffer.h"

namespace lumenta {

using Text = std::string;
// Bytes that several holders read and none changes: handed on without copying them.
using SharedBytes = std::shared_ptr<const ByteBuffer>;

// The text a byte string stands for: everything before its first zero byte.
inline std::string_view AsText(std::string_view bytes) {
  const auto zero = bytes.find('\0');
  return zero == std::string_view::npos ? bytes : bytes.substr(0, zero);
}
inline std::string_view AsText(const ByteBuffer& bytes) { return AsText(bytes.view()); }

}  // namespace lumenta
