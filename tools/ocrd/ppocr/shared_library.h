#pragma once
// A shared library loaded at run time (dlopen, or LoadLibrary on Windows). Loading ONNX Runtime
// this way lets the service say which file is missing instead of failing to start at all, and
// lets the Windows service find it in its own folder. The library stays in the process until the
// process ends, even after its owner goes: ONNX Runtime does not support being unloaded (its
// threads and static state would be left pointing into unmapped code).
#include <memory>
#include <string>

namespace lumenta::ocrd::ppocr {

class SharedLibrary {
 public:
  // Null with the system's reason in `error` when the library cannot be loaded.
  [[nodiscard]] static std::unique_ptr<SharedLibrary> Open(const std::string& path,
                                                           std::string& error);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  // The address of an exported symbol, or null.
  [[nodiscard]] void* Symbol(const char* name) const;

 private:
  explicit SharedLibrary(void* handle) : handle_(handle) {}
  void* handle_;
};

}  // namespace lumenta::ocrd::ppocr
