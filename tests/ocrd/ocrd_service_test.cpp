// The local OCR service as a real server: the program is started on a free loopback port, read
// back from its first line of output, and stopped by its process id.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <thread>

#include "base/text_encoders.h"
#include "child_process.h"

namespace lumenta::testing {
namespace {

using Json = nlohmann::json;

constexpr char kTokenPath[] = "/oauth/2.0/token";
constexpr char kOcrPath[] = "/rest/2.0/ocr/v1/general_basic";
constexpr char kForm[] = "application/x-www-form-urlencoded";

// A running ocrd.
class Ocrd {
 public:
  explicit Ocrd(std::vector<std::string> arguments, std::vector<std::string> environment = {})
      : process_(OCRD_PROGRAM, arguments, environment) {
    const std::string line = process_.ReadLine(120);
    std::smatch match;
    if (std::regex_match(line, match, std::regex(R"(ocrd listening on (https?://.*):(\d+))"))) {
      url_ = match[1].str() + ":" + match[2].str();
      port_ = std::stoi(match[2].str());
    }
  }

  bool ready() const { return port_ > 0; }
  int port() const { return port_; }
  const std::string& url() const { return url_; }
  ChildProcess& process() { return process_; }

  std::unique_ptr<httplib::Client> Client() const {
    auto client = std::make_unique<httplib::Client>(url_);
    // Recognitions queue for an engine when many clients come at once.
    client->set_read_timeout(std::chrono::seconds(300));
    client->set_write_timeout(std::chrono::seconds(60));
    return client;
  }

 private:
  ChildProcess process_;
  std::string url_;
  int port_ = 0;
};

std::string TokenQuery(const std::string& id, const std::string& secret,
                       const std::string& grant = "client_credentials") {
  return std::string(kTokenPath) + "?grant_type=" + grant + "&client_id=" + id +
         "&client_secret=" + secret;
}

// The body the program sends: "image=" + URL-encoded Base64 of the picture file.
std::string PictureForm(const std::string& bytes) {
  return "image=" + UrlEncode(Base64Encode(bytes), true, true);
}

std::string RenderPicture(const TempFolder& folder, const std::string& name,
                          const std::vector<std::string>& lines) {
  std::vector<std::string> command{LUMENTA_SOURCE_DIR "/scripts/render-text-picture",
                                   folder.File(name)};
  command.insert(command.end(), lines.begin(), lines.end());
  if (!RunCommand(command)) return {};
  return ReadFileBytes(folder.File(name));
}

// The start of a PNG file that claims `width` x `height` pixels: signature, header chunk (with
// its checksum) and the end chunk, no picture data.
std::string PngHeaderOnly(std::uint32_t width, std::uint32_t height) {
  auto bigEndian = [](std::uint32_t value) {
    return std::string{static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                       static_cast<char>(value >> 8), static_cast<char>(value)};
  };
  auto chunk = [&bigEndian](const std::string& type, const std::string& data) {
    const std::string typed = type + data;
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : typed) {
      crc ^= byte;
      for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return bigEndian(static_cast<std::uint32_t>(data.size())) + typed + bigEndian(~crc);
  };
  // 8 bits per sample, RGB, deflate, no filter method, no interlace.
  const std::string header =
      bigEndian(width) + bigEndian(height) + std::string("\x08\x02\0\0\0", 5);
  return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", header) + chunk("IEND", "");
}

std::vector<std::string> Words(const std::string& answer) {
  std::vector<std::string> words;
  const Json json = Json::parse(answer, nullptr, false);
  if (!json.is_object() || !json.contains("words_result")) return {"<not an answer: " + answer};
  for (const Json& item : json["words_result"]) words.push_back(item["words"]);
  return words;
}

// A service with keys, a small body limit and two engines, of the engine the test's parameter
// names (one per engine for the whole suite).
class OcrdServiceTest : public ::testing::TestWithParam<std::string> {
 protected:
  static void TearDownTestSuite() { servers_.clear(); }

  void SetUp() override {
    const std::string engine = GetParam();
    auto& server = servers_[engine];
    if (!server) {
      server = std::make_unique<Ocrd>(
          std::vector<std::string>{"--engine", engine, "--client-id", "test-ak", "--client-secret",
                                   "test-sk", "--body-limit", "4M", "--engines", "2"});
    }
    server_ = server.get();
    ASSERT_TRUE(server_->ready()) << server_->process().ErrorOutput();
  }

