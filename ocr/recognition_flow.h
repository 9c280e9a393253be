#pragma once
// The recognition flow behind the 识别 button and the command line: the button's check
// (CheckAndRecognize) and the two requests to the OCR service (RunRecognition). Its inputs and
// outputs (the window's controls) and the request function (WebRequest) sit behind seams, so the
// same object serves the main window, the command line and the native tests.
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "base/text.h"

namespace lumenta {

// The controls the flow reads and writes, read at the moment they are needed.
class RecognitionWindow {
 public:
  virtual ~RecognitionWindow() = default;
  virtual bool GeneralModeChecked() = 0;            // 单选框_普通
  virtual bool AccurateModeChecked() = 0;           // 单选框_高精
  virtual Text ApiKey() = 0;                        // 编辑框1, as typed
  virtual Text SecretKey() = 0;                     // 编辑框2, as typed
  virtual SharedBytes PictureBytes() = 0;           // the current picture of 图片框1, unchanged
  virtual void ClearResult() = 0;                   // 编辑框_识别结果 := empty text
  virtual void AppendResult(const Text& item) = 0;  // inserted at the end of 编辑框_识别结果
  virtual void ShowMessage(const Text& message) = 0;  // message box "信息："
  virtual void ShowBusy(bool busy) = 0;               // the busy cursor while the requests run
};

// The body of a request as the flow hands it over: text, or the recognition request's picture
// field ("image=" and the URL-encoded Base64 of the picture bytes). A request function may send
// the picture field piece by piece as it is encoded (PictureFieldPieces) instead of building it
// whole first; the bytes are the same either way.
class RequestBody {
 public:
  RequestBody() = default;
  RequestBody(Text text) : text_(std::move(text)) {}  // NOLINT: a text body reads as its text

  // The picture field of `picture`, which must outlive the body.
  [[nodiscard]] static RequestBody PictureField(const ByteBuffer& picture) {
    RequestBody body;
    body.picture_ = picture.view();
    body.isPictureField_ = true;
    return body;
  }

  [[nodiscard]] bool isPictureField() const { return isPictureField_; }
  [[nodiscard]] std::string_view picture() const { return picture_; }
  // The text of a text body (empty for a picture field).
  [[nodiscard]] const Text& text() const { return text_; }
  // The whole body, built: the text, or RecognitionBody(picture()). A request function that
  // takes its body as text gets this.
  [[nodiscard]] Text ToText() const;
  operator Text() const { return ToText(); }  // NOLINT: see ToText

 private:
  Text text_;
  std::string_view picture_;
  bool isPictureField_ = false;
};

// One call of WebRequest with `url`, `method`, the body as its `bodyText` and `extraHeaders`,
// every other parameter omitted. `body` is its result (empty when the request failed);
// `statusText` its status output, kept for reports (the flow itself never reads it).
struct WebAnswer {
  Text body;
  Text statusText;
};
using WebRequestFunction = std::function<WebAnswer(
    const Text& url, int method, const RequestBody& body, const Text& extraHeaders)>;

// The cloud service's HTTPS host, the default base address of both requests.
inline constexpr char kDefaultServiceBase[] = "https://aip.baidubce.com";

// The base address to use for the `url` setting of section `service` in key.ini: the setting
// without surrounding blanks and without trailing "/" (the paths are appended to it), or the
// default when the setting is empty.
[[nodiscard]] Text ServiceBaseFromSetting(std::string_view setting);

// Where a run's requests go, asked for when a run starts: the base address, or, when there is
// none to be had (the program's own local service could not start), a message in GBK that says
// why. A run with a problem sends nothing: it shows the message and leaves the result box empty.
struct ServiceAddress {
  Text base;
  Text problem;
};
using ServiceLocator = std::function<ServiceAddress()>;

// What the last run did, for the command line's report; the window does not use it.
struct RecognitionReport {
  bool ran = false;
  Text serviceProblem;  // GBK; set when the service's address could not be had
  WebAnswer tokenAnswer;
  Text token;
  WebAnswer recognitionAnswer;  // body converted from UTF-8 to GBK
  int count = 0;
  std::vector<Text> lines;  // the items appended to the result box, in order
};

class RecognitionFlow {
 public:
  RecognitionFlow(RecognitionWindow& window, WebRequestFunction request, Text serviceBase);
  RecognitionFlow(RecognitionWindow& window, WebRequestFunction request, ServiceLocator service);

  // The click handler of 按钮_识别: runs RunRecognition when a mode is selected, otherwise
  // shows which input is missing. A click that arrives while a run of this flow is still in
  // progress (the requests let window messages through) is ignored.
  void CheckAndRecognize();

  // Empties the result box, gets a token, posts the picture and appends the recognised lines.
  void RunRecognition();

  bool running() const { return running_; }
  // The base address of the last run's requests (before the first run: the fixed address given,
  // or empty for a locator).
  const Text& serviceBase() const { return serviceBase_; }
  const RecognitionReport& lastReport() const { return report_; }

  // The fixed parts of the requests and answers, byte for byte.
  static constexpr char kTokenPath[] = "/oauth/2.0/token?grant_type=client_credentials&client_id=";
  static constexpr char kSecretQuery[] = "&client_secret=";
  static constexpr char kRecognitionPath[] = "/rest/2.0/ocr/v1/general_basic?access_token=";
  static constexpr char kFormHeader[] = "Content-Type:application/x-www-form-urlencoded";
  static constexpr char kTokenLeft[] = "access_token\":\"";
  static constexpr char kTokenRight[] = "\",\"scope";
  static constexpr char kCountLeft[] = "words_result_num\":";
  static constexpr char kCountRight[] = ",\"log_id";
  static constexpr char kLineLeft[] = "{\"words\":\"";
  static constexpr char kLineRight[] = "\"}";
  static constexpr int kPost = 1;

 private:
  RecognitionWindow& window_;
  WebRequestFunction request_;
  ServiceLocator service_;
  Text serviceBase_;  // the last address the locator gave
  bool running_ = false;
  RecognitionReport report_;
};

// The integer at the start of `text`: leading blanks skipped, an optional sign, then decimal
// digits; 0 when there is none. Values beyond the int range are clamped to it.
[[nodiscard]] int LeadingInteger(std::string_view text);

// The body of the recognition request: "image=" + URL-encoded Base64 of the picture bytes.
[[nodiscard]] Text RecognitionBody(std::string_view pictureBytes);

}  // namespace lumenta
