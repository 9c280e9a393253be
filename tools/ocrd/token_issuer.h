#pragma once
// Access tokens of the service. A token carries its own issue time and a MAC under a secret drawn
// at start-up, so checking one needs no table of issued tokens (memory does not grow with the
// number of clients) and tokens die with the process, as after a key change at the cloud service.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "tools/ocrd/answers.h"

namespace lumenta::ocrd {

class TokenIssuer {
 public:
  static constexpr long long kLifetimeSeconds = 2592000;  // 30 days

  // `now` gives the time in seconds since the epoch (replaced by tests).
  explicit TokenIssuer(std::function<long long()> now = {});

  [[nodiscard]] IssuedToken Issue();

  // True for a token this issuer made that has not expired yet.
  [[nodiscard]] bool IsValid(std::string_view accessToken) const;

 private:
  [[nodiscard]] std::string Mac(std::string_view text) const;

  std::function<long long()> now_;
  unsigned char secret_[32];
};

// Lower-case hexadecimal text of `count` random bytes.
[[nodiscard]] std::string RandomHex(std::size_t count);

}  // namespace lumenta::ocrd
