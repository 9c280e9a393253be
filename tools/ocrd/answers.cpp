#include "tools/ocrd/answers.h"

#include <nlohmann/json.hpp>

namespace lumenta::ocrd {
namespace {

using Json = nlohmann::ordered_json;  // keeps the members in the order they are set

std::string Dump(const Json& json) {
  // Text the engine produced is not guaranteed to be valid UTF-8: replace, never throw.
  return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

const char* ErrorMessage(ErrorCode code) {
  switch (code) {
    case ErrorCode::kUnsupportedMethod:
      return "Unsupported openapi method";
    case ErrorCode::kInvalidToken:
      return "Access token invalid or no longer valid";
    case ErrorCode::kInvalidParam:
      return "invalid param";
    case ErrorCode::kEmptyImage:
      return "empty image";
    case ErrorCode::kImageFormat:
      return "image format error";
    case ErrorCode::kImageSize:
      return "image size error";
    case ErrorCode::kInternal:
      return "internal error";
  }
  return "internal error";
}

std::string TokenAnswer(const IssuedToken& token) {
  Json json;
  json["refresh_token"] = token.refreshToken;
  json["expires_in"] = token.expiresIn;
  json["session_key"] = token.sessionKey;
  json["access_token"] = token.accessToken;
  json["scope"] = token.scope;
  json["session_secret"] = token.sessionSecret;
  return Dump(json);
}

std::string InvalidClientAnswer() {
  Json json;
  json["error"] = "invalid_client";
  json["error_description"] = "unknown client id";
  return Dump(json);
}

std::string WordsAnswer(const std::vector<std::string>& lines, std::uint64_t logId) {
  Json words = Json::array();
  for (const std::string& line : lines) words.push_back(Json{{"words", line}});
  Json json;
  json["words_result"] = std::move(words);
  json["words_result_num"] = lines.size();
  json["log_id"] = logId;
  return Dump(json);
}

std::string ErrorAnswer(ErrorCode code) {
  Json json;
  json["error_code"] = static_cast<int>(code);
  json["error_msg"] = ErrorMessage(code);
  return Dump(json);
}

}  // namespace lumenta::ocrd
