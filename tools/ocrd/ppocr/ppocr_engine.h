#pragma once
// The PP-OCR engine: text lines found by the detection model, optionally turned upright by the
// angle classifier, read by the recognition model, and given in reading order. Lines read with
// less than `minConfidence` are left out: they are almost always marks the detector took for text.
//
// The models are loaded once per process and shared by every worker's engine (a session runs
// for several threads at once); an engine holds only its own buffers. The detector runs for one
// worker at a time: one detection already keeps every processor busy, and its working memory is
// most of what the service needs, so two at once would only double that.
#include <memory>
#include <string>

#include "tools/ocrd/engine.h"
#include "tools/ocrd/ppocr/ctc_decoder.h"
#include "tools/ocrd/ppocr/text_detector.h"

namespace lumenta::ocrd::ppocr {

class OnnxModel;
class OnnxRuntime;

// The file names in a models folder.
inline constexpr char kDetectionModel[] = "ch_PP-OCRv4_det_infer.onnx";
inline constexpr char kRecognitionModel[] = "ch_PP-OCRv4_rec_infer.onnx";
inline constexpr char kClassifierModel[] = "ch_ppocr_mobile_v2.0_cls_infer.onnx";
inline constexpr char kDictionary[] = "ppocr_keys_v1.txt";

struct EngineSettings {
  DetectorSettings detector;
  bool classifyAngle = false;  // turn upside-down lines upright first (costs a model run)
  float minConfidence = 0.5f;
};

// The models of a models folder, ready to run.
class Models {
 public:
  // Reads the models and the dictionary from `folder` (the angle classifier only when the
  // settings ask for it), creates their sessions and runs each once on a blank picture, so that
  // a model that does not fit the dictionary or the pipeline shows now, not at the first
  // request. Null with a reason that names the missing or unusable file.
  [[nodiscard]] static std::shared_ptr<Models> Load(const OnnxRuntime& runtime,
                                                    const std::string& folder,
                                                    const EngineSettings& settings,
                                                    std::string& error);
  ~Models();

  OnnxModel& detection() const { return *detection_; }
  OnnxModel& recognition() const { return *recognition_; }
  OnnxModel* classifier() const { return classifier_.get(); }
  const Dictionary& dictionary() const { return dictionary_; }
  const EngineSettings& settings() const { return settings_; }

 private:
  Models() = default;
  std::unique_ptr<OnnxModel> detection_;
  std::unique_ptr<OnnxModel> recognition_;
  std::unique_ptr<OnnxModel> classifier_;
  Dictionary dictionary_;
  EngineSettings settings_;
};

// A worker's engine over the shared models.
[[nodiscard]] std::unique_ptr<Engine> CreatePpocrEngine(std::shared_ptr<const Models> models);

}  // namespace lumenta::ocrd::ppocr
