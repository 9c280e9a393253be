// The recognition flow's logic with its window and its request function replaced: what it sends,
// what it reads out of the answers, and what lands in the result box. Runs natively and under
// Wine (the code pages of the system there).
#include "ocr/recognition_flow.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/text_encoders.h"
#include "ocr/recognition_command.h"

namespace lumenta {
namespace {

// GBK texts used below.
const Text kNoApiKey = Utf8ToAnsi("你还没有输入API Key");
const Text kNoSecretKey = Utf8ToAnsi("你还没有输入Seceet Key");
const Text kChooseMode = Utf8ToAnsi("请选择识别模式");

struct Request {
  Text url;
  int method;
  Text body;
  Text headers;
  bool operator==(const Request&) const = default;
};

// A window whose controls are fields, recording what the flow does to it in order.
class FakeWindow : public RecognitionWindow {
 public:
  bool general = true;
  bool accurate = false;
  Text apiKey = "ak";
  Text secretKey = "sk";
  ByteBuffer picture{"PICTURE"};
  Text result = "old result";
  std::vector<std::string> events;

  bool GeneralModeChecked() override { return general; }
  bool AccurateModeChecked() override { return accurate; }
  Text ApiKey() override { return apiKey; }
  Text SecretKey() override { return secretKey; }
  SharedBytes PictureBytes() override { return std::make_shared<const ByteBuffer>(picture); }
  void ClearResult() override {
    result.clear();
    events.push_back("clear");
  }
  void AppendResult(const Text& item) override {
    result += item;
    events.push_back("append " + item);
  }
  void ShowMessage(const Text& message) override { events.push_back("message " + message); }
  void ShowBusy(bool busy) override { events.push_back(busy ? "busy" : "idle"); }
};

// The service: answers each request from a script and records it.
class FakeService {
 public:
  Text tokenAnswer = R"({"refresh_token":"r","expires_in":2592000,"session_key":"k",)"
                     R"("access_token":"TOKEN","scope":"public","session_secret":"s"})";
  Text recognitionAnswer =  // UTF-8, as the service sends it
      R"({"words_result":[{"words":"ab"},{"words":"cd"}],"words_result_num":2,"log_id":1})";
  std::vector<Request> requests;
  std::function<void()> duringRequest;
  FakeWindow* window = nullptr;

  WebRequestFunction Function() {
    return [this](const Text& url, int method, const Text& body, const Text& headers) {
      requests.push_back({url, method, body, headers});
      if (window) window->events.push_back("request");
      if (duringRequest) duringRequest();
      const bool token = url.find("/oauth/2.0/token?") != Text::npos;
      return WebAnswer{token ? tokenAnswer : recognitionAnswer, "200 OK"};
    };
  }
};

class RecognitionFlowTest : public ::testing::Test {
 protected:
  RecognitionFlowTest() { service.window = &window; }
  FakeWindow window;
  FakeService service;
  RecognitionFlow flow{window, service.Function(), "https://ocr.example"};

