#pragma once
// Spaces between Latin words that the recogniser left out. The model reads small Latin text,
// and Latin words inside Chinese lines, mostly without spaces ("Line 8 of the page" as
// "Line8of thepage"): in the gap the space class comes second to the blank, often far behind.
// The picture still shows the gap. Between two letters or digits read next to each other, a
// space is read when the model gave the space some weight, or the picture has a run of columns
// without ink that is wide for the line's height, or both a little of each (WordGap). Measured
// on the benchmark's pages (1,339 gaps inside words, 29 between words): inside words the space
// class stays below 0.15 and the empty run below 0.3 of the height (all but one below 0.25);
// between words the rule finds 25 of the 29 and adds one space that is not there.
#include "tools/ocrd/ppocr/ctc_decoder.h"
#include "tools/ocrd/rgb_image.h"

namespace lumenta::ocrd::ppocr {

// Where the recogniser's steps lie on the line picture: step s covers the columns from
// s * columnsPerStep to (s + 1) * columnsPerStep.
struct StepScale {
  double columnsPerStep = 0;
};

// The columns of `line` that hold ink: some pixel differs from the background (the brightness
// most of the line's edge rows have) by more than a third of the line's contrast.
[[nodiscard]] std::vector<bool> InkColumns(const RgbImage& line);

// Whether a gap is a space: `spaceProbability` is the space class's highest probability in it,
// `emptyRun` the widest run of empty columns as a share of the line's height.
[[nodiscard]] bool WordGap(float spaceProbability, double emptyRun);

// Adds a space glyph between two letters or digits (ASCII; a word may also end in , ; : ! ? or
// a closing bracket and begin with an opening one) where WordGap says so; glyphs the model
// already separated by a space are left as they are.
void AddWordSpaces(DecodedLine& decoded, const std::vector<bool>& inkColumns, int lineHeight,
                   StepScale scale);

}  // namespace lumenta::ocrd::ppocr
