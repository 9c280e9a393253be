// The 识别 button of the real main window with the real WebRequest, against a scripted loopback
// server that records every request byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/event_table_win.h"
#include "app/recognition_win.h"
#include "app/web_request_function_win.h"
#include "app/window_designs.h"
#include "base/text_encoders.h"
#include "ocr/recognition_flow.h"
#include "scripted_server_win.h"
#include "ui/message_box.h"
#include "ui/window_win.h"

namespace lumenta {
namespace {

using testing::RecordedRequest;
using testing::ScriptedReply;
using testing::ScriptedServer;

// The request line and header lines of a recorded request, without the Host line (its port
// differs between servers).
std::string HeadWithoutHost(const RecordedRequest& request) {
  std::string head;
  size_t from = 0;
  while (from < request.head.size()) {
    const size_t end = request.head.find("\r\n", from);
    const std::string line = request.head.substr(from, end - from);
    if (line.rfind("Host:", 0) != 0) head += line + "\n";
    from = end + 2;
  }
  return head;
}

class FlowRequestsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = ui::Window::Create(app::MainWindowDesign(), app::MainWindowEvents());
    ASSERT_NE(window, nullptr);
    window->SetText("编辑框1", "my-api-key");
    window->SetText("编辑框2", "my-secret-key");
  }
  void TearDown() override { app::SetRecognitionService(kDefaultServiceBase, nullptr); }

  // Serves the button from `server` and clicks it once.
  void ClickAgainst(const ScriptedServer& server) {
    app::SetRecognitionService(server.base(), app::WebRequestFunctionForProgram());
    SendMessageW(window->ControlHandle("按钮_识别"), BM_CLICK, 0, 0);
  }

  Text Result() const { return window->GetText("编辑框_识别结果"); }

  std::unique_ptr<ui::Window> window;
};

TEST_F(FlowRequestsTest, TheTwoRequestsAreSentAsDescribed) {
  ScriptedServer server(testing::TokenThenAnswer(
      "24.tok",
      R"({"words_result":[{"words":"ab"},{"words":"cd"}],"words_result_num":2,"log_id":9})"));
  window->SetPicture("图片框1", ByteBuffer("\xFB\xFF\x00PNG", 6));
  ClickAgainst(server);
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].target,
            "/oauth/2.0/token?grant_type=client_credentials&client_id=my-api-key"
            "&client_secret=my-secret-key");
  EXPECT_EQ(requests[0].body, "");
  EXPECT_EQ(requests[1].method, "POST");
  EXPECT_EQ(requests[1].target, "/rest/2.0/ocr/v1/general_basic?access_token=24.tok");
  EXPECT_EQ(requests[1].body, "image=%2B%2F8AUE5H");
  // The extra header goes out as given (WebRequest re-cases header names).
  EXPECT_NE(requests[1].head.find("\r\nContent-Type: application/x-www-form-urlencoded\r\n"),
            std::string::npos)
      << requests[1].head;
  EXPECT_EQ(Result(), "abcd");
}

TEST_F(FlowRequestsTest, BothModesSendByteIdenticalRequests) {
  const std::string answer = R"({"words_result":[{"words":"x"}],"words_result_num":1,"log_id":1})";
  window->SetPicture("图片框1", ByteBuffer("GIF89a and some bytes"));
  std::vector<std::vector<std::string>> raw;
  for (const char* mode : {"单选框_普通", "单选框_高精"}) {
    ScriptedServer server(testing::TokenThenAnswer("T", answer));
    SendMessageW(window->ControlHandle(mode), BM_CLICK, 0, 0);
    ASSERT_TRUE(window->IsChecked(mode));
    ClickAgainst(server);
    std::vector<std::string> sent;
    for (const RecordedRequest& request : server.requests()) {
      sent.push_back(HeadWithoutHost(request) + request.body);
    }
    raw.push_back(sent);
  }
  ASSERT_EQ(raw[0].size(), 2u);
  EXPECT_EQ(raw[1], raw[0]);
}