  std::string FreshToken() const {
    auto client = server_->Client();
    auto res = client->Post(TokenQuery("test-ak", "test-sk"));
    if (!res || res->status != 200) return {};
    return Json::parse(res->body)["access_token"];
  }

  httplib::Result Recognise(const std::string& token, const std::string& body) const {
    return server_->Client()->Post(std::string(kOcrPath) + "?access_token=" + token, body, kForm);
  }

  static std::map<std::string, std::unique_ptr<Ocrd>> servers_;
  Ocrd* server_ = nullptr;
  TempFolder folder_;
};
std::map<std::string, std::unique_ptr<Ocrd>> OcrdServiceTest::servers_;

INSTANTIATE_TEST_SUITE_P(Engines, OcrdServiceTest, ::testing::Values("ppocr", "tesseract"),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

// The token path does not depend on the engine: one service answers it.
using OcrdTokenTest = OcrdServiceTest;
INSTANTIATE_TEST_SUITE_P(Service, OcrdTokenTest, ::testing::Values("ppocr"));

TEST_P(OcrdTokenTest, TheTokenAnswerHoldsTheTokenRightBeforeTheScope) {
  auto res = server_->Client()->Post(TokenQuery("test-ak", "test-sk"));
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  const Json json = Json::parse(res->body);
  const std::string token = json["access_token"];
  EXPECT_EQ(json["expires_in"], 2592000);
  EXPECT_NE(res->body.find("\"access_token\":\"" + token + "\",\"scope\":"), std::string::npos);
  EXPECT_EQ(res->body.rfind("{\"refresh_token\":", 0), 0u);
  EXPECT_NE(res->body.find("\"session_secret\":"), std::string::npos);
}

TEST_P(OcrdTokenTest, WrongKeysOrGrantTypeAnswerUnknownClient) {
  const std::string queries[] = {
      TokenQuery("test-ak", "wrong"),
      TokenQuery("wrong", "test-sk"),
      TokenQuery("", ""),
      TokenQuery("test-ak", "test-s"),
      TokenQuery("test-ak", "test-sk", "password"),
      std::string(kTokenPath) + "?client_id=test-ak&client_secret=test-sk",
  };
  for (const std::string& query : queries) {
    auto res = server_->Client()->Post(query);
    ASSERT_TRUE(res) << query;
    EXPECT_EQ(res->status, 401) << query;
    EXPECT_EQ(res->body, R"({"error":"invalid_client","error_description":"unknown client id"})")
        << query;
  }
}

TEST_P(OcrdTokenTest, KeysInAFormBodyAreAcceptedToo) {
  auto res = server_->Client()->Post(
      kTokenPath, "grant_type=client_credentials&client_id=test-ak&client_secret=test-sk", kForm);
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_NE(res->body.find("\"access_token\":\"24."), std::string::npos);
}

TEST_P(OcrdServiceTest, EachFaultAnswersTheCloudServicesErrorObject) {
  const std::string token = FreshToken();
  ASSERT_FALSE(token.empty());
  const std::string tiny = RenderPicture(folder_, "tiny.png", {"x"});
  ASSERT_FALSE(tiny.empty());
  // A picture below the smallest size: render one and cut it down to 10 x 10 pixels.
  ASSERT_TRUE(RunCommand({"convert", folder_.File("tiny.png"), "-crop", "10x10+0+0", "+repage",
                          folder_.File("small.png")}));
  const std::string small = ReadFileBytes(folder_.File("small.png"));
  ASSERT_TRUE(RunCommand({"convert", "-size", "1x1", "xc:white", folder_.File("dot.png")}));
  const std::string dot = ReadFileBytes(folder_.File("dot.png"));
  struct Case {
    const char* what;
    std::string token;
    std::string body;
    const char* answer;
  };
  const Case cases[] = {
      {"no token", "", PictureForm(tiny),
       R"({"error_code":110,"error_msg":"Access token invalid or no longer valid"})"},
      {"a made-up token", "24.abc.2592000.1.0123456789abcdef0123456789abcdef", PictureForm(tiny),
       R"({"error_code":110,"error_msg":"Access token invalid or no longer valid"})"},
      {"no image field", token, "url=http%3A%2F%2Fexample.com%2Fa.png",
       R"({"error_code":216100,"error_msg":"invalid param"})"},
      {"a broken escape", token, "image=QUJD%G1",
       R"({"error_code":216100,"error_msg":"invalid param"})"},
      {"an empty image", token, "image=", R"({"error_code":216200,"error_msg":"empty image"})"},
      {"no body at all", token, "", R"({"error_code":216100,"error_msg":"invalid param"})"},
      {"text instead of a picture", token, PictureForm("hello, this is no picture at all"),
       R"({"error_code":216201,"error_msg":"image format error"})"},
      {"not Base64", token, "image=%3C%3Fxml%3E",
       R"({"error_code":216201,"error_msg":"image format error"})"},
      {"a picture of 10 x 10 pixels", token, PictureForm(small),
       R"({"error_code":216202,"error_msg":"image size error"})"},
      {"a picture of one pixel", token, PictureForm(dot),
       R"({"error_code":216202,"error_msg":"image size error"})"},
      {"a PNG that claims 20000 x 20000 pixels", token, PictureForm(PngHeaderOnly(20000, 20000)),
       R"({"error_code":216202,"error_msg":"image size error"})"},
  };
  for (const Case& c : cases) {
    auto res = Recognise(c.token, c.body);
    ASSERT_TRUE(res) << c.what;
    EXPECT_EQ(res->status, 200) << c.what;
    EXPECT_EQ(res->body, c.answer) << c.what;
  }
}

TEST_P(OcrdServiceTest, ATruncatedBase64BodyIsAnImageFormatError) {
  const std::string token = FreshToken();
  const std::string picture = RenderPicture(folder_, "p.png", {"截断", "truncated"});
  ASSERT_FALSE(picture.empty());
  const std::string base64 = Base64Encode(picture);
  // Cut inside a group of four, and cut at a group boundary (the Base64 is whole, the PNG is not).
  for (const std::size_t keep : {base64.size() - 3, base64.size() / 2 / 4 * 4}) {
    auto res = Recognise(token, "image=" + UrlEncode(base64.substr(0, keep), true, true));
    ASSERT_TRUE(res) << keep;
    EXPECT_EQ(res->body, R"({"error_code":216201,"error_msg":"image format error"})") << keep;
  }
}

TEST_P(OcrdServiceTest, AnOversizedBodyIsRefusedAndTheServiceGoesOn) {
  const std::string token = FreshToken();
  const std::string body = "image=" + std::string(5 << 20, 'A');  // over the 4 MiB limit
  auto res = Recognise(token, body);
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 413);
  EXPECT_EQ(res->body, R"({"error_code":216202,"error_msg":"image size error"})");
  auto after = Recognise(token, "image=");
  ASSERT_TRUE(after);
  EXPECT_EQ(after->body, R"({"error_code":216200,"error_msg":"empty image"})");
}

TEST_P(OcrdTokenTest, UnknownPathsAndMethodsAnswerJsonToo) {
  auto client = server_->Client();
  auto res = client->Post("/rest/2.0/ocr/v1/accurate_basic", "image=", kForm);
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 404);
  EXPECT_EQ(res->body, R"({"error_code":3,"error_msg":"Unsupported openapi method"})");
  res = client->Get(kOcrPath);
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 404);
}

