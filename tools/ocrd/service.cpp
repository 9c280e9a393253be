#include "tools/ocrd/service.h"

#include <httplib.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <random>

#include "tools/ocrd/answers.h"
#include "tools/ocrd/base64_decode.h"
#include "tools/ocrd/form_body.h"
#include "tools/ocrd/hmac_sha256.h"
#include "tools/ocrd/picture.h"

namespace lumenta::ocrd {
namespace {

constexpr char kJson[] = "application/json;charset=utf-8";

// What the handler of the request on this thread did, for the log line. httplib runs the
// pre-routing handler, the handler and the logger of one request on one worker thread.
struct RequestNote {
  std::optional<std::chrono::steady_clock::time_point> start;
  std::string outcome;
};
thread_local RequestNote t_note;

bool SameSecret(const std::string& given, const std::string& expected) {
  return ConstantTimeEqual(given, expected);
}

std::uint64_t NewLogId() {
  // Sixteen decimal digits, like the cloud service's ids, and exact in a JSON double.
  thread_local std::mt19937_64 random{std::random_device{}()};
  return 1000000000000000ull + random() % 9000000000000000ull;
}

// Reads the request body through `reader`. A request with neither a length nor chunked transfer
// coding has no body (RFC 9112 section 6.3); httplib would wait for the connection to close.
// False when the body could not be read; res.status is then 413 for a body over the limit.
bool ReadBody(const httplib::Request& req, const httplib::ContentReader& reader, std::size_t limit,
              std::string& body) {
  body.clear();
  std::string coding = req.get_header_value("Transfer-Encoding");
  for (char& c : coding) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const bool chunked = coding.find("chunked") != std::string::npos;
  if (!req.has_header("Content-Length") && !chunked) return true;
  // A stated length within the limit is taken as a hint; the reader enforces the limit itself.
  const unsigned long long stated =
      std::strtoull(req.get_header_value("Content-Length").c_str(), nullptr, 10);
  if (!chunked && stated <= limit) body.reserve(static_cast<std::size_t>(stated));
  return reader([&body](const char* data, std::size_t length) {
    body.append(data, length);
    return true;
  });
}

void AnswerError(httplib::Response& res, ErrorCode code, int status = 200) {
  res.status = status;
  res.set_content(ErrorAnswer(code), kJson);
  t_note.outcome = "error " + std::to_string(static_cast<int>(code));
}

}  // namespace

OcrService::OcrService(const Options& options, EnginePool& engines, TokenIssuer& tokens,
                       RequestLog& log)
    : options_(options), engines_(engines), tokens_(tokens), log_(log) {}

void OcrService::Install(httplib::Server& server) {
  server.set_payload_max_length(options_.bodyLimit);

  server.set_pre_routing_handler([](const httplib::Request&, httplib::Response&) {
    t_note.start = std::chrono::steady_clock::now();
    t_note.outcome.clear();
    return httplib::Server::HandlerResponse::Unhandled;
  });

  server.Post(kTokenPath, [this](const httplib::Request& req, httplib::Response& res,
                                 const httplib::ContentReader& reader) {
    std::string body;
    if (!ReadBody(req, reader, options_.bodyLimit, body)) {
      return AnswerError(res, ErrorCode::kInvalidParam, res.status == 413 ? 413 : 400);
    }
    // The keys come in the query; a form body may carry them too.
    auto parameter = [&req, &body](const char* name) {
      if (req.has_param(name)) return req.get_param_value(name);
      std::string value;
      return FindFormField(body, name, value) == FormField::kFound ? value : std::string();
    };
    const bool known = parameter("grant_type") == "client_credentials" &&
                       (options_.clientId.empty() ||
                        (parameter("client_id") == options_.clientId &&
                         SameSecret(parameter("client_secret"), options_.clientSecret)));
    if (!known) {
      res.status = 401;
      res.set_content(InvalidClientAnswer(), kJson);
      t_note.outcome = "invalid client";
      return;
    }
    res.set_content(TokenAnswer(tokens_.Issue()), kJson);
    t_note.outcome = "token issued";
  });

  // The picture form can be far larger than what httplib parses into parameters by itself, so
  // this handler reads the body through a content reader and takes the field out on its own.
  server.Post(kRecognitionPath, [this](const httplib::Request& req, httplib::Response& res,
                                       const httplib::ContentReader& reader) {
    std::string body;
    const bool complete = ReadBody(req, reader, options_.bodyLimit, body);
    // The whole body is read before anything is answered: a client still sending would
    // otherwise see the connection reset instead of the answer.
    if (!complete) {
      if (res.status == 413) {
        AnswerError(res, ErrorCode::kImageSize, 413);
      } else {
        AnswerError(res, ErrorCode::kInvalidParam, 400);
      }
      return;
    }
    if (!tokens_.IsValid(req.get_param_value("access_token"))) {
      return AnswerError(res, ErrorCode::kInvalidToken);
    }
    std::string base64;
    switch (FindFormField(body, "image", base64)) {
      case FormField::kMissing:
      case FormField::kMalformed:
        return AnswerError(res, ErrorCode::kInvalidParam);
      case FormField::kFound:
        break;
    }
    body = std::string();  // the picture is held twice at most from here on
    std::string bytes;
    if (!DecodeBase64(base64, bytes)) return AnswerError(res, ErrorCode::kImageFormat);
    if (bytes.empty()) return AnswerError(res, ErrorCode::kEmptyImage);
    base64 = std::string();
    RgbImage picture;
    switch (ReadPicture(bytes, picture)) {
      case PictureError::kFormat:
        return AnswerError(res, ErrorCode::kImageFormat);
      case PictureError::kSize:
        return AnswerError(res, ErrorCode::kImageSize);
      case PictureError::kNone:
        break;
    }
    bytes = std::string();
    std::vector<std::string> lines;
    if (!engines_.Recognize(picture, lines)) {
      return AnswerError(res, ErrorCode::kInternal);
    }
    const std::uint64_t logId = NewLogId();
    res.set_content(WordsAnswer(lines, logId), kJson);
    t_note.outcome = std::to_string(lines.size()) + (lines.size() == 1 ? " line" : " lines") +
                     " log_id " + std::to_string(logId);
  });

  // Every answer of the service is JSON, also for what no handler takes: unknown paths and
  // methods, malformed requests, bodies over the limit.
  server.set_error_handler(
      httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        switch (res.status) {
          case 404:
          case 405:
            AnswerError(res, ErrorCode::kUnsupportedMethod, res.status);
            break;
          case 413:
            AnswerError(res, ErrorCode::kImageSize, res.status);
            break;
          case 500:
            AnswerError(res, ErrorCode::kInternal, res.status);
            break;
          default:
            AnswerError(res, ErrorCode::kInvalidParam, res.status);
            break;
        }
        return httplib::Server::HandlerResponse::Handled;
      }));

  server.set_exception_handler(
      [](const httplib::Request&, httplib::Response& res, std::exception_ptr) {
        AnswerError(res, ErrorCode::kInternal, 500);
      });

  server.set_logger([this](const httplib::Request& req, const httplib::Response& res) {
    LogEntry entry;
    entry.remoteAddress = req.remote_addr;
    entry.method = req.method;
    entry.path = req.path;
    entry.status = res.status;
    entry.outcome = t_note.outcome;
    if (t_note.start) {
      entry.milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now() - *t_note.start)
                               .count();
    }
    t_note = RequestNote{};
    log_.Write(entry);
  });
}

}  // namespace lumenta::ocrd
