#include "tools/ocrd/token_issuer.h"

#include <charconv>
#include <chrono>
#include <stdexcept>
#include <vector>

#include "tools/ocrd/hmac_sha256.h"
#include "tools/ocrd/random_bytes.h"

namespace lumenta::ocrd {
namespace {

std::string Hex(const unsigned char* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  out.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    out.push_back(kDigits[bytes[i] >> 4]);
    out.push_back(kDigits[bytes[i] & 15]);
  }
  return out;
}

void FillRandom(unsigned char* bytes, std::size_t count) {
  if (!FillRandomBytes(bytes, count)) {
    // Without randomness tokens could be forged: refuse to go on.
    throw std::runtime_error("no random bytes available");
  }
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = text.find(separator, from);
    parts.push_back(text.substr(from, at == std::string_view::npos ? text.npos : at - from));
    if (at == std::string_view::npos) return parts;
    from = at + 1;
  }
}

constexpr std::size_t kMacBytes = 16;

}  // namespace

std::string RandomHex(std::size_t count) {
  std::vector<unsigned char> bytes(count);
  FillRandom(bytes.data(), count);
  return Hex(bytes.data(), count);
}

TokenIssuer::TokenIssuer(std::function<long long()> now) : now_(std::move(now)) {
  if (!now_) {
    now_ = [] {
      return static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(
                                        std::chrono::system_clock::now().time_since_epoch())
                                        .count());
    };
  }
  FillRandom(secret_, sizeof secret_);
}

std::string TokenIssuer::Mac(std::string_view text) const {
  const Sha256Digest mac = HmacSha256(
      std::string_view(reinterpret_cast<const char*>(secret_), sizeof secret_), text);
  return Hex(mac.data(), kMacBytes);
}

IssuedToken TokenIssuer::Issue() {
  // The layout of the cloud service's tokens: "24.<hex>.<lifetime>.<issued>.<suffix>".
  const std::string body =
      "24." + RandomHex(16) + "." + std::to_string(kLifetimeSeconds) + "." + std::to_string(now_());
  IssuedToken token;
  token.accessToken = body + "." + Mac(body);
  token.refreshToken = "25." + RandomHex(16) + "." + std::to_string(kLifetimeSeconds * 10) + "." +
                       std::to_string(now_()) + "." + RandomHex(8);
  token.sessionKey = RandomHex(24);
  token.sessionSecret = RandomHex(16);
  token.scope = "public brain_all_scope brain_ocr_general_basic";
  token.expiresIn = kLifetimeSeconds;
  return token;
}

bool TokenIssuer::IsValid(std::string_view accessToken) const {
  const std::vector<std::string_view> parts = Split(accessToken, '.');
  if (parts.size() != 5 || parts[0] != "24" || parts[4].size() != kMacBytes * 2) return false;
  const std::string_view body = accessToken.substr(0, accessToken.size() - parts[4].size() - 1);
  const std::string expected = Mac(body);
  if (!ConstantTimeEqual(expected, parts[4])) return false;
  long long lifetime = 0;
  long long issued = 0;
  if (std::from_chars(parts[2].data(), parts[2].data() + parts[2].size(), lifetime).ec !=
          std::errc() ||
      std::from_chars(parts[3].data(), parts[3].data() + parts[3].size(), issued).ec !=
          std::errc()) {
    return false;
  }
  const long long now = now_();
  return now >= issued - 60 && now < issued + lifetime;  // a minute of leeway for clock steps
}

}  // namespace lumenta::ocrd