TEST_P(OcrdServiceTest, ARenderedChineseAndEnglishPictureIsRecognisedExactly) {
  const std::vector<std::string> lines = {"今天天气很好，我们去公园散步。",
                                          "The quick brown fox jumps over the lazy dog."};
  const std::string picture = RenderPicture(folder_, "lines.png", lines);
  ASSERT_FALSE(picture.empty());
  auto res = Recognise(FreshToken(), PictureForm(picture));
  ASSERT_TRUE(res);
  EXPECT_EQ(Words(res->body), lines);
  // The layout clients cut by markers: each line as {"words":".."}, the count before the log id.
  EXPECT_EQ(res->body.rfind("{\"words_result\":[{\"words\":\"" + lines[0] + "\"},{\"words\":\"" +
                                lines[1] + "\"}],\"words_result_num\":2,\"log_id\":",
                            0),
            0u)
      << res->body;
}

TEST_P(OcrdServiceTest, APageOfShortLinesGivesOneEntryPerLineInReadingOrder) {
  // Sparse lines on a wide page: an automatic layout would cut them into columns.
  std::vector<std::string> lines;
  for (int i = 1; i <= 8; ++i) {
    lines.push_back("Line " + std::to_string(i) + " of the page 第" + std::to_string(i) + "行");
  }
  std::vector<std::string> command{LUMENTA_SOURCE_DIR "/scripts/render-text-picture",
                                   "--size",
                                   "1280x720",
                                   "--pointsize",
                                   "24",
                                   folder_.File("page.png")};
  command.insert(command.end(), lines.begin(), lines.end());
  ASSERT_TRUE(RunCommand(command));
  auto res = Recognise(FreshToken(), PictureForm(ReadFileBytes(folder_.File("page.png"))));
  ASSERT_TRUE(res);
  // What is checked is the layout; a letter misread here and there is the engine's business.
  const std::vector<std::string> words = Words(res->body);
  ASSERT_EQ(words.size(), lines.size()) << res->body;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string number = std::to_string(i + 1);
    EXPECT_EQ(words[i].rfind("Line " + number + " ", 0), 0u) << words[i];
    EXPECT_NE(words[i].find("第" + number + "行"), std::string::npos) << words[i];
  }
}

