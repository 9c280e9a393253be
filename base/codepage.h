#pragma once
// The one seam between the text helpers and the platform's code-page tables:
// MultiByteToWideChar / WideCharToMultiByte in the Windows builds, iconv-built tables in the
// native build. Both sides follow the platform's rules for bytes that are not valid in the code
// page: they are replaced, never reported.
#include <string>
#include <string_view>

namespace lumenta::codepage {

inline constexpr unsigned kGbk = 936;
inline constexpr unsigned kUtf8 = 65001;

// Bytes in `codePage` to UTF-16 code units. The input holds no zero byte.
std::u16string ToUtf16(std::string_view bytes, unsigned codePage);

// UTF-16 code units to bytes in `codePage`; a character the code page cannot hold becomes the
// code page's default character ("?"). The input holds no zero unit.
std::string FromUtf16(std::u16string_view units, unsigned codePage);

// The code page the system uses for ANSI text (GetACP on Windows; GBK in the native build).
unsigned SystemAnsiCodePage();

}  // namespace lumenta::codepage
