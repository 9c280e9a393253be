#pragma once
// Shaping Tesseract's text lines into the lines of an answer.
#include <string>
#include <string_view>

namespace lumenta::ocrd {

// True for the characters of Chinese and Japanese script, their punctuation and the full-width
// forms: text in which blanks do not separate words.
[[nodiscard]] bool IsCjk(char32_t c);

// One recognised line (UTF-8) as it goes into an answer: white space at both ends removed, and
// the blanks Tesseract leaves between two CJK characters taken out ("图 片" becomes "图片",
// "图 A" keeps its blank). Bytes that are not valid UTF-8 are kept as they are.
[[nodiscard]] std::string CleanLine(std::string_view utf8);

}  // namespace lumenta::ocrd
