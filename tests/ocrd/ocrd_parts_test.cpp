// The parts of the local OCR service that need no server: upload decoding, line shaping, the
// answers' layout, tokens, the command line and the log line.
#include <gtest/gtest.h>

#include <chrono>

#include "tools/ocrd/answers.h"
#include "tools/ocrd/base64_decode.h"
#include "tools/ocrd/form_body.h"
#include "tools/ocrd/hmac_sha256.h"
#include "tools/ocrd/line_text.h"
#include "tools/ocrd/options.h"
#include "tools/ocrd/request_log.h"
#include "tools/ocrd/token_issuer.h"

namespace lumenta::ocrd {
namespace {

TEST(OcrdBase64, DecodesPaddedTextAndRejectsWhatIsTruncatedOrForeign) {
  struct Case {
    const char* text;
    bool ok;
    std::string bytes;
  };
  const Case cases[] = {
      {"", true, ""},
      {"QQ==", true, "A"},
      {"QUI=", true, "AB"},
      {"QUJD", true, "ABC"},
      {"QUJD\r\nRA==", true, "ABCD"},  // wrapped Base64 is read across its line breaks
      {"+/8=", true, "\xFB\xFF"},
      {"AA==", true, std::string(1, '\0')},
      {"QUJ", false, ""},       // cut off inside a group
      {"QUJDR", false, ""},     // one character of a next group
      {"QQ=", false, ""},       // padding cut short
      {"Q===", false, ""},      // padding where data must stand
      {"QQ==QUJD", false, ""},  // data after the padded end
      {"QU=D", false, ""},      // padding inside a group
      {"QU JD", false, ""},     // a blank (an unencoded "+" in a form) is not Base64
      {"QUJ-", false, ""},      // the URL-safe alphabet is not accepted
      {"data:image/png;base64,QUJD", false, ""},
  };
  for (const Case& c : cases) {
    std::string bytes = "stale";
    EXPECT_EQ(DecodeBase64(c.text, bytes), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(bytes, c.bytes) << c.text;
    }
  }
}

TEST(OcrdForm, FindsTheFieldAndDecodesItsValue) {
  struct Case {
    const char* body;
    FormField result;
    const char* value;
  };
  const Case cases[] = {
      {"image=QUJD", FormField::kFound, "QUJD"},
      {"image=", FormField::kFound, ""},
      {"image", FormField::kFound, ""},
      {"language_type=CHN_ENG&image=a%2Bb%2F%3D&detect_direction=true", FormField::kFound, "a+b/="},
      {"image=a+b", FormField::kFound, "a b"},
      {"images=x&image=y", FormField::kFound, "y"},
      {"image=first&image=second", FormField::kFound, "first"},
      {"", FormField::kMissing, ""},
      {"url=http%3A%2F%2Fexample", FormField::kMissing, ""},
      {"image=%ZZ", FormField::kMalformed, ""},
      {"image=abc%4", FormField::kMalformed, ""},
      {"image=abc%", FormField::kMalformed, ""},
  };
  for (const Case& c : cases) {
    std::string value;
    EXPECT_EQ(FindFormField(c.body, "image", value), c.result) << c.body;
    if (c.result == FormField::kFound) {
      EXPECT_EQ(value, c.value) << c.body;
    }
  }
}

TEST(OcrdLines, BlanksBetweenTwoCjkCharactersAreRemovedAndOthersKept) {
  const std::pair<const char*, const char*> cases[] = {
      {"图 片 里 的 文 字", "图片里的文字"},
      {"图片  ，  一键", "图片，一键"},  // full-width punctuation counts as CJK
      {"识别 Lumenta 结果", "识别 Lumenta 结果"},
      {"Lumenta turns pictures into text.", "Lumenta turns pictures into text."},
      {"  前后 空白 \n", "前后空白"},
      {"かな カナ", "かなカナ"},
      {"한국 어", "한국 어"},  // Korean separates words with blanks
      {"A　B", "A　B"},        // an ideographic space between Latin letters stays
      {"\xE5\x9B\xBE \xFF \xE7\x89\x87", "\xE5\x9B\xBE \xFF \xE7\x89\x87"},  // invalid byte kept
      {"", ""},
      {" \n", ""},
  };
  for (const auto& [line, cleaned] : cases) EXPECT_EQ(CleanLine(line), cleaned) << line;
}

TEST(OcrdAnswers, KeepTheMemberOrderClientsCutByMarkers) {
  IssuedToken token;
  token.refreshToken = "25.r";
  token.expiresIn = 2592000;
  token.sessionKey = "k";
  token.accessToken = "24.a b";
  token.scope = "public";
  token.sessionSecret = "s";
  EXPECT_EQ(TokenAnswer(token),
            R"({"refresh_token":"25.r","expires_in":2592000,"session_key":"k",)"
            R"("access_token":"24.a b","scope":"public","session_secret":"s"})");
  EXPECT_EQ(InvalidClientAnswer(),
            R"({"error":"invalid_client","error_description":"unknown client id"})");
  EXPECT_EQ(WordsAnswer({"图片", "say \"hi\""}, 1234567890123456),
            "{\"words_result\":[{\"words\":\"图片\"},{\"words\":\"say \\\"hi\\\"\"}],"
            "\"words_result_num\":2,\"log_id\":1234567890123456}");
  EXPECT_EQ(WordsAnswer({}, 7), R"({"words_result":[],"words_result_num":0,"log_id":7})");
  EXPECT_EQ(WordsAnswer({"a\xFFz"}, 1),
            "{\"words_result\":[{\"words\":\"a\xEF\xBF\xBDz\"}],\"words_result_num\":1,"
            "\"log_id\":1}");
}

TEST(OcrdAnswers, ErrorObjectsAreTheCloudServicesOwn) {
  const std::pair<ErrorCode, const char*> cases[] = {
      {ErrorCode::kInvalidToken,
       R"({"error_code":110,"error_msg":"Access token invalid or no longer valid"})"},
      {ErrorCode::kInvalidParam, R"({"error_code":216100,"error_msg":"invalid param"})"},
      {ErrorCode::kEmptyImage, R"({"error_code":216200,"error_msg":"empty image"})"},
      {ErrorCode::kImageFormat, R"({"error_code":216201,"error_msg":"image format error"})"},
      {ErrorCode::kImageSize, R"({"error_code":216202,"error_msg":"image size error"})"},
  };
  for (const auto& [code, json] : cases) EXPECT_EQ(ErrorAnswer(code), json);
}

TEST(OcrdTokens, AnIssuedTokenIsValidUntilItExpires) {
  long long now = 1700000000;
  TokenIssuer issuer([&now] { return now; });
  const IssuedToken token = issuer.Issue();
  EXPECT_EQ(token.expiresIn, TokenIssuer::kLifetimeSeconds);
  EXPECT_EQ(token.accessToken.rfind("24.", 0), 0u);
  EXPECT_TRUE(issuer.IsValid(token.accessToken));
  now += TokenIssuer::kLifetimeSeconds - 1;
  EXPECT_TRUE(issuer.IsValid(token.accessToken));
  now += 1;
  EXPECT_FALSE(issuer.IsValid(token.accessToken));
}

TEST(OcrdTokens, ForgedAlteredAndForeignTokensAreRefused) {
  TokenIssuer issuer;
  TokenIssuer other;
  const std::string token = issuer.Issue().accessToken;
  std::string altered = token;
  altered[5] = altered[5] == 'a' ? 'b' : 'a';
  // Moving the issue time forward would lengthen the token's life: the MAC covers it.
  std::string later = token;
  const auto dot = later.find('.', later.find(".2592000.") + 9);
  later[dot - 1] = later[dot - 1] == '9' ? '8' : '9';
  for (const std::string& bad :
       {altered, later, other.Issue().accessToken, std::string(), std::string("24...."),
        token.substr(0, token.size() - 1), token + "0", "x" + token}) {
    EXPECT_FALSE(issuer.IsValid(bad)) << bad;
  }
  EXPECT_NE(issuer.Issue().accessToken, issuer.Issue().accessToken);
}

TEST(OcrdCommandLine, ReadsEveryOption) {
  const auto command = ParseCommandLine({"--port",
                                         "8123",
                                         "--bind",
                                         "::1",
                                         "--client-id",
                                         "ak",
                                         "--client-secret",
                                         "sk",
                                         "--tls-cert",
                                         "c.pem",
                                         "--tls-key",
                                         "k.pem",
                                         "--body-limit",
                                         "4M",
                                         "--threads",
                                         "3",
                                         "--engines",
                                         "2",
                                         "--languages",
                                         "eng",
                                         "--tessdata",
                                         "/data",
                                         "--psm",
                                         "6",
                                         "--engine",
                                         "tesseract",
                                         "--engine-threads",
                                         "4",
                                         "--models",
                                         "/m",
                                         "--onnxruntime",
                                         "/lib/ort.so",
                                         "--angle-classifier",
                                         "on",
                                         "--detection-side",
                                         "960"});
  const auto* options = std::get_if<Options>(&command);
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(options->port, 8123);
  EXPECT_EQ(options->bindAddress, "::1");
  EXPECT_EQ(options->clientId, "ak");
  EXPECT_EQ(options->clientSecret, "sk");
  EXPECT_EQ(options->tlsCertificate, "c.pem");
  EXPECT_EQ(options->tlsKey, "k.pem");
  EXPECT_EQ(options->bodyLimit, 4u << 20);
  EXPECT_EQ(options->threads, 3);
  EXPECT_EQ(options->engines, 2);
  EXPECT_EQ(options->languages, "eng");
  EXPECT_EQ(options->tessdata, "/data");
  EXPECT_EQ(options->pageSegmentation, 6);
  EXPECT_EQ(options->engine, EngineKind::kTesseract);
  EXPECT_EQ(options->engineThreads, 4);
  EXPECT_EQ(options->models, "/m");
  EXPECT_EQ(options->onnxRuntime, "/lib/ort.so");
  EXPECT_TRUE(options->angleClassifier);
  EXPECT_EQ(options->detectionSide, 960);
}

TEST(OcrdCommandLine, DefaultsServeLoopbackOnAnyPortWithA32MiBLimit) {
  const auto command = ParseCommandLine({});
  const auto* options = std::get_if<Options>(&command);
  ASSERT_NE(options, nullptr);
  EXPECT_EQ(options->port, 0);
  EXPECT_EQ(options->bindAddress, "127.0.0.1");
  EXPECT_EQ(options->bodyLimit, 32u << 20);
  EXPECT_EQ(options->languages, "chi_sim+eng");
  EXPECT_EQ(options->pageSegmentation, 4);
  EXPECT_TRUE(options->clientId.empty());
  EXPECT_TRUE(options->tlsCertificate.empty());
  EXPECT_EQ(options->engine, EngineKind::kPpocr);
  EXPECT_FALSE(options->angleClassifier);
  EXPECT_EQ(options->detectionSide, 1280);
  EXPECT_TRUE(options->models.empty());  // beside the program
}

TEST(OcrdCommandLine, PpocrRunsTwoEnginesOnOnePoolOfAllProcessorsAndTesseractOnePerProcessor) {
  struct Case {
    std::vector<std::string> arguments;
    unsigned processors;
    int engines;
    int threads;
  };
  const Case cases[] = {
      {{}, 8, 2, 8},
      {{}, 1, 2, 1},
      {{"--engines", "3", "--engine-threads", "2"}, 8, 3, 2},
      {{"--engine", "tesseract"}, 4, 4, 4},
      {{"--engine", "tesseract"}, 0, 1, 1},  // the system could not tell
  };
  for (const Case& c : cases) {
    const Options options = std::get<Options>(ParseCommandLine(c.arguments));
    EXPECT_EQ(EngineCount(options, c.processors), c.engines) << c.processors;
    EXPECT_EQ(EngineThreads(options, c.processors), c.threads) << c.processors;
  }
}

TEST(OcrdCommandLine, KeysMayComeFromTheEnvironmentAndTheCommandLineWins) {
  auto command = ParseCommandLine({}, "env-ak", "env-sk");
  EXPECT_EQ(std::get<Options>(command).clientId, "env-ak");
  EXPECT_EQ(std::get<Options>(command).clientSecret, "env-sk");
  command = ParseCommandLine({"--client-secret", "sk"}, "env-ak", "env-sk");
  EXPECT_EQ(std::get<Options>(command).clientSecret, "sk");
}

TEST(OcrdCommandLine, RefusesWhatItCannotUse) {
  const std::vector<std::vector<std::string>> bad = {
      {"--port", "65536"},
      {"--port", "-1"},
      {"--port", "80x"},
      {"--port"},
      {"--bind", ""},
      {"--body-limit", "0"},
      {"--body-limit", "12Q"},
      {"--threads", "0"},
      {"--engines", "x"},
      {"--client-id", "only-id"},
      {"--tls-cert", "c"},
      {"--frobnicate", "1"},
      {"stray"},
      {"--psm", "2"},
      {"--psm", "14"},
      {"--engine", "paddle"},
      {"--engine-threads", "0"},
      {"--models", ""},
      {"--onnxruntime", ""},
      {"--angle-classifier", "yes"},
      {"--detection-side", "100"},
      {"--detection-side", "5000"},
  };
  for (const auto& arguments : bad) {
    EXPECT_TRUE(std::holds_alternative<BadCommandLine>(ParseCommandLine(arguments)))
        << arguments[0];
  }
  EXPECT_TRUE(std::holds_alternative<ShowUsage>(ParseCommandLine({"--help"})));
}

TEST(OcrdCommandLine, ByteCountsTakeBinarySuffixes) {
  const std::pair<const char*, std::size_t> cases[] = {
      {"1", 1}, {"64K", 64u << 10}, {"64k", 64u << 10}, {"32M", 32u << 20}, {"1G", 1u << 30}};
  for (const auto& [text, bytes] : cases) {
    std::size_t parsed = 0;
    EXPECT_TRUE(ParseByteCount(text, parsed)) << text;
    EXPECT_EQ(parsed, bytes) << text;
  }
  std::size_t ignored = 0;
  EXPECT_FALSE(ParseByteCount("99999999999999999999G", ignored));
  EXPECT_FALSE(ParseByteCount("M", ignored));
}

std::string HexOf(const Sha256Digest& digest) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (std::uint8_t byte : digest) {
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
  }
  return out;
}

TEST(OcrdHmac, MatchesThePublishedTestVectors) {
  // FIPS 180-4's examples and RFC 4231's test cases 1, 2, 3 and 6 (a key longer than a block).
  EXPECT_EQ(HexOf(Sha256("")),
            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(HexOf(Sha256("abc")),
            "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  EXPECT_EQ(HexOf(Sha256("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq")),
            "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
  struct Case {
    std::string key;
    std::string message;
    const char* mac;
  };
  const Case cases[] = {
      {std::string(20, '\x0b'), "Hi There",
       "b0344c61d8db38535ca8afceaf0bf12b881dc200c9833da726e9376c2e32cff7"},
      {"Jefe", "what do ya want for nothing?",
       "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843"},
      {std::string(20, '\xaa'), std::string(50, '\xdd'),
       "773ea91e36800e46854db8ebd09181a72959098b3ef8c122d9635514ced565fe"},
      {std::string(131, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First",
       "60e431591ee0b67f0d8a26aacbf5b77f8e0bc6213728c5140546040f0ee37f54"},
  };
  for (const Case& c : cases) EXPECT_EQ(HexOf(HmacSha256(c.key, c.message)), c.mac) << c.message;
}

TEST(OcrdHmac, ConstantTimeEqualityIsPlainEqualityOfBytes) {
  EXPECT_TRUE(ConstantTimeEqual("", ""));
  EXPECT_TRUE(ConstantTimeEqual("abc", "abc"));
  EXPECT_FALSE(ConstantTimeEqual("abc", "abd"));
  EXPECT_FALSE(ConstantTimeEqual("abc", "ab"));
  EXPECT_FALSE(ConstantTimeEqual(std::string("a\0b", 3), std::string("a\0c", 3)));
}

TEST(OcrdLog, OneLineWithPathStatusOutcomeAndTime) {
  LogEntry entry{"127.0.0.1", "POST", "/rest/2.0/ocr/v1/general_basic", 200, "2 lines", 431};
  const auto when = std::chrono::system_clock::from_time_t(1700000000);
  EXPECT_EQ(
      FormatLogLine(entry, when),
      "2023-11-14T22:13:20Z 127.0.0.1 POST /rest/2.0/ocr/v1/general_basic 200 2 lines 431 ms");
  LogEntry unrouted{"::1", "", "/a\nb\x1B", 400, "", -1};
  EXPECT_EQ(FormatLogLine(unrouted, when), "2023-11-14T22:13:20Z ::1 - /a?b? 400");
}

}  // namespace
}  // namespace lumenta::ocrd
