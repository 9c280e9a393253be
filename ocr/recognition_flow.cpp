#include "ocr/recognition_flow.h"

#include <climits>
#include <cstring>

#include "base/json_escapes.h"
#include "base/text_encoders.h"
#include "base/url_encoded_base64.h"

namespace lumenta {
namespace {

// "你还没有输入API Key", "你还没有输入Seceet Key" (sic), "请选择识别模式" in GBK.
constexpr char kNoApiKey[] =
    "\xC4\xE3\xBB\xB9\xC3\xBB\xD3\xD0\xCA\xE4\xC8\xEB"
    "API Key";
constexpr char kNoSecretKey[] =
    "\xC4\xE3\xBB\xB9\xC3\xBB\xD3\xD0\xCA\xE4\xC8\xEB"
    "Seceet Key";
constexpr char kChooseMode[] = "\xC7\xEB\xD1\xA1\xD4\xF1\xCA\xB6\xB1\xF0\xC4\xA3\xCA\xBD";

// Marks the flow as running and the cursor as busy for the length of one run; a run started
// inside another (RunRecognition called directly) leaves both to the outer one.
class RunScope {
 public:
  RunScope(bool& running, RecognitionWindow& window)
      : running_(running), window_(window), outer_(!running) {
    if (!outer_) return;
    running_ = true;
    window_.ShowBusy(true);
  }
  ~RunScope() {
    if (!outer_) return;
    window_.ShowBusy(false);
    running_ = false;
  }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

 private:
  bool& running_;
  RecognitionWindow& window_;
  const bool outer_;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

Text ServiceBaseFromSetting(std::string_view setting) {
  size_t first = 0;
  size_t last = setting.size();
  while (first < last && static_cast<unsigned char>(setting[first]) <= ' ') ++first;
  // Blanks, control characters and slashes at the end, in any order ("url=http://host/ /"):
  // the paths are appended right after the address, and nothing may stand between them.
  while (last > first &&
         (static_cast<unsigned char>(setting[last - 1]) <= ' ' || setting[last - 1] == '/')) {
    --last;
  }
  if (first == last) return kDefaultServiceBase;
  return Text(setting.substr(first, last - first));
}

int LeadingInteger(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) return static_cast<int>(-value);
  return static_cast<int>(value > INT_MAX ? INT_MAX : value);
}

Text RecognitionBody(std::string_view pictureBytes) {
  // One buffer of the exact size, written once: no Base64 text in between and no copy behind the
  // field name. For a large picture the fresh pages of each such buffer cost more than the
  // encoding (see base/url_encoded_base64.h).
  static constexpr std::string_view kField = "image=";
  Text body(kField.size() + UrlEncodedBase64Length(pictureBytes), '\0');
  std::memcpy(body.data(), kField.data(), kField.size());
  WriteUrlEncodedBase64(pictureBytes, body.data() + kField.size());
  return body;
}

Text RequestBody::ToText() const { return isPictureField_ ? RecognitionBody(picture_) : text_; }

RecognitionFlow::RecognitionFlow(RecognitionWindow& window, WebRequestFunction request,
                                 Text serviceBase)
    : window_(window),
      request_(std::move(request)),
      service_([serviceBase] {
        return ServiceAddress{serviceBase, Text()};
      }),
      serviceBase_(std::move(serviceBase)) {}

RecognitionFlow::RecognitionFlow(RecognitionWindow& window, WebRequestFunction request,
                                 ServiceLocator service)
    : window_(window), request_(std::move(request)), service_(std::move(service)) {}

void RecognitionFlow::CheckAndRecognize() {
  if (running_) return;
  if (window_.GeneralModeChecked()) return RunRecognition();
  if (window_.AccurateModeChecked()) return RunRecognition();
  if (window_.ApiKey().empty()) return window_.ShowMessage(kNoApiKey);
  if (window_.SecretKey().empty()) return window_.ShowMessage(kNoSecretKey);
  window_.ShowMessage(kChooseMode);
}

void RecognitionFlow::RunRecognition() {
  RunScope scope(running_, window_);
  report_ = RecognitionReport{};
  report_.ran = true;

  window_.ClearResult();
  ServiceAddress address = service_ ? service_() : ServiceAddress{kDefaultServiceBase, Text()};
  if (!address.problem.empty()) {
    report_.serviceProblem = address.problem;
    window_.ShowMessage(address.problem);
    return;
  }
  serviceBase_ = std::move(address.base);
  const Text apiKey = window_.ApiKey();
  const Text secretKey = window_.SecretKey();
  const Text tokenUrl = serviceBase_ + kTokenPath + apiKey + kSecretQuery + secretKey;
  report_.tokenAnswer = request_(tokenUrl, kPost, RequestBody(), Text());
  report_.token = DecodeJsonEscapes(TextBetween(report_.tokenAnswer.body, kTokenLeft, kTokenRight));

  // The picture's field is handed over unencoded: the request function encodes it while it
  // sends it, and the 12 MB of an 8 MiB picture's body are never held at once.
  // Shared, not copied: a new picture put into the box while the request runs replaces the
  // box's bytes and leaves these alone.
  const SharedBytes picture = window_.PictureBytes();
  const Text recognitionUrl = serviceBase_ + kRecognitionPath + report_.token;
  report_.recognitionAnswer =
      request_(recognitionUrl, kPost, RequestBody::PictureField(*picture), kFormHeader);
  // The answer is UTF-8: converted, never URL-decoded (a recognised "1+1" or "%41" stays).
  Text& answer = report_.recognitionAnswer.body;
  answer = Utf8ToAnsi(answer);

  report_.count = LeadingInteger(TextBetween(answer, kCountLeft, kCountRight));
  const std::vector<Text> items = ItemsBetween(answer, kLineLeft, kLineRight);
  for (int i = 0; i < report_.count && i < static_cast<int>(items.size()); ++i) {
    Text line = DecodeJsonEscapes(items[static_cast<size_t>(i)]);
    window_.AppendResult(line);
    report_.lines.push_back(std::move(line));
  }
}

}  // namespace lumenta
