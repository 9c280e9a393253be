#pragma once
// Finding the text lines of a picture with the detection model: the picture is scaled so that
// its longer side is at most `limitSide` (both sides multiples of 32, as the network's strides
// need), normalised with the ImageNet mean and deviation, and the model's probability map is
// turned into boxes (probability_map.h), which are mapped back onto the picture.
#include <string>
#include <vector>

#include "tools/ocrd/ppocr/geometry.h"
#include "tools/ocrd/ppocr/probability_map.h"
#include "tools/ocrd/rgb_image.h"

namespace lumenta::ocrd::ppocr {

class OnnxModel;

struct DetectorSettings {
  // The usual 960 shrinks a full-HD screenshot's 12 to 14 pixel captions to 6 or 7 pixels, below
  // what the detector finds reliably; 1280 keeps them readable (measured on the benchmark's
  // screen pages: character error rate 2.2 % at 960, 0.8 % at 1280) for twice the detection time.
  int limitSide = 1280;
  BoxSettings boxes;
  double minBoxSide = 3;  // boxes at most this wide or high, in picture pixels, are dropped
};

struct Size {
  int width = 0;
  int height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// The size the detector sees a `picture` at: scaled down (never up) so that the longer side is at
// most `limitSide`, then each side rounded to the nearest multiple of 32, at least 32.
[[nodiscard]] Size DetectionSize(Size picture, int limitSide);

// Boxes found on a map of `map` size, scaled onto a picture of `picture` size, their corners
// rounded to whole pixels and kept inside the picture; boxes that end up at most `minSide` wide or
// high are dropped.
[[nodiscard]] std::vector<Quad> BoxesOnPicture(const std::vector<ScoredBox>& boxes, Size map,
                                               Size picture, double minSide);

class TextDetector {
 public:
  TextDetector(OnnxModel& model, const DetectorSettings& settings)
      : model_(model), settings_(settings) {}

  // The boxes of the text lines of `picture`, in no particular order. False with the reason in
  // `error` when the model failed.
  [[nodiscard]] bool Detect(const RgbImage& picture, std::vector<Quad>& boxes, std::string& error);

 private:
  OnnxModel& model_;
  DetectorSettings settings_;
  std::vector<float> input_;  // kept between pictures: most are of similar size
};

}  // namespace lumenta::ocrd::ppocr
