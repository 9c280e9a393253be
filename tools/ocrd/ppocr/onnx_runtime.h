#pragma once
// ONNX Runtime through its C API, from a shared library loaded at run time: the process's one
// runtime environment with one pool of threads that every model shares, and models that run one
// float tensor in and give one float tensor out. The C API reports failures as status objects;
// they become texts here and nothing throws.
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

struct OrtApi;
struct OrtEnv;
struct OrtMemoryInfo;
struct OrtSession;
struct OrtStatus;
struct OrtValue;

namespace lumenta::ocrd::ppocr {

class SharedLibrary;

class OnnxRuntime {
 public:
  // Loads the library at `libraryPath` and creates the environment with a pool of `threads`
  // threads for all models, so that models running at the same time share the processors
  // instead of each bringing threads of its own. Null with the reason in `error`.
  [[nodiscard]] static std::unique_ptr<OnnxRuntime> Load(const std::string& libraryPath,
                                                         int threads, std::string& error);
  ~OnnxRuntime();
  OnnxRuntime(const OnnxRuntime&) = delete;
  OnnxRuntime& operator=(const OnnxRuntime&) = delete;

  const OrtApi& api() const { return *api_; }
  OrtEnv* env() const { return env_; }
  const OrtMemoryInfo* cpuMemory() const { return cpuMemory_; }
  const std::string& version() const { return version_; }

  // The message of `status` (released); empty for success (null).
  [[nodiscard]] std::string Consume(OrtStatus* status) const;

 private:
  OnnxRuntime() = default;
  std::unique_ptr<SharedLibrary> library_;
  const OrtApi* api_ = nullptr;
  OrtEnv* env_ = nullptr;
  OrtMemoryInfo* cpuMemory_ = nullptr;
  std::string version_;
};

// The first output of a run: its shape and its values, owned until destroyed or reused.
class TensorOutput {
 public:
  TensorOutput() = default;
  ~TensorOutput();
  TensorOutput(const TensorOutput&) = delete;
  TensorOutput& operator=(const TensorOutput&) = delete;

  const std::vector<std::int64_t>& shape() const { return shape_; }
  const float* values() const { return values_; }

 private:
  friend class OnnxModel;
  void Reset(const OnnxRuntime* runtime, OrtValue* value);
  const OnnxRuntime* runtime_ = nullptr;
  OrtValue* value_ = nullptr;
  const float* values_ = nullptr;
  std::vector<std::int64_t> shape_;
};

// One model's session. Runs may come from several threads at once; an `exclusive` model runs
// one at a time (the others wait), which bounds the memory a large model's runs take.
class OnnxModel {
 public:
  // `model` holds the bytes of an .onnx file. Null with the reason in `error`.
  [[nodiscard]] static std::unique_ptr<OnnxModel> Load(const OnnxRuntime& runtime,
                                                       const std::string& model, bool exclusive,
                                                       std::string& error);
  ~OnnxModel();
  OnnxModel(const OnnxModel&) = delete;
  OnnxModel& operator=(const OnnxModel&) = delete;

  // Runs the model on `input` (float, laid out as `shape` says); its first output goes to
  // `output`. False with the runtime's reason in `error`.
  [[nodiscard]] bool Run(std::span<const std::int64_t> shape, std::span<float> input,
                         TensorOutput& output, std::string& error);

 private:
  OnnxModel(const OnnxRuntime& runtime, bool exclusive)
      : runtime_(runtime), exclusive_(exclusive) {}
  [[nodiscard]] bool RunNow(std::span<const std::int64_t> shape, std::span<float> input,
                            TensorOutput& output, std::string& error);

  const OnnxRuntime& runtime_;
  const bool exclusive_;
  std::mutex turn_;
  OrtSession* session_ = nullptr;
  std::string inputName_;
  std::string outputName_;
};

}  // namespace lumenta::ocrd::ppocr
