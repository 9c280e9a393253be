// The reading of a response header block as a server may send it: status text, cookies, the
// redirect target and the announced length. No crash, and every piece comes out of the block.
#include "fuzz/fuzz_input.h"
#include "http/response_lines.h"

using namespace lumenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const bool headRequest = data[0] & 1;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string_view headers = AsText(bytes);

  const Text status = StatusFromResponseHeaders(headers);
  fuzz::Require(status.empty() || headers.find(status) != std::string_view::npos);

  Text cookies;
  Text location = "\x01untouched";
  ReadResponseLines(headers, cookies, location);
  fuzz::Require(location == "\x01untouched" || headers.find(location) != std::string_view::npos);

  // A body as long as any length the block could announce never falls short.
  fuzz::Require(!BodyFallsShortOfItsLength(headers, SIZE_MAX, headRequest));
  (void)BodyFallsShortOfItsLength(headers, data[0], headRequest);
  return 0;
}
