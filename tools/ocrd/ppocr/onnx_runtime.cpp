#include "tools/ocrd/ppocr/onnx_runtime.h"

#include "tools/ocrd/ppocr/onnx_runtime_api.h"

#include "tools/ocrd/ppocr/shared_library.h"

namespace lumenta::ocrd::ppocr {
namespace {

// True when a call of the C API succeeded; otherwise its message is left in `error`.
bool Succeeded(const OnnxRuntime& runtime, OrtStatus* status, std::string& error) {
  error = runtime.Consume(status);
  return error.empty();
}

}  // namespace

std::string OnnxRuntime::Consume(OrtStatus* status) const {
  if (!status) return {};
  const char* message = api_->GetErrorMessage(status);
  std::string text = message && *message ? message : "ONNX Runtime failed";
  api_->ReleaseStatus(status);
  return text;
}

std::unique_ptr<OnnxRuntime> OnnxRuntime::Load(const std::string& libraryPath, int threads,
                                               std::string& error) {
  std::unique_ptr<OnnxRuntime> runtime(new OnnxRuntime);
  runtime->library_ = SharedLibrary::Open(libraryPath, error);
  if (!runtime->library_) return nullptr;
  using GetApiBase = const OrtApiBase*(ORT_API_CALL*)();
  auto getApiBase = reinterpret_cast<GetApiBase>(runtime->library_->Symbol("OrtGetApiBase"));
  if (!getApiBase) {
    error = libraryPath + " is not ONNX Runtime (it has no OrtGetApiBase)";
    return nullptr;
  }
  const OrtApiBase* base = getApiBase();
  runtime->version_ = base->GetVersionString();
  runtime->api_ = base->GetApi(ORT_API_VERSION);
  if (!runtime->api_) {
    error = "ONNX Runtime " + runtime->version_ + " in " + libraryPath +
            " does not offer API version " + std::to_string(ORT_API_VERSION);
    return nullptr;
  }
  const OrtApi& api = *runtime->api_;
  OrtThreadingOptions* threading = nullptr;
  if (!Succeeded(*runtime, api.CreateThreadingOptions(&threading), error)) return nullptr;
  // Worker threads wait for the next piece of work by spinning for a moment before they sleep:
  // a model is many small steps, and waking sleeping threads for each costs more than the step.
  const bool created =
      Succeeded(*runtime, api.SetGlobalIntraOpNumThreads(threading, threads), error) &&
      Succeeded(*runtime, api.SetGlobalInterOpNumThreads(threading, 1), error) &&
      Succeeded(*runtime, api.SetGlobalSpinControl(threading, 1), error) &&
      Succeeded(*runtime,
                api.CreateEnvWithGlobalThreadPools(ORT_LOGGING_LEVEL_ERROR, "ocrd", threading,
                                                   &runtime->env_),
                error);
  api.ReleaseThreadingOptions(threading);
  if (!created || !Succeeded(*runtime,
                             api.CreateCpuMemoryInfo(OrtArenaAllocator, OrtMemTypeDefault,
                                                     &runtime->cpuMemory_),
                             error)) {
    return nullptr;
  }
  return runtime;
}

OnnxRuntime::~OnnxRuntime() {
  if (api_) {
    if (cpuMemory_) api_->ReleaseMemoryInfo(cpuMemory_);
    if (env_) api_->ReleaseEnv(env_);
  }
}

TensorOutput::~TensorOutput() { Reset(nullptr, nullptr); }

void TensorOutput::Reset(const OnnxRuntime* runtime, OrtValue* value) {
  if (value_) runtime_->api().ReleaseValue(value_);
  runtime_ = runtime;
  value_ = value;
  values_ = nullptr;
  shape_.clear();
}

std::unique_ptr<OnnxModel> OnnxModel::Load(const OnnxRuntime& runtime, const std::string& model,
                                           bool exclusive, std::string& error) {
  const OrtApi& api = runtime.api();
  std::unique_ptr<OnnxModel> loaded(new OnnxModel(runtime, exclusive));
  OrtSessionOptions* options = nullptr;
  if (!Succeeded(runtime, api.CreateSessionOptions(&options), error)) return nullptr;
  // Inputs change size from request to request: memory patterns planned for one shape do not fit
  // the next, so none are planned.
  const bool created =
      Succeeded(runtime, api.DisablePerSessionThreads(options), error) &&
      Succeeded(runtime, api.SetSessionGraphOptimizationLevel(options, ORT_ENABLE_ALL), error) &&
      Succeeded(runtime, api.DisableMemPattern(options), error) &&
      Succeeded(runtime,
                api.CreateSessionFromArray(runtime.env(), model.data(), model.size(), options,
                                           &loaded->session_),
                error);
  api.ReleaseSessionOptions(options);
  if (!created) return nullptr;

  OrtAllocator* allocator = nullptr;
  if (!Succeeded(runtime, api.GetAllocatorWithDefaultOptions(&allocator), error)) return nullptr;
  char* name = nullptr;
  if (!Succeeded(runtime, api.SessionGetInputName(loaded->session_, 0, allocator, &name), error)) {
    return nullptr;
  }
  loaded->inputName_ = name;
  (void)runtime.Consume(api.AllocatorFree(allocator, name));
  if (!Succeeded(runtime, api.SessionGetOutputName(loaded->session_, 0, allocator, &name), error)) {
    return nullptr;
  }
  loaded->outputName_ = name;
  (void)runtime.Consume(api.AllocatorFree(allocator, name));
  return loaded;
}

OnnxModel::~OnnxModel() {
  if (session_) runtime_.api().ReleaseSession(session_);
}

bool OnnxModel::Run(std::span<const std::int64_t> shape, std::span<float> input,
                    TensorOutput& output, std::string& error) {
  if (!exclusive_) return RunNow(shape, input, output, error);
  std::lock_guard turn(turn_);
  return RunNow(shape, input, output, error);
}

bool OnnxModel::RunNow(std::span<const std::int64_t> shape, std::span<float> input,
                       TensorOutput& output, std::string& error) {
  const OrtApi& api = runtime_.api();
  output.Reset(nullptr, nullptr);
  OrtValue* tensor = nullptr;
  if (!Succeeded(runtime_,
                 api.CreateTensorWithDataAsOrtValue(runtime_.cpuMemory(), input.data(),
                                                    input.size_bytes(), shape.data(), shape.size(),
                                                    ONNX_TENSOR_ELEMENT_DATA_TYPE_FLOAT, &tensor),
                 error)) {
    return false;
  }
  const char* inputNames[] = {inputName_.c_str()};
  const char* outputNames[] = {outputName_.c_str()};
  OrtValue* result = nullptr;
  const bool ran = Succeeded(
      runtime_, api.Run(session_, nullptr, inputNames, &tensor, 1, outputNames, 1, &result), error);
  api.ReleaseValue(tensor);
  if (!ran) return false;
  output.Reset(&runtime_, result);

  OrtTensorTypeAndShapeInfo* info = nullptr;
  if (!Succeeded(runtime_, api.GetTensorTypeAndShape(result, &info), error)) return false;
  std::size_t dimensions = 0;
  ONNXTensorElementDataType type = ONNX_TENSOR_ELEMENT_DATA_TYPE_UNDEFINED;
  bool described = Succeeded(runtime_, api.GetDimensionsCount(info, &dimensions), error) &&
                   Succeeded(runtime_, api.GetTensorElementType(info, &type), error);
  if (described) {
    output.shape_.resize(dimensions);
    described =
        Succeeded(runtime_, api.GetDimensions(info, output.shape_.data(), dimensions), error);
  }
  api.ReleaseTensorTypeAndShapeInfo(info);
  if (!described) return false;
  if (type != ONNX_TENSOR_ELEMENT_DATA_TYPE_FLOAT) {
    error = "the model's output is not a float tensor";
    return false;
  }
  void* values = nullptr;
  if (!Succeeded(runtime_, api.GetTensorMutableData(result, &values), error)) return false;
  output.values_ = static_cast<const float*>(values);
  return true;
}

}  // namespace lumenta::ocrd::ppocr
