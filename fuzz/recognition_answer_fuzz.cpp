// The recognition flow reading whatever the service answers: the token answer and the
// recognition answer are the two parts of the input.
#include "fuzz/fuzz_input.h"
#include "ocr/recognition_command.h"
#include "ocr/recognition_flow.h"
#include "ocr/service_error.h"

using namespace lumenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto parts = fuzz::SplitInput(data, size, 2);
  CommandLineWindow window("ak", "sk", ByteBuffer("PNG"));
  RecognitionFlow flow(
      window,
      [&parts](const Text& url, int, const Text&, const Text&) {
        const bool token = url.find("/oauth/2.0/token?") != Text::npos;
        return WebAnswer{token ? parts[0] : parts[1], "200 OK"};
      },
      "http://127.0.0.1:1");
  flow.CheckAndRecognize();
  const RecognitionReport& report = flow.lastReport();
  // No more lines than the count allows; the box holds exactly the lines; no zero bytes.
  fuzz::Require(static_cast<long long>(report.lines.size()) <= std::max(report.count, 0));
  Text joined;
  for (const Text& line : report.lines) joined += line;
  fuzz::Require(joined == window.result());
  fuzz::Require(joined.find('\0') == Text::npos);
  fuzz::Require(report.token.find('\0') == Text::npos);
  const CommandOutcome outcome = RecognitionOutcome(report, flow.serviceBase());
  fuzz::Require((outcome.exitCode == kExitText) == !report.lines.empty());
  (void)FindServiceError(parts[1]);
  return 0;
}
