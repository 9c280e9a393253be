// DecodeIcon on any bytes: never a crash, a hang or an oversized picture.
#include <string_view>

#include "fuzz/fuzz_input.h"
#include "fuzz/picture_checks.h"
#include "image/icon_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  lumenta::fuzz::CheckPicture(lumenta::image::DecodeIcon(bytes));
  return 0;
}