TEST_P(OcrdServiceTest, TheSamplePictureIsRecognisedAsItsText) {
  const std::string picture = ReadFileBytes(LUMENTA_SOURCE_DIR "/res/sample.png");
  std::istringstream text(ReadFileBytes(LUMENTA_SOURCE_DIR "/res/sample.txt"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 2u);
  auto res = Recognise(FreshToken(), PictureForm(picture));
  ASSERT_TRUE(res);
  EXPECT_EQ(Words(res->body), lines);
}

TEST_P(OcrdServiceTest, FiftyConcurrentClientsEachGetTheirOwnAnswer) {
  const std::vector<std::vector<std::string>> texts = {{"第一张图片", "first picture"},
                                                       {"第二张图片", "second picture"}};
  std::vector<std::string> pictures;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    pictures.push_back(RenderPicture(folder_, "c" + std::to_string(i) + ".png", texts[i]));
    ASSERT_FALSE(pictures.back().empty());
  }
  constexpr int kClients = 50;
  std::vector<std::vector<std::string>> answers(kClients);
  std::vector<std::thread> clients;
  std::atomic<int> ready{0};
  for (int i = 0; i < kClients; ++i) {
    clients.emplace_back([&, i] {
      ++ready;
      while (ready < kClients) std::this_thread::yield();  // all start together
      const std::string token = FreshToken();
      auto res = Recognise(token, PictureForm(pictures[i % 2]));
      answers[i] =
          res ? Words(res->body)
              : std::vector<std::string>{"<no answer: " + httplib::to_string(res.error()) + ">"};
    });
  }
  for (auto& client : clients) client.join();
  for (int i = 0; i < kClients; ++i) EXPECT_EQ(answers[i], texts[i % 2]) << "client " << i;
}

// Sends raw bytes on a fresh connection and returns the status line of the answer (empty when
// none came); with `leaveEarly` it closes the connection right after sending.
std::string RawExchange(int port, const std::string& bytes, bool leaveEarly = false) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return "<no connection>";
  }
  timeval timeout{20, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  std::string answer;
  if (!leaveEarly) {
    // The service keeps the connection for a next request: stop at the end of the head.
    char buffer[4096];
    while (answer.find("\r\n") == std::string::npos) {
      const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      answer.append(buffer, static_cast<size_t>(n));
    }
  }
  close(fd);
  return answer.substr(0, answer.find("\r\n"));
}

