#include "tools/ocrd/base64_decode.h"

#include <array>
#include <cstdint>

namespace lumenta::ocrd {
namespace {

constexpr int8_t kPad = -3;
constexpr int8_t kSkip = -2;
constexpr int8_t kBad = -1;

constexpr std::array<int8_t, 256> MakeTable() {
  std::array<int8_t, 256> table{};
  for (auto& entry : table) entry = kBad;
  constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  for (int i = 0; i < 64; ++i) table[static_cast<unsigned char>(kAlphabet[i])] = int8_t(i);
  table['='] = kPad;
  table['\r'] = kSkip;
  table['\n'] = kSkip;
  return table;
}

constexpr auto kTable = MakeTable();

}  // namespace

bool DecodeBase64(std::string_view text, std::string& bytes) {
  bytes.clear();
  bytes.reserve(text.size() / 4 * 3);
  int8_t quad[4];
  int filled = 0;
  bool ended = false;  // a padded group was the last one allowed
  for (const char c : text) {
    const int8_t value = kTable[static_cast<unsigned char>(c)];
    if (value == kSkip) continue;
    if (value == kBad || ended) return false;
    quad[filled++] = value;
    if (filled < 4) continue;
    filled = 0;
    // "=" may only fill the last one or two places of the last group.
    if (quad[0] == kPad || quad[1] == kPad || (quad[2] == kPad && quad[3] != kPad)) return false;
    const uint32_t group = (uint32_t(quad[0]) << 18) | (uint32_t(quad[1]) << 12) |
                           (quad[2] == kPad ? 0u : uint32_t(quad[2]) << 6) |
                           (quad[3] == kPad ? 0u : uint32_t(quad[3]));
    bytes.push_back(static_cast<char>(group >> 16));
    if (quad[2] != kPad) bytes.push_back(static_cast<char>(group >> 8));
    if (quad[3] != kPad) bytes.push_back(static_cast<char>(group));
    ended = quad[3] == kPad;
  }
  return filled == 0;
}

}  // namespace lumenta::ocrd
