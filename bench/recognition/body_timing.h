#pragma once
// The recognition body of an 8 MiB picture, timed the same way in the native build and in the
// Windows build under Wine, so that the two can be set side by side: the body built whole
// (RecognitionBody, a fresh buffer each time), the encoding alone into a buffer that is already
// in use, the body made piece by piece through a 256 KiB buffer as the click now sends it, and
// the first touch of fresh memory of the body's size. Plain C++: no Windows headers.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>

#include "base/text.h"
#include "base/url_encoded_base64.h"
#include "ocr/picture_field.h"
#include "ocr/recognition_flow.h"

namespace lumenta::bench {

// The size of the benchmark's BMP file: 1448 x 1448 pixels of 32 bits and a 54-byte header.
inline constexpr size_t kEightMebibytePicture = 8386870;

// `n` bytes from a linear congruential generator: varied, so that nothing can shortcut them.
inline ByteBuffer VariedBytes(size_t n, uint32_t state = 20261210) {
  ByteBuffer bytes(n, '\0');
  for (char& b : bytes) {
    state = state * 1664525u + 1013904223u;
    b = static_cast<char>(state >> 24);
  }
  return bytes;
}

struct BodyTimes {
  double body = 0;        // RecognitionBody, as the flow calls it (ms, best round)
  double encoding = 0;    // WriteUrlEncodedBase64 into a buffer touched before (ms)
  double pieces = 0;      // PictureFieldPieces through one 256 KiB buffer (ms)
  double firstTouch = 0;  // allocating a buffer of the body's size and writing it once (ms)
  size_t bodySize = 0;
};

inline BodyTimes TimeRecognitionBody(const ByteBuffer& picture, int rounds) {
  using Clock = std::chrono::steady_clock;
  auto ms = [](Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); };
  BodyTimes best{1e300, 1e300, 1e300, 1e300, 0};
  std::string warm(UrlEncodedBase64Length(picture.view()), '\0');
  std::string piece(size_t{256} << 10, '\0');
  volatile char sink = 0;
  for (int round = 0; round < rounds; ++round) {
    auto start = Clock::now();
    const Text body = RecognitionBody(picture.view());
    best.body = std::min(best.body, ms(Clock::now() - start));
    best.bodySize = body.size();
    sink = body[body.size() / 2];

    start = Clock::now();
    WriteUrlEncodedBase64(picture.view(), warm.data());
    best.encoding = std::min(best.encoding, ms(Clock::now() - start));
    sink = warm[warm.size() / 2];

    start = Clock::now();
    PictureFieldPieces field(picture.view());
    while (field.Next(piece.data(), piece.size()) != 0) {
    }
    best.pieces = std::min(best.pieces, ms(Clock::now() - start));
    sink = piece[piece.size() / 2];

    start = Clock::now();
    {
      std::string fresh(body.size(), '\x01');
      sink = fresh[fresh.size() / 2];
    }
    best.firstTouch = std::min(best.firstTouch, ms(Clock::now() - start));
  }
  (void)sink;
  return best;
}

}  // namespace lumenta::bench
