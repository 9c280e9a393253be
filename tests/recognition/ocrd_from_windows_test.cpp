// The local OCR service as the platform's HTTP client sees it: WinHttp under Wine posts to the
// ocrd that ctest started beside this program (LUMENTA_OCRD_URL).
#include <gtest/gtest.h>
#include <windows.h>
#include <winhttp.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "base/text_encoders.h"
#include "ocr/recognition_flow.h"
#include "text_picture_win.h"
#include "win/wide_win.h"

namespace lumenta {
namespace {

struct InternetCloser {
  void operator()(HINTERNET handle) const { WinHttpCloseHandle(handle); }
};
using Internet = std::unique_ptr<void, InternetCloser>;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// POSTs `body` to `path` (with its query) on the service; the answer's body, or "<failed N>".
std::string Post(const std::string& path, const std::string& body, const wchar_t* headers) {
  const char* url = std::getenv("LUMENTA_OCRD_URL");
  if (!url) return "<LUMENTA_OCRD_URL is not set>";
  const std::wstring address = win::WideFromText(url);
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(address.c_str(), 0, 0, &parts)) return "<failed crack>";
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  Internet session(WinHttpOpen(L"test", WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, 0));
  Internet connection(WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
  Internet request(WinHttpOpenRequest(connection.get(), L"POST", win::WideFromText(path).c_str(),
                                      nullptr, nullptr, nullptr, 0));
  if (!request) return "<failed open " + std::to_string(GetLastError()) + ">";
  if (!WinHttpSendRequest(request.get(), headers, headers ? static_cast<DWORD>(-1) : 0,
                          const_cast<char*>(body.data()), static_cast<DWORD>(body.size()),
                          static_cast<DWORD>(body.size()), 0) ||
      !WinHttpReceiveResponse(request.get(), nullptr)) {
    return "<failed send " + std::to_string(GetLastError()) + ">";
  }
  std::string answer;
  for (DWORD available = 0; WinHttpQueryDataAvailable(request.get(), &available) && available;) {
    std::string chunk(available, '\0');
    DWORD read = 0;
    if (!WinHttpReadData(request.get(), chunk.data(), available, &read)) break;
    answer.append(chunk, 0, read);
  }
  return answer;
}

TEST(OcrdFromWindows, ATokenThenTheSamplePictureGiveItsTwoLines) {
  const std::string tokenAnswer = Post(
      "/oauth/2.0/token?grant_type=client_credentials&client_id=ak&client_secret=sk", "", nullptr);
  const std::string token =
      TextBetween(tokenAnswer, RecognitionFlow::kTokenLeft, RecognitionFlow::kTokenRight);
  ASSERT_FALSE(token.empty()) << tokenAnswer;
  const std::string picture = ReadFile(LUMENTA_SOURCE_DIR "/res/sample.png");
  ASSERT_FALSE(picture.empty());
  const std::string answer =
      Post("/rest/2.0/ocr/v1/general_basic?access_token=" + token, RecognitionBody(picture),
           L"Content-Type: application/x-www-form-urlencoded");
  std::string expected = ReadFile(LUMENTA_SOURCE_DIR "/res/sample.txt");
  const auto newline = expected.find('\n');
  EXPECT_EQ(answer.rfind("{\"words_result\":[{\"words\":\"" + expected.substr(0, newline) +
                             "\"},{\"words\":\"" +
                             expected.substr(newline + 1, expected.size() - newline - 2) +
                             "\"}],\"words_result_num\":2,\"log_id\":",
                         0),
            0u)
      << answer;
}

TEST(OcrdFromWindows, APictureDrawnWithGdiIsRecognisedExactly) {
  const std::string token =
      TextBetween(Post("/oauth/2.0/token?grant_type=client_credentials&client_id=a&client_secret=b",
                       "", nullptr),
                  RecognitionFlow::kTokenLeft, RecognitionFlow::kTokenRight);
  const ByteBuffer picture =
      testing::RenderTextBmp({u"窗口里画出的中文", u"Drawn by Windows itself."});
  ASSERT_EQ(picture.view().substr(0, 2), "BM");
  const std::string answer =
      Post("/rest/2.0/ocr/v1/general_basic?access_token=" + token, RecognitionBody(picture.view()),
           L"Content-Type: application/x-www-form-urlencoded");
  EXPECT_EQ(answer.rfind("{\"words_result\":[{\"words\":\"窗口里画出的中文\"},"
                         "{\"words\":\"Drawn by Windows itself.\"}],\"words_result_num\":2,",
                         0),
            0u)
      << answer;
}

}  // namespace
}  // namespace lumenta