TEST_P(OcrdServiceTest, BadRequestsNeverTakeItDown) {
  const std::string path = std::string(kOcrPath) + "?access_token=" + FreshToken();
  struct Case {
    const char* what;
    std::string bytes;
    const char* statusLine;  // nullptr: whatever comes back, or nothing
    bool leaveEarly = false;
  };
  const Case cases[] = {
      {"not HTTP", "GARBAGE\r\n\r\n", "HTTP/1.1 400 Bad Request"},
      {"binary noise", std::string(100000, '\xFF'), nullptr},
      {"a body cut off by the client",
       "POST " + path + " HTTP/1.1\r\nHost: x\r\nContent-Length: 1000000\r\n\r\nimage=QUJD",
       nullptr, true},
      {"a broken chunk",
       "POST " + path + " HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n",
       "HTTP/1.1 400 Bad Request"},
      {"a negative length", "POST " + path + " HTTP/1.1\r\nHost: x\r\nContent-Length: -5\r\n\r\n",
       nullptr},
      {"an endless length",
       "POST " + path + " HTTP/1.1\r\nHost: x\r\nContent-Length: 99999999999999999999\r\n\r\n",
       "HTTP/1.1 413 Payload Too Large"},
      {"a huge address", "GET /" + std::string(20000, 'a') + " HTTP/1.1\r\n\r\n",
       "HTTP/1.1 414 URI Too Long"},
      {"a huge header",
       "POST " + path + " HTTP/1.1\r\nHost: x\r\nX: " + std::string(100000, 'h') + "\r\n\r\n",
       "HTTP/1.1 400 Bad Request"},
  };
  // All at once, as a careless or hostile client would.
  std::vector<std::thread> senders;
  std::vector<std::string> statusLines(std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    senders.emplace_back([&, i] {
      statusLines[i] = RawExchange(server_->port(), cases[i].bytes, cases[i].leaveEarly);
    });
  }
  for (auto& sender : senders) sender.join();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    if (cases[i].statusLine) {
      EXPECT_EQ(statusLines[i], cases[i].statusLine) << cases[i].what;
    }
  }
  const std::string picture = RenderPicture(folder_, "after.png", {"仍在服务", "still serving"});
  auto res = Recognise(FreshToken(), PictureForm(picture));
  ASSERT_TRUE(res);
  EXPECT_EQ(Words(res->body), (std::vector<std::string>{"仍在服务", "still serving"}));
  EXPECT_EQ(server_->process().Wait(0), -1) << "the service ended";
}

TEST(OcrdService, LogsOneLinePerRequestAndNeverTheKeysOrTokens) {
  Ocrd server({"--engines", "1"});  // no keys configured: any keys get a token
  ASSERT_TRUE(server.ready()) << server.process().ErrorOutput();
  auto client = server.Client();
  auto res = client->Post(TokenQuery("some-api-key", "very-secret-key"));
  ASSERT_TRUE(res);
  ASSERT_EQ(res->status, 200);
  const std::string token = Json::parse(res->body)["access_token"];
  ASSERT_TRUE(client->Post(std::string(kOcrPath) + "?access_token=" + token, "image=", kForm));
  ASSERT_TRUE(client->Post(std::string(kOcrPath) + "?access_token=" + token, "image=QUJ", kForm));
  ASSERT_TRUE(client->Get("/nowhere?client_secret=very-secret-key"));
  ASSERT_EQ(server.process().Stop(), 0);  // a clean stop on SIGTERM

  const std::string log = server.process().ErrorOutput();
  EXPECT_EQ(log.find("very-secret-key"), std::string::npos) << log;
  EXPECT_EQ(log.find("some-api-key"), std::string::npos) << log;
  EXPECT_EQ(log.find(token.substr(3, 32)), std::string::npos) << log;
  // Requests on separate connections are answered by separate threads: the lines may come in any
  // order, one per request.
  const std::regex request(R"(\S+Z 127\.0\.0\.1 (POST|GET) (/\S*) (\d+)( .*?)?( \d+ ms)?)");
  std::vector<std::string> seen;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (std::regex_match(line, match, request)) {
      seen.push_back(match[2].str() + " " + match[3].str() + match[4].str());
    }
  }
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen,
            (std::vector<std::string>{"/nowhere 404 error 3", "/oauth/2.0/token 200 token issued",
                                      "/rest/2.0/ocr/v1/general_basic 200 error 216200",
                                      "/rest/2.0/ocr/v1/general_basic 200 error 216201"}))
      << log;
}