  Text RunWithAnswer(const std::string& utf8Answer) {
    service.recognitionAnswer = utf8Answer;
    flow.CheckAndRecognize();
    return window.result;
  }
};

TEST_F(RecognitionFlowTest, SendsTheTokenRequestThenThePictureAndAppendsTheLines) {
  window.picture = ByteBuffer("\xFB\xFF\x00", 3);  // Base64 "+/8A"
  flow.CheckAndRecognize();
  const std::vector<Request> expected = {
      {"https://ocr.example/oauth/2.0/token?grant_type=client_credentials&client_id=ak"
       "&client_secret=sk",
       1, "", ""},
      {"https://ocr.example/rest/2.0/ocr/v1/general_basic?access_token=TOKEN", 1, "image=%2B%2F8A",
       "Content-Type:application/x-www-form-urlencoded"},
  };
  EXPECT_EQ(service.requests, expected);
  EXPECT_EQ(window.result, "abcd");  // nothing between the lines
  EXPECT_EQ(window.events, (std::vector<std::string>{"busy", "clear", "request", "request",
                                                     "append ab", "append cd", "idle"}));
}

TEST_F(RecognitionFlowTest, BothModesSendByteIdenticalRequests) {
  std::vector<std::vector<Request>> sent;
  for (const auto& [general, accurate] : {std::pair{true, false}, {false, true}, {true, true}}) {
    service.requests.clear();
    window.general = general;
    window.accurate = accurate;
    flow.CheckAndRecognize();
    sent.push_back(service.requests);
  }
  EXPECT_EQ(sent[0].size(), 2u);
  EXPECT_EQ(sent[1], sent[0]);
  EXPECT_EQ(sent[2], sent[0]);
}

TEST_F(RecognitionFlowTest, EmptyKeysStillSendBothRequests) {
  window.apiKey.clear();
  window.secretKey.clear();
  service.tokenAnswer = R"({"error":"invalid_client","error_description":"unknown client id"})";
  service.recognitionAnswer =
      R"({"error_code":110,"error_msg":"Access token invalid or no longer valid"})";
  flow.CheckAndRecognize();
  ASSERT_EQ(service.requests.size(), 2u);
  EXPECT_EQ(service.requests[0].url,
            "https://ocr.example/oauth/2.0/token?grant_type=client_credentials&client_id="
            "&client_secret=");
  EXPECT_EQ(service.requests[1].url,
            "https://ocr.example/rest/2.0/ocr/v1/general_basic?access_token=");
  EXPECT_EQ(window.result, "");
  EXPECT_EQ(std::count_if(window.events.begin(), window.events.end(),
                          [](const std::string& e) { return e.rfind("message", 0) == 0; }),
            0);
}

TEST_F(RecognitionFlowTest, KeysAndTokenGoIntoTheAddressesExactlyAsGiven) {
  window.apiKey = "a k+%";
  window.secretKey = Utf8ToAnsi("密钥");
  service.tokenAnswer = R"({"access_token":"24.x y&z","scope":"s"})";
  flow.CheckAndRecognize();
  ASSERT_EQ(service.requests.size(), 2u);
  EXPECT_EQ(service.requests[0].url,
            "https://ocr.example/oauth/2.0/token?grant_type=client_credentials&client_id=a k+%"
            "&client_secret=" +
                Utf8ToAnsi("密钥"));
  EXPECT_EQ(service.requests[1].url,
            "https://ocr.example/rest/2.0/ocr/v1/general_basic?access_token=24.x y&z");
}

TEST_F(RecognitionFlowTest, AZeroBytePictureSendsExactlyImageEquals) {
  window.picture.clear();
  flow.CheckAndRecognize();
  ASSERT_EQ(service.requests.size(), 2u);
  EXPECT_EQ(service.requests[1].body, "image=");
}

TEST_F(RecognitionFlowTest, TheTokenIsTheTextBetweenItsMarkers) {
  struct Case {
    const char* answer;
    const char* token;
  };
  const Case cases[] = {
      {R"({"access_token":"24.abc.def","scope":"x"})", "24.abc.def"},
      {R"({"access_token":"with blanks inside","scope":"x"})", "with blanks inside"},
      {R"({"access_token":"a\/b\u0041","scope":"x"})", "a/bA"},         // JSON escapes decoded
      {R"({"access_token":"24.abc","expires_in":1,"scope":"x"})", ""},  // scope not right after
      {R"({"scope":"x","access_token":"24.abc"})", ""},
      {R"({"error":"invalid_client","error_description":"unknown client id"})", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    service.requests.clear();
    service.tokenAnswer = c.answer;
    flow.CheckAndRecognize();
    ASSERT_EQ(service.requests.size(), 2u) << c.answer;
    EXPECT_EQ(
        service.requests[1].url,
        std::string("https://ocr.example/rest/2.0/ocr/v1/general_basic?access_token=") + c.token)
        << c.answer;
  }
}

TEST_F(RecognitionFlowTest, TheCountDecidesHowManyLinesAreAppended) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"words_result":[{"words":"ab"},{"words":"cd"},{"words":"ef"}],"words_result_num":2,"log_id":1})",
       "abcd"},
      {R"({"words_result":[{"words":"ab"}],"words_result_num":5,"log_id":1})", "ab"},
      {R"({"words_result":[{"words":"ab"}],"words_result_num": 1,"log_id":1})", "ab"},
      {R"({"words_result":[{"words":"ab"}],"words_result_num":+1,"log_id":1})", "ab"},
      {R"({"words_result":[{"words":"ab"}],"words_result_num":0,"log_id":1})", ""},
      {R"({"words_result":[{"words":"ab"}],"words_result_num":-3,"log_id":1})", ""},
      {R"({"log_id":1,"words_result":[{"words":"ab"}],"words_result_num":1,"direction":0})", ""},
      {R"({"log_id":1,"words_result_num":1,"words_result":[{"words":"ab"}]})", ""},
      {R"({"words_result":[{"words":"ab"}],"words_result_num":99999999999,"log_id":1})", "ab"},
      {R"({"error_code":216201,"error_msg":"image format error"})", ""},
      {"", ""},
  };
  for (const auto& [answer, result] : cases) EXPECT_EQ(RunWithAnswer(answer), result) << answer;
}

