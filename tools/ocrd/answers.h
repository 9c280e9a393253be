#pragma once
// The JSON answers of the service, laid out member by member as the cloud service lays them out:
// clients cut values out by markers, so the order of the members is part of the protocol (the
// token answer holds the scope member right after the token, the recognition answer the log id
// right after the count).
#include <cstdint>
#include <string>
#include <vector>

namespace lumenta::ocrd {

enum class ErrorCode : int {
  kUnsupportedMethod = 3,
  kInvalidToken = 110,
  kInvalidParam = 216100,
  kEmptyImage = 216200,
  kImageFormat = 216201,
  kImageSize = 216202,
  kInternal = 282000,
};

struct IssuedToken {
  std::string accessToken;
  std::string refreshToken;
  std::string sessionKey;
  std::string sessionSecret;
  std::string scope;
  long long expiresIn = 0;
};

[[nodiscard]] const char* ErrorMessage(ErrorCode code);

// {"refresh_token":..,"expires_in":..,"session_key":..,"access_token":..,"scope":..,"session_secret":..}
[[nodiscard]] std::string TokenAnswer(const IssuedToken& token);

// {"error":"invalid_client","error_description":"unknown client id"}
[[nodiscard]] std::string InvalidClientAnswer();

// {"words_result":[{"words":".."},..],"words_result_num":N,"log_id":..}; lines are UTF-8.
[[nodiscard]] std::string WordsAnswer(const std::vector<std::string>& lines, std::uint64_t logId);

// {"error_code":N,"error_msg":".."}
[[nodiscard]] std::string ErrorAnswer(ErrorCode code);

}  // namespace lumenta::ocrd
