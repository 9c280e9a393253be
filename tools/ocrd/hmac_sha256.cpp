#include "tools/ocrd/hmac_sha256.h"

#include <cstring>
#include <string>

namespace lumenta::ocrd {
namespace {

constexpr std::uint32_t kRoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4,
    0xab1c5ed5, 0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe,
    0x9bdc06a7, 0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f,
    0x4a7484aa, 0x5cb0a9dc, 0x76f988da, 0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7,
    0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85, 0x2e1b2138, 0x4d2c6dfc,
    0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b,
    0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116,
    0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7,
    0xc67178f2};

std::uint32_t RotateRight(std::uint32_t value, int bits) {
  return (value >> bits) | (value << (32 - bits));
}

class Sha256State {
 public:
  void Update(std::string_view bytes) {
    for (const char c : bytes) {
      block_[filled_++] = static_cast<std::uint8_t>(c);
      if (filled_ == 64) {
        Compress();
        filled_ = 0;
      }
    }
    length_ += bytes.size();
  }

  Sha256Digest Finish() {
    const std::uint64_t bits = length_ * 8;
    const char one = static_cast<char>(0x80);
    Update(std::string_view(&one, 1));
    const char zero = 0;
    while (filled_ != 56) Update(std::string_view(&zero, 1));
    char tail[8];
    for (int i = 0; i < 8; ++i) tail[i] = static_cast<char>(bits >> (56 - 8 * i));
    Update(std::string_view(tail, 8));
    Sha256Digest digest;
    for (int i = 0; i < 8; ++i) {
      for (int k = 0; k < 4; ++k) {
        digest[static_cast<std::size_t>(i * 4 + k)] = static_cast<std::uint8_t>(h_[i] >> (24 - 8 * k));
      }
    }
    return digest;
  }

 private:
  void Compress() {
    std::uint32_t w[64];
    for (int i = 0; i < 16; ++i) {
      w[i] = (std::uint32_t{block_[i * 4]} << 24) | (std::uint32_t{block_[i * 4 + 1]} << 16) |
             (std::uint32_t{block_[i * 4 + 2]} << 8) | std::uint32_t{block_[i * 4 + 3]};
    }
    for (int i = 16; i < 64; ++i) {
      const std::uint32_t s0 = RotateRight(w[i - 15], 7) ^ RotateRight(w[i - 15], 18) ^ (w[i - 15] >> 3);
      const std::uint32_t s1 = RotateRight(w[i - 2], 17) ^ RotateRight(w[i - 2], 19) ^ (w[i - 2] >> 10);
      w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = h_[0], b = h_[1], c = h_[2], d = h_[3], e = h_[4], f = h_[5], g = h_[6],
                  h = h_[7];
    for (int i = 0; i < 64; ++i) {
      const std::uint32_t s1 = RotateRight(e, 6) ^ RotateRight(e, 11) ^ RotateRight(e, 25);
      const std::uint32_t choice = (e & f) ^ (~e & g);
      const std::uint32_t t1 = h + s1 + choice + kRoundConstants[i] + w[i];
      const std::uint32_t s0 = RotateRight(a, 2) ^ RotateRight(a, 13) ^ RotateRight(a, 22);
      const std::uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
      const std::uint32_t t2 = s0 + majority;
      h = g;
      g = f;
      f = e;
      e = d + t1;
      d = c;
      c = b;
      b = a;
      a = t1 + t2;
    }
    h_[0] += a;
    h_[1] += b;
    h_[2] += c;
    h_[3] += d;
    h_[4] += e;
    h_[5] += f;
    h_[6] += g;
    h_[7] += h;
  }

  std::uint32_t h_[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                         0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::uint8_t block_[64] = {};
  std::size_t filled_ = 0;
  std::uint64_t length_ = 0;
};

}  // namespace

Sha256Digest Sha256(std::string_view bytes) {
  Sha256State state;
  state.Update(bytes);
  return state.Finish();
}

Sha256Digest HmacSha256(std::string_view key, std::string_view message) {
  constexpr std::size_t kBlock = 64;
  std::string block(kBlock, '\0');
  if (key.size() > kBlock) {
    const Sha256Digest hashed = Sha256(key);
    std::memcpy(block.data(), hashed.data(), hashed.size());
  } else {
    std::memcpy(block.data(), key.data(), key.size());
  }
  std::string inner(kBlock, '\0'), outer(kBlock, '\0');
  for (std::size_t i = 0; i < kBlock; ++i) {
    inner[i] = static_cast<char>(block[i] ^ 0x36);
    outer[i] = static_cast<char>(block[i] ^ 0x5c);
  }
  Sha256State innerHash;
  innerHash.Update(inner);
  innerHash.Update(message);
  const Sha256Digest innerDigest = innerHash.Finish();
  Sha256State outerHash;
  outerHash.Update(outer);
  outerHash.Update(std::string_view(reinterpret_cast<const char*>(innerDigest.data()),
                                    innerDigest.size()));
  return outerHash.Finish();
}

bool ConstantTimeEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    difference |= static_cast<unsigned char>(a[i] ^ b[i]);
  }
  return difference == 0;
}

}  // namespace lumenta::ocrd
