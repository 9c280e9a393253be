#include "capture/model/dimming.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lumenta::capture {
namespace {

std::uint32_t DimPixel(std::uint32_t p) {
  return std::uint32_t(DimChannel(p & 0xFF)) | std::uint32_t(DimChannel((p >> 8) & 0xFF)) << 8 |
         std::uint32_t(DimChannel((p >> 16) & 0xFF)) << 16 | std::uint32_t(DimAlpha(p >> 24)) << 24;
}

}  // namespace

void DimPixels(const std::uint32_t* from, std::uint32_t* to, std::size_t count) {
  std::size_t i = 0;
#if defined(__SSE2__)
  // Eight channels at a time in 16-bit lanes: t = c * 155 + 127, then t / 255 exactly as
  // (t + 1 + (t >> 8)) >> 8 (t stays below 40,000), then 100 added to each fourth byte.
  const __m128i zero = _mm_setzero_si128();
  const __m128i factor = _mm_set1_epi16(255 - kDimmingAlpha);
  const __m128i half = _mm_set1_epi16(127);
  const __m128i one = _mm_set1_epi16(1);
  const __m128i alpha = _mm_set_epi16(kDimmingAlpha, 0, 0, 0, kDimmingAlpha, 0, 0, 0);
  const auto dim = [&](__m128i lanes) {
    __m128i t = _mm_add_epi16(_mm_mullo_epi16(lanes, factor), half);
    t = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, one), _mm_srli_epi16(t, 8)), 8);
    return _mm_add_epi16(t, alpha);
  };
  for (; i + 4 <= count; i += 4) {
    const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
    const __m128i low = dim(_mm_unpacklo_epi8(p, zero));
    const __m128i high = dim(_mm_unpackhi_epi8(p, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), _mm_packus_epi16(low, high));
  }
#endif
  for (; i < count; ++i) to[i] = DimPixel(from[i]);
}

}  // namespace lumenta::capture
