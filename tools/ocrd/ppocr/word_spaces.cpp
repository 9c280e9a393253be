#include "tools/ocrd/ppocr/word_spaces.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace lumenta::ocrd::ppocr {
namespace {

int Luminance(const std::uint8_t* rgb) {
  return (rgb[0] * 299 + rgb[1] * 587 + rgb[2] * 114) / 1000;
}

bool IsWordCharacter(std::string_view text) {
  if (text.size() != 1) return false;
  const char c = text[0];
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A word may end in punctuation ("one, two") and start after an opening bracket. Not after a
// full stop: it stands inside names as often (".NET", "3.x").
bool EndsWord(std::string_view text) {
  return IsWordCharacter(text) || text == "," || text == ";" || text == ":" || text == "!" ||
         text == "?" || text == ")";
}
bool StartsWord(std::string_view text) { return IsWordCharacter(text) || text == "("; }

}  // namespace

std::vector<bool> InkColumns(const RgbImage& line) {
  std::vector<bool> ink(static_cast<std::size_t>(std::max(line.width, 0)), true);
  if (line.empty()) return ink;
  // The background: the median brightness of the top and bottom rows, which the detector's margin
  // leaves free of letters.
  std::vector<int> edge;
  edge.reserve(static_cast<std::size_t>(line.width) * 2);
  for (const int y : {0, line.height - 1}) {
    const std::uint8_t* row = line.Row(y);
    for (int x = 0; x < line.width; ++x) edge.push_back(Luminance(row + x * 3));
  }
  std::nth_element(edge.begin(), edge.begin() + static_cast<std::ptrdiff_t>(edge.size() / 2),
                   edge.end());
  const int background = edge[edge.size() / 2];
  int contrast = 0;
  for (int y = 0; y < line.height; ++y) {
    const std::uint8_t* row = line.Row(y);
    for (int x = 0; x < line.width; ++x) {
      contrast = std::max(contrast, std::abs(Luminance(row + x * 3) - background));
    }
  }
  // A line without contrast says nothing about gaps: every column counts as ink.
  if (contrast < 32) return ink;
  const int threshold = contrast / 3;
  for (int x = 0; x < line.width; ++x) {
    bool any = false;
    for (int y = 0; y < line.height && !any; ++y) {
      any = std::abs(Luminance(line.Row(y) + x * 3) - background) > threshold;
    }
    ink[static_cast<std::size_t>(x)] = any;
  }
  return ink;
}

bool WordGap(float spaceProbability, double emptyRun) {
  return spaceProbability >= 0.25f || emptyRun >= 0.3 ||
         (emptyRun >= 0.25 && spaceProbability >= 0.02f);
}

void AddWordSpaces(DecodedLine& decoded, const std::vector<bool>& inkColumns, int lineHeight,
                   StepScale scale) {
  if (decoded.glyphs.size() < 2 || inkColumns.empty() || scale.columnsPerStep <= 0 ||
      lineHeight <= 0) {
    return;
  }
  const auto columns = static_cast<long>(inkColumns.size());
  std::vector<Glyph> spaced;
  spaced.reserve(decoded.glyphs.size() * 2);
  spaced.push_back(decoded.glyphs[0]);
  for (std::size_t i = 1; i < decoded.glyphs.size(); ++i) {
    const Glyph& left = decoded.glyphs[i - 1];
    const Glyph& right = decoded.glyphs[i];
    if (EndsWord(left.text) && StartsWord(right.text)) {
      // The longest run of empty columns between the two characters' steps.
      const long from = std::clamp(
          static_cast<long>(std::floor((left.step + 0.5) * scale.columnsPerStep)), 0l, columns);
      const long to = std::clamp(
          static_cast<long>(std::ceil((right.step + 0.5) * scale.columnsPerStep)), 0l, columns);
      long run = 0, longest = 0;
      for (long x = from; x < to; ++x) {
        run = inkColumns[static_cast<std::size_t>(x)] ? 0 : run + 1;
        longest = std::max(longest, run);
      }
      if (WordGap(right.spaceBefore, static_cast<double>(longest) / lineHeight)) {
        spaced.push_back({" ", left.step, 0});
      }
    }
    spaced.push_back(right);
  }
  decoded.glyphs = std::move(spaced);
}

}  // namespace lumenta::ocrd::ppocr
