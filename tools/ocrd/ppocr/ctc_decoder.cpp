#include "tools/ocrd/ppocr/ctc_decoder.h"

#include <algorithm>

namespace lumenta::ocrd::ppocr {

bool Dictionary::Load(std::string_view text) {
  characters_.clear();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    characters_.emplace_back(line);
    start = end + 1;
  }
  return !characters_.empty();
}

std::string_view Dictionary::Text(std::size_t index) const {
  if (index == 0) return {};
  if (index <= characters_.size()) return characters_[index - 1];
  if (index == characters_.size() + 1) return " ";
  return {};
}

std::string DecodedLine::Text() const {
  std::string text;
  for (const Glyph& glyph : glyphs) text += glyph.text;
  return text;
}

DecodedLine DecodeGreedy(const float* probabilities, std::size_t steps, std::size_t classes,
                         const Dictionary& dictionary) {
  DecodedLine line;
  if (classes == 0) return line;
  const std::size_t space = dictionary.classes() - 1;
  double sum = 0;
  std::size_t previous = 0;
  float spaceInGap = 0;
  for (std::size_t step = 0; step < steps; ++step) {
    const float* row = probabilities + step * classes;
    std::size_t best = 0;
    for (std::size_t c = 1; c < classes; ++c) {
      if (row[c] > row[best]) best = c;
    }
    if (best != 0 && best != previous) {
      line.glyphs.push_back({dictionary.Text(best), step, spaceInGap});
      sum += row[best];
      spaceInGap = 0;
    } else if (best == 0 && space < classes) {
      spaceInGap = std::max(spaceInGap, row[space]);
    }
    previous = best;
  }
  if (!line.glyphs.empty()) {
    line.confidence = static_cast<float>(sum / static_cast<double>(line.glyphs.size()));
  }
  return line;
}

}  // namespace lumenta::ocrd::ppocr
