#pragma once
// Wide strings for the system's W functions, from the program's texts (GBK), from UTF-8 and from
// UTF-16 code units. One place for the conversions, so that every caller treats characters the
// code page cannot hold the same way.
#include <string>
#include <string_view>

namespace lumenta::win {

// UTF-16 code units as the system's wchar_t string (the same units on Windows).
[[nodiscard]] inline std::wstring Wide(std::u16string_view units) {
  return std::wstring(units.begin(), units.end());
}

// A GBK text (ASCII included), converted with code page 936.
[[nodiscard]] std::wstring WideFromText(std::string_view gbk);

// UTF-8 bytes, converted with code page 65001.
[[nodiscard]] std::wstring WideFromUtf8(std::string_view utf8);

}  // namespace lumenta::win
