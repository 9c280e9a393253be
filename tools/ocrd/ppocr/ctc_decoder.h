#pragma once
// Reading the recogniser's output: for every step of the line, a probability for each class of
// the dictionary (class 0 is the CTC blank, classes 1 to N the dictionary's characters in file
// order, class N + 1 a space). Greedy decoding takes the likeliest class of each step, joins
// repeats of a class and drops blanks.
#include <string>
#include <string_view>
#include <vector>

namespace lumenta::ocrd::ppocr {

class Dictionary {
 public:
  // One character (UTF-8) per line; a line break ends each line ("\r\n" too), the last line
  // may lack one. False for an empty dictionary.
  [[nodiscard]] bool Load(std::string_view text);

  // The number of classes the recogniser must have: blank + characters + space.
  std::size_t classes() const { return characters_.size() + 2; }
  // The text of a class; empty for the blank and for classes beyond the dictionary.
  std::string_view Text(std::size_t index) const;
  bool IsSpace(std::size_t index) const { return index == characters_.size() + 1; }

 private:
  std::vector<std::string> characters_;
};

// A character of a decoded line, the step of the line it was read at, and the highest
// probability the space class had in the steps between it and the character before.
struct Glyph {
  std::string_view text;  // into the dictionary; " " for a space
  std::size_t step = 0;
  float spaceBefore = 0;
};

struct DecodedLine {
  std::vector<Glyph> glyphs;
  float confidence = 0;  // mean probability of the characters kept; 0 when none was
  std::string Text() const;
};

// `steps` rows of `classes` probabilities.
[[nodiscard]] DecodedLine DecodeGreedy(const float* probabilities, std::size_t steps,
                                       std::size_t classes, const Dictionary& dictionary);

}  // namespace lumenta::ocrd::ppocr
