#include "tools/ocrd/ppocr/text_recognizer.h"

#include "tools/ocrd/ppocr/onnx_runtime.h"
#include "tools/ocrd/ppocr/word_spaces.h"

namespace lumenta::ocrd::ppocr {
namespace {

// Lines narrower than this are padded to it: the width the model was trained on (320 x 48).
constexpr int kMinLineWidth = 320;
// Up to six short lines go into one run; a batch of wider lines is no faster per line than
// single runs (measured: 48 x 960 lines take as long one by one as in pairs, and longer per line
// in sixes) and takes more memory.
constexpr BatchLimits kBatchLimits{.maxLines = 6, .maxColumns = 1920, .minWidth = kMinLineWidth};

}  // namespace

bool TextRecognizer::Read(const std::vector<RgbImage>& lines, std::vector<DecodedLine>& texts,
                          std::string& error) {
  texts.assign(lines.size(), DecodedLine{});
  for (const std::vector<std::size_t>& indices : BatchesByShape(lines, kBatchLimits)) {
    FillLineBatch(lines, indices, kMinLineWidth, 0, batch_);
    TensorOutput output;
    if (!model_.Run(batch_.shape, batch_.values, output, error)) return false;
    // N x steps x classes.
    const std::vector<std::int64_t>& dims = output.shape();
    if (dims.size() != 3 || dims[0] != static_cast<std::int64_t>(indices.size()) ||
        dims[2] != static_cast<std::int64_t>(dictionary_.classes())) {
      error = "the recognition model's classes do not match the dictionary";
      return false;
    }
    const auto steps = static_cast<std::size_t>(dims[1]);
    const std::size_t classes = dictionary_.classes();
    for (std::size_t k = 0; k < indices.size(); ++k) {
      const RgbImage& line = lines[indices[k]];
      DecodedLine decoded =
          DecodeGreedy(output.values() + k * steps * classes, steps, classes, dictionary_);
      // The steps span the batch's width; the line was scaled into its first columns.
      const double scaled =
          ScaledLineWidth(line.width, line.height, static_cast<int>(batch_.shape[3]));
      const StepScale scale{static_cast<double>(batch_.shape[3]) / static_cast<double>(steps) *
                            line.width / scaled};
      AddWordSpaces(decoded, InkColumns(line), line.height, scale);
      texts[indices[k]] = std::move(decoded);
    }
  }
  return true;
}

}  // namespace lumenta::ocrd::ppocr
