#include <dlfcn.h>

#include "tools/ocrd/ppocr/shared_library.h"

namespace lumenta::ocrd::ppocr {

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::string& path, std::string& error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!handle) {
    const char* reason = dlerror();
    error = reason ? reason : "cannot load " + path;
    return nullptr;
  }
  return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() { dlclose(handle_); }

void* SharedLibrary::Symbol(const char* name) const { return dlsym(handle_, name); }

}  // namespace lumenta::ocrd::ppocr
