#pragma once
// DecodeResponseText: the last step of a web request, turning the response body into the
// request's result text.
#include <string_view>

#include "base/text.h"

namespace lumenta {

// The body's bytes up to its first zero byte, taken as GBK text, unless its first 1024 bytes
// hold an HTML meta tag naming another character set (the name is compared exactly with "gbk"
// and "gb2312", which are left alone): then the whole body converted from that set to GBK
// (charset_conversion.h), or empty text when the name is not known. The Content-Type header
// plays no part, so a UTF-8 JSON answer comes back as its raw bytes. Runs ProcessPendingEvents
// once after the search for the tag.
[[nodiscard]] Text DecodeResponseText(std::string_view body);

// The same text, made from the body's own buffer: when no conversion is needed the body becomes
// the text without a copy (cut at its first zero byte).
[[nodiscard]] Text TakeResponseText(ByteBuffer&& body);

}  // namespace lumenta
