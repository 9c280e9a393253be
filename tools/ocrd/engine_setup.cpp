#include "tools/ocrd/engine_setup.h"

#include <memory>

#include "tools/ocrd/ppocr/onnx_runtime.h"
#include "tools/ocrd/ppocr/ppocr_engine.h"
#include "tools/ocrd/program_folder.h"
#ifdef LUMENTA_OCRD_TESSERACT
#include "tools/ocrd/tesseract_engine.h"
#endif

namespace lumenta::ocrd {
namespace {

#ifdef _WIN32
constexpr char kOnnxRuntimeFile[] = "onnxruntime.dll";
constexpr char kSeparator = '\\';
#else
constexpr char kOnnxRuntimeFile[] = "libonnxruntime.so.1";
constexpr char kSeparator = '/';
#endif

std::string Beside(const std::string& folder, const char* name) {
  return folder.empty() ? std::string(name) : folder + kSeparator + name;
}

EngineFactory PpocrFactory(const Options& options, unsigned processors, std::string& description,
                           std::string& error) {
  const std::string folder = ProgramFolder();
  const std::string library =
      options.onnxRuntime.empty() ? DefaultOnnxRuntime(folder) : options.onnxRuntime;
  const int threads = EngineThreads(options, processors);
  std::shared_ptr<ppocr::OnnxRuntime> runtime = ppocr::OnnxRuntime::Load(library, threads, error);
  if (!runtime) {
    error = "ONNX Runtime cannot be loaded: " + error;
    return nullptr;
  }
  ppocr::EngineSettings settings;
  settings.detector.limitSide = options.detectionSide;
  settings.classifyAngle = options.angleClassifier;
  const std::string modelsFolder =
      options.models.empty() ? DefaultModelsFolder(folder) : options.models;
  std::shared_ptr<const ppocr::Models> models =
      ppocr::Models::Load(*runtime, modelsFolder, settings, error);
  if (!models) {
    error = "the PP-OCR models cannot be used: " + error;
    return nullptr;
  }
  description = "PP-OCRv4 on ONNX Runtime " + runtime->version() + " with " +
                std::to_string(threads) + " thread(s)";
  // The models hold the runtime's sessions: the runtime goes last.
  return [runtime, models](std::string&) -> std::unique_ptr<Engine> {
    return ppocr::CreatePpocrEngine(models);
  };
}

}  // namespace

std::string DefaultModelsFolder(const std::string& programFolder) {
  return Beside(programFolder, "models");
}

std::string DefaultOnnxRuntime(const std::string& programFolder) {
  return Beside(programFolder, kOnnxRuntimeFile);
}

EngineFactory MakeEngineFactory(const Options& options, unsigned processors,
                                std::string& description, std::string& error) {
  if (options.engine == EngineKind::kPpocr) {
    return PpocrFactory(options, processors, description, error);
  }
#ifdef LUMENTA_OCRD_TESSERACT
  TesseractSettings settings;
  settings.tessdata = options.tessdata;
  settings.languages = options.languages;
  settings.pageSegmentation = options.pageSegmentation;
  description = "Tesseract for " + options.languages;
  return [settings](std::string& reason) { return CreateTesseractEngine(settings, reason); };
#else
  error = "this build has no Tesseract engine";
  return nullptr;
#endif
}

}  // namespace lumenta::ocrd