TEST_F(RecognitionFlowTest, TheAnswerIsConvertedFromUtf8ButNeverUrlDecoded) {
  const std::pair<std::string, Text> cases[] = {
      {"1+1", "1+1"},
      {"%41", "%41"},
      {"100% sure", "100% sure"},
      {"中文识别", Utf8ToAnsi("中文识别")},
      {"乗", "\x81\x5C"},  // a GBK character whose second byte is a backslash
  };
  for (const auto& [line, shown] : cases) {
    EXPECT_EQ(RunWithAnswer(R"({"words_result":[{"words":")" + line +
                            R"("}],"words_result_num":1,"log_id":1})"),
              shown)
        << line;
  }
}

TEST_F(RecognitionFlowTest, JsonEscapesInEachLineAreDecoded) {
  const std::pair<std::string, Text> cases[] = {
      {R"(say \"hi\")", "say \"hi\""},
      {R"(a\\b)", "a\\b"},
      {R"(http:\/\/x)", "http://x"},
      {R"(tab\there)", "tab\there"},
      {R"(\b\f\n\r)", "\b\f\n\r"},
      {R"(\u4e2d\u6587)", Utf8ToAnsi("中文")},
      {R"(\u0041\u00e9)", "A\xA8\xA6"},  // é is in GBK
      {R"(\u0e01)", "?"},                // Thai is not: the default character
      {R"(\ud83d\ude00!)", "?!"},        // a surrogate pair is one character (not in GBK)
      {R"(\ud83d!)", "?!"},              // a lone surrogate
      {R"(\q\u12)", "\\q\\u12"},         // no escape: kept as it is
  };
  for (const auto& [escaped, shown] : cases) {
    EXPECT_EQ(RunWithAnswer(R"({"words_result":[{"words":")" + escaped +
                            R"("}],"words_result_num":1,"log_id":1})"),
              shown)
        << escaped;
  }
}

TEST_F(RecognitionFlowTest, WithNeitherModeSelectedAMessageNamesWhatIsMissing) {
  struct Case {
    const char* apiKey;
    const char* secretKey;
    Text message;
  };
  const Case cases[] = {
      {"", "", kNoApiKey},
      {"", "sk", kNoApiKey},
      {"ak", "", kNoSecretKey},
      {"ak", "sk", kChooseMode},
  };
  for (const Case& c : cases) {
    window.general = window.accurate = false;
    window.apiKey = c.apiKey;
    window.secretKey = c.secretKey;
    window.events.clear();
    window.result = "kept";
    flow.CheckAndRecognize();
    EXPECT_EQ(window.events, std::vector<std::string>{"message " + c.message});
    EXPECT_EQ(window.result, "kept");
  }
  EXPECT_TRUE(service.requests.empty());
}

TEST_F(RecognitionFlowTest, TheMessagesAreTheProgramsOwnBytes) {
  EXPECT_EQ(kNoApiKey,
            "\xC4\xE3\xBB\xB9\xC3\xBB\xD3\xD0\xCA\xE4\xC8\xEB"
            "API Key");
  EXPECT_EQ(kNoSecretKey,
            "\xC4\xE3\xBB\xB9\xC3\xBB\xD3\xD0\xCA\xE4\xC8\xEB"
            "Seceet Key");
  EXPECT_EQ(kChooseMode, "\xC7\xEB\xD1\xA1\xD4\xF1\xCA\xB6\xB1\xF0\xC4\xA3\xCA\xBD");
}

TEST_F(RecognitionFlowTest, AClickDuringARunIsIgnored) {
  int nestedClicks = 0;
  service.duringRequest = [&] {
    ++nestedClicks;
    EXPECT_TRUE(flow.running());
    flow.CheckAndRecognize();  // a click dispatched while the request pumps window messages
  };
  flow.CheckAndRecognize();
  EXPECT_EQ(nestedClicks, 2);
  EXPECT_EQ(service.requests.size(), 2u);
  EXPECT_EQ(window.result, "abcd");
  EXPECT_FALSE(flow.running());
  service.duringRequest = nullptr;
  flow.CheckAndRecognize();  // after the run, a click runs again
  EXPECT_EQ(service.requests.size(), 4u);
}

