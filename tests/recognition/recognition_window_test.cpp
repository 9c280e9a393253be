// The 识别 button of the real main window: the flow reads the window's controls, writes the
// result box, shows its messages, keeps the cursor busy and ignores clicks while it runs. The
// request function here is the test's own; the real requests are tested against servers.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "../ui/ui_test_support_win.h"
#include "app/event_table_win.h"
#include "app/recognition_win.h"
#include "app/window_designs.h"
#include "base/text_encoders.h"
#include "ui/message_box.h"

namespace lumenta {
namespace {

struct Sent {
  Text url;
  Text body;
  Text headers;
};

class RecognitionWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app::SetRecognitionService(
        "http://ocr.test", [this](const Text& url, int, const Text& body, const Text& headers) {
          sent.push_back({url, body, headers});
          // Like WebRequest, let the window's messages through while "waiting".
          testing::PumpMessages();
          if (during) during();
          const bool token = url.find("/oauth/2.0/token?") != Text::npos;
          return WebAnswer{token ? Text(R"({"access_token":"T","scope":"s"})") : answer, "200 OK"};
        });
    window = ui::Window::Create(app::MainWindowDesign(), app::MainWindowEvents());
    ASSERT_NE(window, nullptr);
    window->Show();
    window->SetText("编辑框1", "ak");
    window->SetText("编辑框2", "sk");
  }
  void TearDown() override { app::SetRecognitionService(kDefaultServiceBase, nullptr); }

  void ClickRecognise() { SendMessageW(window->ControlHandle("按钮_识别"), BM_CLICK, 0, 0); }

  std::unique_ptr<ui::Window> window;
  std::vector<Sent> sent;
  std::function<void()> during;
  Text answer =
      R"({"words_result":[{"words":"图片"},{"words":"text"}],"words_result_num":2,"log_id":1})";
};

TEST_F(RecognitionWindowTest, TheClickSendsTheWindowsKeysAndPictureAndFillsTheResultBox) {
  window->SetPicture("图片框1", ByteBuffer("GIF89a-bytes"));
  window->SetText("编辑框_识别结果", "old text");
  ClickRecognise();
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].url,
            "http://ocr.test/oauth/2.0/token?grant_type=client_credentials&client_id=ak"
            "&client_secret=sk");
  EXPECT_EQ(sent[1].url, "http://ocr.test/rest/2.0/ocr/v1/general_basic?access_token=T");
  EXPECT_EQ(sent[1].body, "image=" + UrlEncode(Base64Encode("GIF89a-bytes"), true, true));
  EXPECT_EQ(sent[1].headers, "Content-Type:application/x-www-form-urlencoded");
  EXPECT_EQ(window->GetText("编辑框_识别结果"), Utf8ToAnsi("图片text"));
}

TEST_F(RecognitionWindowTest, WithBothRadioButtonsUncheckedTheThreeMessagesNameWhatIsMissing) {
  window->SetChecked("单选框_普通", false);
  window->SetChecked("单选框_高精", false);
  ASSERT_FALSE(window->IsChecked("单选框_普通"));
  ASSERT_FALSE(window->IsChecked("单选框_高精"));
  ui::MessageRecorder messages;
  const std::pair<const char*, const char*> keys[] = {{"", ""}, {"ak", ""}, {"ak", "sk"}};
  for (const auto& [apiKey, secretKey] : keys) {
    window->SetText("编辑框1", apiKey);
    window->SetText("编辑框2", secretKey);
    ClickRecognise();
  }
  EXPECT_EQ(messages.texts(), (std::vector<Text>{Utf8ToAnsi("你还没有输入API Key"),
                                                 Utf8ToAnsi("你还没有输入Seceet Key"),
                                                 Utf8ToAnsi("请选择识别模式")}));
  EXPECT_TRUE(sent.empty());
}

TEST_F(RecognitionWindowTest, TheAccurateModeRunsTheSameRequests) {
  ClickRecognise();
  SendMessageW(window->ControlHandle("单选框_高精"), BM_CLICK, 0, 0);
  ASSERT_TRUE(window->IsChecked("单选框_高精"));
  ASSERT_FALSE(window->IsChecked("单选框_普通"));
  ClickRecognise();
  ASSERT_EQ(sent.size(), 4u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(sent[i + 2].url, sent[i].url);
    EXPECT_EQ(sent[i + 2].body, sent[i].body);
    EXPECT_EQ(sent[i + 2].headers, sent[i].headers);
  }
}

TEST_F(RecognitionWindowTest, AClickWhileTheRequestsRunIsIgnored) {
  during = [this] {
    ClickRecognise();  // the user presses 识别 again while waiting
    testing::PumpMessages();
  };
  ClickRecognise();
  EXPECT_EQ(sent.size(), 2u);
  EXPECT_EQ(window->GetText("编辑框_识别结果"), Utf8ToAnsi("图片text"));
  during = nullptr;
  ClickRecognise();  // once the run is over, a click runs again
  EXPECT_EQ(sent.size(), 4u);
}

TEST_F(RecognitionWindowTest, TheCursorShowsBusyWhileTheRequestsRun) {
  HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  HWND resultBox = window->ControlHandle("编辑框_识别结果");
  auto cursorOver = [&](HWND control) {
    SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  std::vector<bool> busy;
  during = [&] {
    busy.push_back(cursorOver(resultBox) == wait);
    busy.push_back(cursorOver(window->ControlHandle("按钮_识别")) == wait);
  };
  ClickRecognise();
  EXPECT_EQ(busy, (std::vector<bool>{true, true, true, true}));
  EXPECT_NE(cursorOver(resultBox), wait);
}

TEST_F(RecognitionWindowTest, AFailedRunLeavesTheResultBoxEmpty) {
  window->SetText("编辑框_识别结果", "old text");
  answer = R"({"error_code":216201,"error_msg":"image format error"})";
  ClickRecognise();
  EXPECT_EQ(window->GetText("编辑框_识别结果"), "");
}

}  // namespace
}  // namespace lumenta
