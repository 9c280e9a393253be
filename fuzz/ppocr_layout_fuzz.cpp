// The local OCR service's PP-OCR pipeline after the models: from a detection map to boxes, the
// lines cut out of the picture, their reading order, and the decoding of the recogniser's output
// with the spaces read from the picture. The map and the recogniser's table come from the input,
// so every shape of region and every probability, NaN and infinity included, is tried. The
// service is built only natively beside the program, so these sources are compiled into the
// target directly (none of them needs ONNX Runtime).
#include <cmath>
#include <cstring>
#include <numeric>

#include "fuzz/fuzz_input.h"
#include "tools/ocrd/line_text.cpp"
#include "tools/ocrd/ppocr/ctc_decoder.cpp"
#include "tools/ocrd/ppocr/geometry.cpp"
#include "tools/ocrd/ppocr/image.cpp"
#include "tools/ocrd/ppocr/line_batch.cpp"
#include "tools/ocrd/ppocr/probability_map.cpp"
#include "tools/ocrd/ppocr/reading_order.cpp"
#include "tools/ocrd/ppocr/word_spaces.cpp"

using namespace lumenta::ocrd;
using namespace lumenta::ocrd::ppocr;

namespace {

// A value of the map or of the table: mostly probabilities, now and then what a broken model
// could answer.
float Value(std::uint8_t byte) {
  switch (byte) {
    case 0xFD:
      return NAN;
    case 0xFE:
      return INFINITY;
    case 0xFF:
      return -1.0f;
    default:
      return static_cast<float>(byte) / 252.0f;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> parts = lumenta::fuzz::SplitInput(data, size, 2);
  const std::string& mapBytes = parts[0];
  if (mapBytes.size() < 2) return 0;
  // The map: the first byte is its width (1 to 64), the rest its values row by row.
  const int width = 1 + static_cast<std::uint8_t>(mapBytes[0]) % 64;
  const int height = static_cast<int>((mapBytes.size() - 1) / static_cast<std::size_t>(width));
  if (height < 1 || height > 64) return 0;
  std::vector<float> values(static_cast<std::size_t>(width) * height);
  for (std::size_t i = 0; i < values.size(); ++i) {
    values[i] = Value(static_cast<std::uint8_t>(mapBytes[1 + i]));
  }
  const ProbabilityMap map{values.data(), width, height};
  const BoxSettings settings;
  const std::vector<ScoredBox> boxes = BoxesFromMap(map, settings);
  std::vector<Quad> quads;
  for (const ScoredBox& box : boxes) {
    lumenta::fuzz::Require(box.score >= settings.boxThreshold && box.score <= 1.0f);
    // Placed on a picture twice the map's size, as the detector does.
    Quad quad;
    for (std::size_t k = 0; k < 4; ++k) {
      lumenta::fuzz::Require(std::isfinite(box.corners[k].x) && std::isfinite(box.corners[k].y));
      quad[k] = {std::clamp(std::round(box.corners[k].x * 2), 0.0, 2.0 * width),
                 std::clamp(std::round(box.corners[k].y * 2), 0.0, 2.0 * height)};
    }
    quads.push_back(quad);
  }

  // The order is a permutation of the boxes.
  std::vector<std::size_t> order = ReadingOrder(quads);
  lumenta::fuzz::Require(order.size() == quads.size());
  std::vector<std::size_t> sorted = order;
  std::sort(sorted.begin(), sorted.end());
  for (std::size_t i = 0; i < sorted.size(); ++i) lumenta::fuzz::Require(sorted[i] == i);

  // A picture whose pixels come from the map.
  RgbImage picture(2 * width, 2 * height);
  for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
    picture.pixels[i] = static_cast<std::uint8_t>(mapBytes[1 + (i / 3) % values.size()]);
  }
  std::vector<RgbImage> lines;
  for (std::size_t index : order) {
    RgbImage line = CropQuad(picture, quads[index]);
    if (line.empty()) continue;
    // A crop is no larger than the box's sides allow (turned or not).
    const double longest = std::max(QuadWidth(quads[index]), QuadHeight(quads[index]));
    lumenta::fuzz::Require(line.width <= longest + 1 && line.height <= longest + 1);
    lines.push_back(std::move(line));
  }
  // Batched are the first eight lines of up to 640 columns at the line height: every line takes
  // at least 320 columns of floats and a crop one pixel high thousands, and filling a map's
  // hundreds of lines took most of the target's time without reaching any other path.
  std::vector<RgbImage> batched;
  for (const RgbImage& line : lines) {
    if (batched.size() < 8 && ScaledLineWidth(line.width, line.height, 1 << 20) <= 640) {
      batched.push_back(line);
    }
  }
  if (!batched.empty()) {
    // One batch for the process, as the recogniser keeps one: its storage is reused, so every
    // value of a batch must be written by the batch itself.
    static LineBatch batch;
    for (const auto& indices :
         BatchesByShape(batched, {.maxLines = 6, .maxColumns = 1920, .minWidth = 320})) {
      FillLineBatch(batched, indices, 320, 0, batch);
      lumenta::fuzz::Require(batch.values.size() == static_cast<std::size_t>(batch.shape[0]) * 3 *
                                                        kLineHeight * batch.shape[3]);
    }
  }

  // The recogniser's table: five classes (blank, three characters, space).
  Dictionary dictionary;
  lumenta::fuzz::Require(dictionary.Load("a\n1\n\xE5\x9B\xBE"));
  const std::string& table = parts[1];
  const std::size_t classes = dictionary.classes();
  const std::size_t steps = table.size() / classes;
  std::vector<float> probabilities(steps * classes);
  for (std::size_t i = 0; i < probabilities.size(); ++i) {
    probabilities[i] = Value(static_cast<std::uint8_t>(table[i]));
  }
  DecodedLine decoded = DecodeGreedy(probabilities.data(), steps, classes, dictionary);
  lumenta::fuzz::Require(decoded.glyphs.size() <= steps);
  const RgbImage& line = lines.empty() ? picture : lines.front();
  AddWordSpaces(decoded, InkColumns(line), line.height,
                {static_cast<double>(line.width) / std::max<std::size_t>(steps, 1)});
  const std::string text = decoded.Text();
  lumenta::fuzz::Require(CleanLine(text).size() <= text.size());
  return 0;
}
