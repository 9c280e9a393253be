// Command-line recognition: its arguments, and the output and exit code of a finished run.
#include "ocr/recognition_command.h"

#include <gtest/gtest.h>

#include "base/json_escapes.h"
#include "base/text_encoders.h"
#include "ocr/service_error.h"

namespace lumenta {
namespace {

using Mode = ProgramArguments::Mode;

TEST(RecognitionCommand, ArgumentsChooseTheWindowOrACommandLineRun) {
  struct Case {
    std::vector<std::u16string> arguments;
    Mode mode;
    std::u16string picture;
    const char* service;  // nullptr: none given
  };
  const Case cases[] = {
      {{}, Mode::kWindow, u"", nullptr},
      {{u"C:\\pictures\\a.png"}, Mode::kWindow, u"", nullptr},  // "Open with" starts the window
      {{u"--recognize", u"a.png"}, Mode::kRecognize, u"a.png", nullptr},
      {{u"--recognize", u"图片.png", u"--service", u"http://127.0.0.1:1"},
       Mode::kRecognize,
       u"图片.png",
       "http://127.0.0.1:1"},
      {{u"--service", u"http://h", u"--recognize", u"a.png"},
       Mode::kRecognize,
       u"a.png",
       "http://h"},
      {{u"--help"}, Mode::kUsage, u"", nullptr},
      {{u"--recognize"}, Mode::kBad, u"", nullptr},
      {{u"--recognize", u""}, Mode::kBad, u"", nullptr},
      {{u"--service", u"http://h"}, Mode::kWindow, u"", "http://h"},
      {{u"--recognize", u"a", u"--recognize", u"b"}, Mode::kBad, u"", nullptr},
      {{u"--recognize", u"a", u"extra"}, Mode::kBad, u"", nullptr},
      {{u"--frobnicate"}, Mode::kBad, u"", nullptr},
  };
  for (const Case& c : cases) {
    const ProgramArguments parsed = ParseProgramArguments(c.arguments);
    const std::string label =
        c.arguments.empty() ? "(none)" : AnsiToUtf8(Utf16ToGbk(c.arguments[0])).TakeString();
    EXPECT_EQ(parsed.mode, c.mode) << label;
    if (c.mode != Mode::kRecognize && c.mode != Mode::kWindow) continue;
    EXPECT_EQ(parsed.picturePath, c.picture) << label;
    EXPECT_EQ(parsed.hasService, c.service != nullptr) << label;
    if (c.service) {
      EXPECT_EQ(parsed.service, c.service) << label;
    }
  }
  EXPECT_FALSE(ParseProgramArguments({u"--bogus"}).error.empty());
}

RecognitionReport Report(Text tokenBody, Text token, Text answer, std::vector<Text> lines,
                         Text tokenStatus = "200 OK", Text answerStatus = "200 OK") {
  RecognitionReport report;
  report.ran = true;
  report.tokenAnswer = {std::move(tokenBody), std::move(tokenStatus)};
  report.token = std::move(token);
  report.recognitionAnswer = {std::move(answer), std::move(answerStatus)};
  report.lines = std::move(lines);
  report.count = static_cast<int>(report.lines.size());
  return report;
}

TEST(RecognitionCommand, EachOutcomeHasItsExitCodeAndReason) {
  const Text tokenAnswer = R"({"access_token":"T","scope":"s"})";
  const Text failedSend = Utf8ToAnsi("711 发送请求失败!");
  struct Case {
    const char* what;
    RecognitionReport report;
    int exitCode;
    std::string out;
    std::string err;
  };
  const Case cases[] = {
      {"text", Report(tokenAnswer, "T", "..", {Utf8ToAnsi("中文"), "English"}), 0,
       "中文\nEnglish\n", ""},
      {"token request failed", Report("", "", "", {}, failedSend, failedSend), 3, "",
       "request failed: token request to http://127.0.0.1:9: 711 发送请求失败!\n"},
      {"wrong keys",
       Report(R"({"error":"invalid_client","error_description":"unknown client id"})", "",
              R"({"error_code":110,"error_msg":"Access token invalid or no longer valid"})", {}),
       4, "", "service error invalid_client: unknown client id (token request)\n"},
      {"a token answer of another kind", Report("<html>", "", "", {}), 4, "",
       "service error: the answer to the token request holds no token\n"},
      {"recognition request failed", Report(tokenAnswer, "T", "", {}, "200 OK", failedSend), 3, "",
       "request failed: recognition request to http://127.0.0.1:9: 711 发送请求失败!\n"},
      {"service error",
       Report(tokenAnswer, "T", R"({"error_code":216201,"error_msg":"image format error"})", {}), 4,
       "", "service error 216201: image format error\n"},
      {"no text",
       Report(tokenAnswer, "T", R"({"words_result":[],"words_result_num":0,"log_id":1})", {}), 1,
       "", "no text was recognised\n"},
  };
  for (const Case& c : cases) {
    const CommandOutcome outcome = RecognitionOutcome(c.report, "http://127.0.0.1:9");
    EXPECT_EQ(outcome.exitCode, c.exitCode) << c.what;
    EXPECT_EQ(outcome.standardOutput, c.out) << c.what;
    EXPECT_EQ(outcome.standardError, c.err) << c.what;
  }
}

TEST(RecognitionCommand, TheCommandLineWindowRunsTheFlowWithTheGivenKeysAndPicture) {
  CommandLineWindow window("ak", "sk", ByteBuffer("PNG"));
  std::vector<Text> urls;
  std::vector<Text> bodies;
  RecognitionFlow flow(
      window,
      [&](const Text& url, int, const Text& body, const Text&) {
        urls.push_back(url);
        bodies.push_back(body);
        return WebAnswer{
            urls.size() == 1
                ? Text(R"({"access_token":"T","scope":"s"})")
                : Text(
                      R"({"words_result":[{"words":"a"},{"words":"b"}],"words_result_num":2,"log_id":3})"),
            "200 OK"};
      },
      "http://127.0.0.1:9");
  flow.CheckAndRecognize();
  ASSERT_EQ(urls.size(), 2u);
  EXPECT_EQ(urls[0],
            "http://127.0.0.1:9/oauth/2.0/token?grant_type=client_credentials"
            "&client_id=ak&client_secret=sk");
  EXPECT_EQ(bodies[1], "image=UE5H");
  EXPECT_EQ(window.result(), "ab");
  EXPECT_TRUE(window.messages().empty());
  EXPECT_EQ(RecognitionOutcome(flow.lastReport(), flow.serviceBase()).standardOutput, "a\nb\n");
}

TEST(ServiceErrors, AreFoundInBothKindsOfErrorObject) {
  struct Case {
    const char* answer;
    bool found;
    const char* code;
    const char* message;
  };
  const Case cases[] = {
      {R"({"error_code":110,"error_msg":"Access token invalid or no longer valid"})", true, "110",
       "Access token invalid or no longer valid"},
      {R"({"log_id": 5, "error_msg": "image size error", "error_code": 216202})", true, "216202",
       "image size error"},
      {R"({"error":"invalid_client","error_description":"unknown client id"})", true,
       "invalid_client", "unknown client id"},
      {R"({"error_code":17,"error_msg":"Open api daily request limit \"reached\""})", true, "17",
       "Open api daily request limit \"reached\""},
      {R"({"error_code":18})", true, "18", ""},
      {R"({"words_result":[],"words_result_num":0,"log_id":1})", false, "", ""},
      {R"({"error_msg":"no code"})", false, "", ""},
      {"", false, "", ""},
  };
  for (const Case& c : cases) {
    const auto error = FindServiceError(c.answer);
    ASSERT_EQ(error.has_value(), c.found) << c.answer;
    if (!c.found) continue;
    EXPECT_EQ(error->code, c.code) << c.answer;
    EXPECT_EQ(error->message, c.message) << c.answer;
  }
}

TEST(JsonEscapes, StepOverDoubleByteCharactersWhole) {
  // "乗\n": the first byte pair is one GBK character ending in 0x5C, then a real escape.
  EXPECT_EQ(DecodeJsonEscapes("\x81\x5Cn\\n"), "\x81\x5Cn\n");
  EXPECT_EQ(DecodeJsonEscapes("\x81\x5C\\\""), "\x81\x5C\"");
  EXPECT_EQ(DecodeJsonEscapes("trailing\\"), "trailing\\");
  EXPECT_EQ(DecodeJsonEscapes("zero\\u0000gone"), "zerogone");
  EXPECT_EQ(DecodeJsonEscapes("\\uDE00\\uD83D"), "??");
}

}  // namespace
}  // namespace lumenta
