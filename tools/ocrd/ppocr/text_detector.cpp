#include "tools/ocrd/ppocr/text_detector.h"

#include <algorithm>
#include <cmath>

#include "tools/ocrd/ppocr/image.h"
#include "tools/ocrd/ppocr/onnx_runtime.h"

namespace lumenta::ocrd::ppocr {

Size DetectionSize(Size picture, int limitSide) {
  const int longer = std::max(picture.width, picture.height);
  const double ratio = longer > limitSide ? static_cast<double>(limitSide) / longer : 1.0;
  auto side = [ratio](int length) {
    return std::max(static_cast<int>(std::lround(length * ratio / 32.0)) * 32, 32);
  };
  return {side(picture.width), side(picture.height)};
}

std::vector<Quad> BoxesOnPicture(const std::vector<ScoredBox>& boxes, Size map, Size picture,
                                 double minSide) {
  std::vector<Quad> placed;
  placed.reserve(boxes.size());
  const double sx = static_cast<double>(picture.width) / map.width;
  const double sy = static_cast<double>(picture.height) / map.height;
  for (const ScoredBox& box : boxes) {
    Quad quad;
    for (std::size_t i = 0; i < 4; ++i) {
      quad[i].x =
          std::clamp(std::round(box.corners[i].x * sx), 0.0, static_cast<double>(picture.width));
      quad[i].y =
          std::clamp(std::round(box.corners[i].y * sy), 0.0, static_cast<double>(picture.height));
    }
    if (QuadWidth(quad) <= minSide || QuadHeight(quad) <= minSide) continue;
    placed.push_back(quad);
  }
  return placed;
}

bool TextDetector::Detect(const RgbImage& picture, std::vector<Quad>& boxes, std::string& error) {
  boxes.clear();
  if (picture.empty()) return true;
  const Size size = DetectionSize({picture.width, picture.height}, settings_.limitSide);
  input_.resize(static_cast<std::size_t>(size.width) * size.height * 3);
  ScaleIntoPlanes(picture, size.width, size.height, size.width, kImageNetNormalisation,
                  input_.data());
  const std::int64_t shape[] = {1, 3, size.height, size.width};
  TensorOutput output;
  if (!model_.Run(shape, input_, output, error)) return false;
  // The map: 1 x 1 x height x width.
  const std::vector<std::int64_t>& dims = output.shape();
  if (dims.size() != 4 || dims[2] != size.height || dims[3] != size.width) {
    error = "the detection model answered with a map of an unexpected shape";
    return false;
  }
  const ProbabilityMap map{output.values(), size.width, size.height};
  boxes = BoxesOnPicture(BoxesFromMap(map, settings_.boxes), size, {picture.width, picture.height},
                         settings_.minBoxSide);
  return true;
}

}  // namespace lumenta::ocrd::ppocr
