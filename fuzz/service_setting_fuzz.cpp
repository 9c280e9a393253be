// The one value of key.ini the program interprets itself: the service address of section
// "service" (the keys are taken as they are). Whatever the file holds, the address is a piece
// of it without blanks or control characters at either end and without a trailing "/", or the
// cloud service's address when nothing is left.
#include "fuzz/fuzz_input.h"
#include "ocr/recognition_flow.h"

using namespace lumenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The profile functions hand the value over as a zero-terminated text.
  const std::string_view setting =
      AsText(std::string_view(reinterpret_cast<const char*>(data), size));
  const Text base = ServiceBaseFromSetting(setting);
  fuzz::Require(!base.empty());
  if (base == kDefaultServiceBase && setting.find(kDefaultServiceBase) == std::string_view::npos) {
    return 0;
  }
  fuzz::Require(setting.find(base) != std::string_view::npos);
  fuzz::Require(static_cast<unsigned char>(base.front()) > ' ');
  fuzz::Require(static_cast<unsigned char>(base.back()) > ' ' && base.back() != '/');
  fuzz::Require(ServiceBaseFromSetting(base) == base);
  return 0;
}
