#include "tools/ocrd/ppocr/angle_classifier.h"

#include "tools/ocrd/ppocr/image.h"
#include "tools/ocrd/ppocr/onnx_runtime.h"

namespace lumenta::ocrd::ppocr {
namespace {

constexpr int kClassifierWidth = 192;

}  // namespace

bool AngleClassifier::TurnUpright(std::vector<RgbImage>& lines, std::string& error) {
  for (const std::vector<std::size_t>& indices : BatchesByShape(lines, {.maxLines = 6})) {
    FillLineBatch(lines, indices, kClassifierWidth, kClassifierWidth, batch_);
    TensorOutput output;
    if (!model_.Run(batch_.shape, batch_.values, output, error)) return false;
    // N x 2: upright, half a turn.
    const std::vector<std::int64_t>& dims = output.shape();
    if (dims.size() != 2 || dims[0] != static_cast<std::int64_t>(indices.size()) || dims[1] != 2) {
      error = "the angle classification model answered with an unexpected shape";
      return false;
    }
    for (std::size_t k = 0; k < indices.size(); ++k) {
      const float upright = output.values()[k * 2];
      const float turned = output.values()[k * 2 + 1];
      if (turned > upright && turned >= threshold_) {
        lines[indices[k]] = RotateHalfTurn(lines[indices[k]]);
      }
    }
  }
  return true;
}

}  // namespace lumenta::ocrd::ppocr