TEST_F(RecognitionFlowTest, AFailedRunLeavesTheResultBoxEmpty) {
  service.tokenAnswer.clear();
  service.recognitionAnswer.clear();
  flow.CheckAndRecognize();
  EXPECT_EQ(window.result, "");
  EXPECT_EQ(service.requests.size(), 2u);
  EXPECT_EQ(window.events.back(), "idle");
}

TEST_F(RecognitionFlowTest, TheReportKeepsWhatTheRunSawForTheCommandLine) {
  flow.CheckAndRecognize();
  const RecognitionReport& report = flow.lastReport();
  EXPECT_TRUE(report.ran);
  EXPECT_EQ(report.token, "TOKEN");
  EXPECT_EQ(report.tokenAnswer.statusText, "200 OK");
  EXPECT_EQ(report.count, 2);
  EXPECT_EQ(report.lines, (std::vector<Text>{"ab", "cd"}));
}

TEST(RecognitionServiceLocator, IsAskedAtEveryRunAndNotBefore) {
  FakeWindow window;
  FakeService service;
  std::vector<Text> bases = {"http://127.0.0.1:1", "http://127.0.0.1:2"};
  int asked = 0;
  RecognitionFlow flow(window, service.Function(), [&] {
    return ServiceAddress{bases[static_cast<size_t>(asked++)], Text()};
  });
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(flow.serviceBase(), "");
  flow.CheckAndRecognize();
  flow.CheckAndRecognize();
  ASSERT_EQ(service.requests.size(), 4u);
  EXPECT_EQ(service.requests[0].url.rfind("http://127.0.0.1:1/oauth/2.0/token?", 0), 0u);
  EXPECT_EQ(service.requests[3].url.rfind("http://127.0.0.1:2/rest/2.0/ocr/v1/general_basic?", 0),
            0u);
  EXPECT_EQ(flow.serviceBase(), "http://127.0.0.1:2");
}

TEST(RecognitionServiceLocator, AProblemIsShownAndNothingIsSent) {
  FakeWindow window;
  FakeService service;
  service.window = &window;
  const Text problem = Utf8ToAnsi("本地识别服务缺少文件：onnxruntime.dll");
  Text current = problem;
  RecognitionFlow flow(window, service.Function(), [&] {
    return current.empty() ? ServiceAddress{"http://127.0.0.1:3", Text()}
                           : ServiceAddress{"", current};
  });
  flow.CheckAndRecognize();
  EXPECT_TRUE(service.requests.empty());
  EXPECT_EQ(window.result, "");
  EXPECT_EQ(window.events,
            (std::vector<std::string>{"busy", "clear", "message " + problem, "idle"}));
  EXPECT_EQ(flow.lastReport().serviceProblem, problem);

  const CommandOutcome outcome = RecognitionOutcome(flow.lastReport(), flow.serviceBase());
  EXPECT_EQ(outcome.exitCode, kExitRequestFailed);
  EXPECT_EQ(outcome.standardError, "request failed: 本地识别服务缺少文件：onnxruntime.dll\n");

  // The next run asks again: a problem mended since is gone.
  current.clear();
  flow.CheckAndRecognize();
  EXPECT_EQ(service.requests.size(), 2u);
  EXPECT_TRUE(flow.lastReport().serviceProblem.empty());
  EXPECT_EQ(window.result, "abcd");
}

TEST(RecognitionService, TheSettingReplacesTheCloudHost) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "https://aip.baidubce.com"},
      {"   ", "https://aip.baidubce.com"},
      {"http://127.0.0.1:8080", "http://127.0.0.1:8080"},
      {" http://localhost:8080/ ", "http://localhost:8080"},
      {"https://ocr.example/base//", "https://ocr.example/base"},
      {"http://localhost:8080/ /\t", "http://localhost:8080"},
      {"/ /", "https://aip.baidubce.com"},
  };
  for (const auto& [setting, base] : cases) EXPECT_EQ(ServiceBaseFromSetting(setting), base);
}

TEST(RecognitionService, LeadingIntegerReadsLikeTheCountRule) {
  const std::pair<const char*, int> cases[] = {
      {"2", 2},
      {"  12", 12},
      {"+3", 3},
      {"-4", -4},
      {"7x", 7},
      {"", 0},
      {"x7", 0},
      {"-", 0},
      {"\t5", 5},
      {"2147483647", 2147483647},
      {"99999999999999999999", 2147483647},
      {"-99999999999", -2147483647 - 1},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(LeadingInteger(text), value) << text;
}

}  // namespace
}  // namespace lumenta
