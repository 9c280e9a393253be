#include "tools/ocrd/ppocr/ppocr_engine.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>

#include "tools/ocrd/line_text.h"
#include "tools/ocrd/ppocr/angle_classifier.h"
#include "tools/ocrd/ppocr/image.h"
#include "tools/ocrd/ppocr/onnx_runtime.h"
#include "tools/ocrd/ppocr/reading_order.h"
#include "tools/ocrd/ppocr/text_recognizer.h"

namespace lumenta::ocrd::ppocr {
namespace {

std::string Utf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

bool ReadFile(const std::filesystem::path& path, std::string& bytes, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) bytes.clear();
  if (bytes.empty()) {
    error = "cannot read " + Utf8(path);
    return false;
  }
  return true;
}

class PpocrEngine final : public Engine {
 public:
  explicit PpocrEngine(std::shared_ptr<const Models> models)
      : models_(std::move(models)),
        detector_(models_->detection(), models_->settings().detector),
        recognizer_(models_->recognition(), models_->dictionary()) {
    if (models_->classifier()) classifier_.emplace(*models_->classifier());
  }

  bool Recognize(const RgbImage& picture, std::vector<std::string>& lines) override {
    lines.clear();
    std::string error;
    std::vector<std::string> texts;
    if (!Read(picture, texts, error)) return false;
    for (std::string& text : texts) {
      std::string line = CleanLine(text);
      if (!line.empty()) lines.push_back(std::move(line));
    }
    return true;
  }

  // The texts of the picture's lines in reading order, those read confidently enough.
  bool Read(const RgbImage& picture, std::vector<std::string>& texts, std::string& error) {
    std::vector<Quad> boxes;
    if (!detector_.Detect(picture, boxes, error)) return false;
    std::vector<RgbImage> crops;
    crops.reserve(boxes.size());
    for (std::size_t index : ReadingOrder(boxes)) {
      RgbImage crop = CropQuad(picture, boxes[index]);
      if (!crop.empty()) crops.push_back(std::move(crop));
    }
    if (classifier_ && !classifier_->TurnUpright(crops, error)) return false;
    std::vector<DecodedLine> decoded;
    if (!recognizer_.Read(crops, decoded, error)) return false;
    for (const DecodedLine& line : decoded) {
      if (line.confidence >= models_->settings().minConfidence) texts.push_back(line.Text());
    }
    return true;
  }

 private:
  std::shared_ptr<const Models> models_;
  TextDetector detector_;
  TextRecognizer recognizer_;
  std::optional<AngleClassifier> classifier_;
};

}  // namespace

Models::~Models() = default;

std::shared_ptr<Models> Models::Load(const OnnxRuntime& runtime, const std::string& folder,
                                     const EngineSettings& settings, std::string& error) {
  const std::filesystem::path base = std::filesystem::u8path(folder);
  std::shared_ptr<Models> models(new Models);
  models->settings_ = settings;
  auto load = [&base, &runtime](const char* file, bool exclusive, std::unique_ptr<OnnxModel>& model,
                                std::string& failure) {
    std::string bytes;
    if (!ReadFile(base / file, bytes, failure)) return false;
    model = OnnxModel::Load(runtime, bytes, exclusive, failure);
    if (!model) failure = Utf8(base / file) + " cannot be loaded: " + failure;
    return model != nullptr;
  };
  // Preparing a model's session is most of the service's start: the detection model is
  // prepared on a thread of its own while the others are, and a failure is reported in the
  // order of the files.
  std::string detectionError;
  bool detectionLoaded = false;
  std::thread detection(
      [&] { detectionLoaded = load(kDetectionModel, true, models->detection_, detectionError); });
  std::string bytes;
  const bool othersLoaded =
      load(kRecognitionModel, false, models->recognition_, error) &&
      (!settings.classifyAngle || load(kClassifierModel, false, models->classifier_, error)) &&
      ReadFile(base / kDictionary, bytes, error);
  detection.join();
  if (!detectionLoaded) {
    error = detectionError;
    return nullptr;
  }
  if (!othersLoaded) return nullptr;
  if (!models->dictionary_.Load(bytes)) {
    error = "the dictionary " + Utf8(base / kDictionary) + " is empty";
    return nullptr;
  }

  // One run of each model on a blank picture and a blank line.
  RgbImage blank(64, 64);
  std::fill(blank.pixels.begin(), blank.pixels.end(), std::uint8_t{255});
  std::vector<Quad> boxes;
  std::vector<RgbImage> lines{RgbImage(320, kLineHeight)};
  std::vector<DecodedLine> texts;
  TextDetector detector(*models->detection_, settings.detector);
  TextRecognizer recognizer(*models->recognition_, models->dictionary_);
  if (!detector.Detect(blank, boxes, error) ||
      (models->classifier_ && !AngleClassifier(*models->classifier_).TurnUpright(lines, error)) ||
      !recognizer.Read(lines, texts, error)) {
    error = "the models in " + folder + " do not work together: " + error;
    return nullptr;
  }
  return models;
}

std::unique_ptr<Engine> CreatePpocrEngine(std::shared_ptr<const Models> models) {
  return std::make_unique<PpocrEngine>(std::move(models));
}

}  // namespace lumenta::ocrd::ppocr
