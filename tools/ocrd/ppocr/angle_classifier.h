#pragma once
// Finding lines that stand upside down, with the angle classification model: each line, scaled
// to 48 x 192 at most, is classed as upright or turned half a turn.
#include <string>
#include <vector>

#include "tools/ocrd/ppocr/line_batch.h"
#include "tools/ocrd/rgb_image.h"

namespace lumenta::ocrd::ppocr {

class OnnxModel;

class AngleClassifier {
 public:
  explicit AngleClassifier(OnnxModel& model, float threshold = 0.9f)
      : model_(model), threshold_(threshold) {}

  // Turns the lines the model finds upside down (with at least `threshold` probability) the right
  // way up. False with the reason in `error` when the model failed.
  [[nodiscard]] bool TurnUpright(std::vector<RgbImage>& lines, std::string& error);

 private:
  OnnxModel& model_;
  float threshold_;
  LineBatch batch_;
};

}  // namespace lumenta::ocrd::ppocr