// A picture whose body spans many of WebRequest's pieces, with a last group that needs padding:
// the bytes on the wire are those of the body built whole, under the announced length.
TEST_F(FlowRequestsTest, ALargePictureIsSentAsTheBodyBuiltWhole) {
  ScriptedServer server(
      testing::TokenThenAnswer("T", R"({"words_result":[],"words_result_num":0,"log_id":1})"));
  std::string picture(1'000'001, '\0');
  uint32_t state = 7;
  for (char& byte : picture) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<char>(state >> 24);
  }
  window->SetPicture("图片框1", ByteBuffer(picture));
  ClickAgainst(server);
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  const Text expected = RecognitionBody(picture);
  EXPECT_EQ(requests[1].body.size(), expected.size());
  EXPECT_TRUE(requests[1].body == expected);  // not printed: 1.3 MB
  EXPECT_NE(
      requests[1].head.find("\r\nContent-Length: " + std::to_string(expected.size()) + "\r\n"),
      std::string::npos);
}

TEST_F(FlowRequestsTest, EmptyKeysAndNoPictureStillSendBothRequests) {
  ScriptedServer server([](const RecordedRequest& request) {
    if (request.target.rfind("/oauth/", 0) == 0) {
      return ScriptedReply{R"({"error":"invalid_client","error_description":"unknown client id"})",
                           "HTTP/1.1 401 Unauthorized"};
    }
    return ScriptedReply{
        R"({"error_code":110,"error_msg":"Access token invalid or no longer valid"})"};
  });
  window->SetText("编辑框1", "");
  window->SetText("编辑框2", "");
  window->SetText("编辑框_识别结果", "earlier text");
  ui::MessageRecorder messages;
  ClickAgainst(server);
  const auto requests = server.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].target,
            "/oauth/2.0/token?grant_type=client_credentials&client_id=&client_secret=");
  EXPECT_EQ(requests[1].target, "/rest/2.0/ocr/v1/general_basic?access_token=");
  EXPECT_EQ(requests[1].body, "image=");
  EXPECT_EQ(Result(), "");
  EXPECT_TRUE(messages.texts().empty());
}

TEST_F(FlowRequestsTest, AnswersAreReadAsUtf8WithTheirEscapesAndNoUrlDecoding) {
  ScriptedServer server(testing::TokenThenAnswer(
      "T",
      "{\"words_result\":[{\"words\":\"1+1 %41\"},{\"words\":\"中文 \\\"引号\\\" \\u4e2d\"}],"
      "\"words_result_num\":2,\"log_id\":1}"));
  ClickAgainst(server);
  EXPECT_EQ(Result(), Utf8ToAnsi("1+1 %41中文 \"引号\" 中"));
}

TEST_F(FlowRequestsTest, TheCountBoundsTheLinesAndAnotherMemberAfterItEmptiesTheBox) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"words_result":[{"words":"a"},{"words":"b"},{"words":"c"}],"words_result_num":2,"log_id":1})",
       "ab"},
      {R"({"words_result":[{"words":"a"}],"words_result_num":3,"log_id":1})", "a"},
      {R"({"log_id":1,"words_result":[{"words":"a"}],"words_result_num":1,"direction":0})", ""},
  };
  for (const auto& [answer, shown] : cases) {
    ScriptedServer server(testing::TokenThenAnswer("T", answer));
    ClickAgainst(server);
    EXPECT_EQ(Result(), shown) << answer;
  }
}

TEST_F(FlowRequestsTest, AServiceThatIsNotThereLeavesAnEmptyBoxAndNoMessage) {
  int port = 0;
  {
    ScriptedServer gone(testing::TokenThenAnswer("T", ""));
    port = gone.port();
  }
  window->SetText("编辑框_识别结果", "earlier text");
  ui::MessageRecorder messages;
  app::SetRecognitionService("http://127.0.0.1:" + std::to_string(port),
                             app::WebRequestFunctionForProgram());
  SendMessageW(window->ControlHandle("按钮_识别"), BM_CLICK, 0, 0);
  EXPECT_EQ(Result(), "");
  EXPECT_TRUE(messages.texts().empty());
}

}  // namespace
}  // namespace lumenta
