#pragma once
// Reading lines with the recognition model: lines are batched by shape, scaled to 48 pixels
// high, and the model's per-step class probabilities are decoded greedily (ctc_decoder.h).
#include <string>
#include <vector>

#include "tools/ocrd/ppocr/ctc_decoder.h"
#include "tools/ocrd/ppocr/line_batch.h"
#include "tools/ocrd/rgb_image.h"

namespace lumenta::ocrd::ppocr {

class OnnxModel;

class TextRecognizer {
 public:
  TextRecognizer(OnnxModel& model, const Dictionary& dictionary)
      : model_(model), dictionary_(dictionary) {}

  // The text of each line, in the order given. False with the reason in `error` when the model
  // failed or its output does not fit the dictionary.
  [[nodiscard]] bool Read(const std::vector<RgbImage>& lines, std::vector<DecodedLine>& texts,
                          std::string& error);

 private:
  OnnxModel& model_;
  const Dictionary& dictionary_;
  LineBatch batch_;
};

}  // namespace lumenta::ocrd::ppocr
