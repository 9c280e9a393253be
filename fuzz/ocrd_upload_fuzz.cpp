// The local OCR service's reading of an upload: the form field, its Base64 and the shaping of
// recognised lines. The service itself is built only natively beside the program, so its three
// small decoders are compiled into this target directly.
#include "base/text_encoders.h"
#include "fuzz/fuzz_input.h"
#include "tools/ocrd/base64_decode.cpp"
#include "tools/ocrd/form_body.cpp"
#include "tools/ocrd/line_text.cpp"

using namespace lumenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::string value;
  if (ocrd::FindFormField(input, "image", value) == ocrd::FormField::kFound) {
    std::string bytes;
    if (ocrd::DecodeBase64(value, bytes)) {
      // Three bytes for every four characters at most, and what decodes survives a round trip.
      fuzz::Require(bytes.size() <= value.size() / 4 * 3);
      std::string again;
      fuzz::Require(ocrd::DecodeBase64(Base64Encode(bytes), again) && again == bytes);
    }
  }
  // Every byte string encodes and decodes unchanged.
  std::string decoded;
  fuzz::Require(ocrd::DecodeBase64(Base64Encode(input), decoded) && decoded == input);
  const std::string line = ocrd::CleanLine(input);
  fuzz::Require(line.size() <= input.size());
  return 0;
}
