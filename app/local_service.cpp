#include "app/local_service.h"

#include <charconv>

#include "base/text_encoders.h"

namespace lumenta::app {
namespace {

constexpr std::string_view kListening = "ocrd listening on http://127.0.0.1:";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The last line the service printed about a failure ("ocrd: ..."), without the prefix; else the
// last line that is not blank.
std::string_view Reason(std::string_view output) {
  std::string_view last;
  std::string_view failure;
  size_t start = 0;
  while (start < output.size()) {
    size_t end = output.find('\n', start);
    if (end == std::string_view::npos) end = output.size();
    const std::string_view line = Trimmed(output.substr(start, end - start));
    if (!line.empty()) last = line;
    if (line.substr(0, 6) == "ocrd: ") failure = line.substr(6);
    start = end + 1;
  }
  return failure.empty() ? last : failure;
}

}  // namespace

bool IsLocalServiceSetting(std::string_view setting) {
  setting = Trimmed(setting);
  if (setting.size() != 5) return false;
  for (size_t i = 0; i < 5; ++i) {
    const char c = setting[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != "local"[i]) return false;
  }
  return true;
}

const std::vector<std::string>& LocalServiceFiles() {
  static const std::vector<std::string> files = {
      kLocalServiceProgram,
      "onnxruntime.dll",
      "models\\ch_PP-OCRv4_det_infer.onnx",
      "models\\ch_PP-OCRv4_rec_infer.onnx",
      "models\\ppocr_keys_v1.txt",
  };
  return files;
}

std::optional<int> ListeningPort(std::string_view output) {
  size_t start = 0;
  while (start < output.size()) {
    const size_t end = output.find('\n', start);
    if (end == std::string_view::npos) return std::nullopt;  // a line still being written
    std::string_view line = output.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.substr(0, kListening.size()) == kListening) {
      const std::string_view digits = line.substr(kListening.size());
      int port = 0;
      const auto [rest, error] =
          std::from_chars(digits.data(), digits.data() + digits.size(), port);
      if (error == std::errc() && rest == digits.data() + digits.size() && port > 0 &&
          port < 65536) {
        return port;
      }
    }
    start = end + 1;
  }
  return std::nullopt;
}

Text LocalServiceBase(int port) { return "http://127.0.0.1:" + std::to_string(port); }

Text MissingFilesMessage(const std::vector<std::string>& missing) {
  std::string names;
  for (const std::string& name : missing) {
    if (!names.empty()) names += "\xE3\x80\x81";  // 、
    names += name;
  }
  return Utf8ToAnsi("本地识别服务无法启动，程序目录中缺少：" + names);
}

Text ServiceEndedMessage(std::string_view output) {
  const std::string_view reason = Reason(output);
  if (reason.empty()) return Utf8ToAnsi("本地识别服务启动后立即退出了。");
  return Utf8ToAnsi("本地识别服务无法启动：" + std::string(reason));
}

Text ServiceTooSlowMessage() {
  return Utf8ToAnsi("本地识别服务在 " + std::to_string(kLocalServiceStartLimitMs / 1000) +
                    " 秒内没有启动。");
}

Text ServiceNotRunMessage(unsigned long systemError) {
  return Utf8ToAnsi(std::string("无法运行 ") + kLocalServiceProgram + "（错误 " +
                    std::to_string(systemError) + "）。");
}

}  // namespace lumenta::app
