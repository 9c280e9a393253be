#include <windows.h>

#include "tools/ocrd/ppocr/shared_library.h"

namespace lumenta::ocrd::ppocr {
namespace {

std::wstring WideFromUtf8(const std::string& text) {
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

}  // namespace

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const std::string& path, std::string& error) {
  // The library's own dependencies are looked for beside it, not in the current folder.
  const std::wstring wide = WideFromUtf8(path);
  HMODULE handle = LoadLibraryExW(wide.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!handle) {
    error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return nullptr;
  }
  // Pinned: FreeLibrary will not unload it.
  HMODULE pinned = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, wide.c_str(), &pinned);
  return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

SharedLibrary::~SharedLibrary() { FreeLibrary(static_cast<HMODULE>(handle_)); }

void* SharedLibrary::Symbol(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

}  // namespace lumenta::ocrd::ppocr