TEST(OcrdService, ServesHttpsWithTheGivenCertificate) {
  TempFolder folder;
  const std::string certificate = folder.File("cert.pem");
  const std::string key = folder.File("key.pem");
  ASSERT_TRUE(RunCommand({"openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt",
                          "ec_paramgen_curve:prime256v1", "-nodes", "-keyout", key, "-out",
                          certificate, "-days", "2", "-subj", "/CN=localhost", "-addext",
                          "subjectAltName=DNS:localhost"}));
  Ocrd server({"--tls-cert", certificate, "--tls-key", key, "--engines", "1"});
  ASSERT_TRUE(server.ready()) << server.process().ErrorOutput();
  EXPECT_EQ(server.url().rfind("https://", 0), 0u);
  httplib::SSLClient client("localhost", server.port());
  client.set_ca_cert_path(certificate.c_str());
  client.enable_server_certificate_verification(true);
  auto res = client.Post(TokenQuery("ak", "sk"));
  ASSERT_TRUE(res) << httplib::to_string(res.error());
  EXPECT_EQ(res->status, 200);
  EXPECT_NE(res->body.find("\"access_token\":\"24."), std::string::npos);
}

TEST(OcrdService, StartUpProblemsEndItWithAReason) {
  // Models folders with a piece missing or wrong: links to the real files, less one.
  TempFolder folder;
  const std::string models = OCRD_MODELS;
  const std::string noRecogniser = folder.File("no-recogniser");
  const std::string smallDictionary = folder.File("small-dictionary");
  for (const std::string& dir : {noRecogniser, smallDictionary}) {
    ASSERT_TRUE(RunCommand({"mkdir", dir}));
    ASSERT_TRUE(RunCommand({"ln", "-s", models + "/ch_PP-OCRv4_det_infer.onnx", dir + "/"}));
  }
  ASSERT_TRUE(RunCommand({"ln", "-s", models + "/ppocr_keys_v1.txt", noRecogniser + "/"}));
  ASSERT_TRUE(
      RunCommand({"ln", "-s", models + "/ch_PP-OCRv4_rec_infer.onnx", smallDictionary + "/"}));
  ASSERT_TRUE(
      RunCommand({"sh", "-c", "printf 'a\\nb\\nc\\n' >" + smallDictionary + "/ppocr_keys_v1.txt"}));
  // A shared library that is not ONNX Runtime: the C library this test runs with.
  std::string notTheRuntime;
  {
    std::istringstream maps(ReadFileBytes("/proc/self/maps"));
    for (std::string line; std::getline(maps, line) && notTheRuntime.empty();) {
      const std::size_t at = line.find('/');
      if (at != std::string::npos && line.find("/libc.so.6") != std::string::npos) {
        notTheRuntime = line.substr(at);
      }
    }
  }
  ASSERT_FALSE(notTheRuntime.empty());

  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    const char* reason;
  };
  const Case cases[] = {
      {{"--engine", "tesseract", "--languages", "xx_nonexistent"},
       1,
       "could not load the languages"},
      {{"--models", "/nonexistent"}, 1, "cannot read /nonexistent/ch_PP-OCRv4_det_infer.onnx"},
      {{"--models", noRecogniser}, 1, "no-recogniser/ch_PP-OCRv4_rec_infer.onnx"},
      {{"--models", smallDictionary}, 1, "do not match the dictionary"},
      {{"--onnxruntime", "/nonexistent/libonnxruntime.so.1"}, 1, "ONNX Runtime cannot be loaded"},
      {{"--onnxruntime", notTheRuntime}, 1, "is not ONNX Runtime"},
      {{"--engine", "paddle"}, 2, "--engine takes ppocr or tesseract"},
      {{"--tls-cert", "/nonexistent/cert.pem", "--tls-key", "/nonexistent/key.pem"},
       1,
       "cannot use the certificate"},
      {{"--bind", "203.0.113.1"}, 1, "cannot listen"},  // an address this machine does not have
      {{"--port", "http"}, 2, "--port takes a number"},
  };
  for (const Case& c : cases) {
    ChildProcess process(OCRD_PROGRAM, c.arguments);
    const int status = process.Wait(120);
    ASSERT_TRUE(WIFEXITED(status)) << c.reason;
    EXPECT_EQ(WEXITSTATUS(status), c.exitCode) << c.reason;
    EXPECT_NE(process.ErrorOutput().find(c.reason), std::string::npos) << process.ErrorOutput();
  }
}

}  // namespace
}  // namespace lumenta::testing
