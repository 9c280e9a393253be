#include "image/area_average.h"

#include <algorithm>
#include <cstring>

namespace lumenta::image {
namespace {

constexpr int kWeightBits = 14;
constexpr std::uint32_t kOne = 1u << kWeightBits;

// c * a / 255, rounded.
inline std::uint8_t Premultiply(unsigned c, unsigned a) {
  const unsigned t = c * a + 128;
  return static_cast<std::uint8_t>((t + (t >> 8)) >> 8);
}

}  // namespace

AreaAverageScaler::Taps AreaAverageScaler::MakeTaps(int src, int dst) {
  // Measured in units of 1/(src*dst): a source pixel is dst units wide, an output pixel src.
  Taps taps;
  taps.first.resize(dst);
  taps.count.resize(dst);
  taps.offset.resize(dst);
  taps.weights.reserve(static_cast<std::size_t>(src) + dst);
  for (int i = 0; i < dst; ++i) {
    const std::int64_t lo = static_cast<std::int64_t>(i) * src;
    const std::int64_t hi = lo + src;
    const int first = static_cast<int>(lo / dst);
    const int last = static_cast<int>((hi - 1) / dst);
    taps.first[i] = first;
    taps.count[i] = last - first + 1;
    taps.offset[i] = static_cast<std::uint32_t>(taps.weights.size());
    std::uint32_t sum = 0;
    for (int j = first; j <= last; ++j) {
      const std::int64_t overlap = std::min<std::int64_t>((j + 1) * std::int64_t{dst}, hi) -
                                   std::max<std::int64_t>(j * std::int64_t{dst}, lo);
      const auto w = static_cast<std::uint16_t>(overlap * kOne / src);
      taps.weights.push_back(w);
      sum += w;
    }
    // Rounding down lost a little: give it to the heaviest tap so the weights sum to one.
    std::size_t heaviest = taps.offset[i];
    for (std::size_t k = taps.offset[i]; k < taps.weights.size(); ++k) {
      if (taps.weights[k] > taps.weights[heaviest]) heaviest = k;
    }
    taps.weights[heaviest] = static_cast<std::uint16_t>(taps.weights[heaviest] + (kOne - sum));
  }
  return taps;
}

bool AreaAverageScaler::Start(int srcWidth, int srcHeight, int dstWidth, int dstHeight) {
  out_ = Image();
  if (!SizeAllowed(srcWidth, srcHeight) || dstWidth < 1 || dstHeight < 1 || dstWidth > srcWidth ||
      dstHeight > srcHeight) {
    return false;
  }
  out_ = Image::Create(dstWidth, dstHeight);
  if (out_.empty()) return false;
  srcWidth_ = srcWidth;
  srcHeight_ = srcHeight;
  nextSourceRow_ = 0;
  columns_ = MakeTaps(srcWidth, dstWidth);
  rows_ = MakeTaps(srcHeight, dstHeight);
  premultiplied_.assign(static_cast<std::size_t>(srcWidth) * 4, 0);
  shrunk_.assign(static_cast<std::size_t>(dstWidth) * 4, 0);
  for (auto& sums : sums_) sums.assign(static_cast<std::size_t>(dstWidth) * 4, 0);
  return true;
}

void AreaAverageScaler::PushRow(const std::uint8_t* bgra) {
  if (out_.empty() || nextSourceRow_ >= srcHeight_) return;
  const int y = nextSourceRow_++;

  // Premultiply only rows that need it: photographs are opaque throughout.
  const std::uint8_t* row = bgra;
  for (int x = 0; x < srcWidth_; ++x) {
    if (bgra[4 * x + 3] != 255) {
      std::uint8_t* p = premultiplied_.data();
      for (int k = 0; k < srcWidth_; ++k, p += 4, bgra += 4) {
        const unsigned a = bgra[3];
        p[0] = Premultiply(bgra[0], a);
        p[1] = Premultiply(bgra[1], a);
        p[2] = Premultiply(bgra[2], a);
        p[3] = static_cast<std::uint8_t>(a);
      }
      row = premultiplied_.data();
      break;
    }
  }

  // Horizontal pass into 8.8 fixed point: sum(w * c) is at most 255 << 14.
  const int dstWidth = out_.width();
  const std::uint16_t* weights = columns_.weights.data();
  for (int x = 0; x < dstWidth; ++x) {
    const std::uint8_t* p = row + static_cast<std::size_t>(columns_.first[x]) * 4;
    const std::uint16_t* w = weights + columns_.offset[x];
    std::uint32_t b = 0, g = 0, r = 0, a = 0;
    for (int n = columns_.count[x]; n > 0; --n, p += 4, ++w) {
      b += *w * p[0];
      g += *w * p[1];
      r += *w * p[2];
      a += *w * p[3];
    }
    std::uint16_t* s = &shrunk_[4 * static_cast<std::size_t>(x)];
    s[0] = static_cast<std::uint16_t>((b + 32) >> 6);
    s[1] = static_cast<std::uint16_t>((g + 32) >> 6);
    s[2] = static_cast<std::uint16_t>((r + 32) >> 6);
    s[3] = static_cast<std::uint16_t>((a + 32) >> 6);
  }

  // Vertical pass: this source row is part of at most two output rows (the output rows are
  // at least as tall as a source row).
  const int dstHeight = out_.height();
  int o = static_cast<int>(static_cast<std::int64_t>(y) * dstHeight / srcHeight_);
  for (; o < dstHeight && rows_.first[o] <= y; ++o) {
    if (y >= rows_.first[o] + rows_.count[o]) continue;
    const std::uint32_t w = rows_.weights[rows_.offset[o] + (y - rows_.first[o])];
    std::uint32_t* sums = sums_[o & 1].data();
    const std::size_t n = static_cast<std::size_t>(dstWidth) * 4;
    for (std::size_t k = 0; k < n; ++k) sums[k] += w * shrunk_[k];
    if (y == rows_.first[o] + rows_.count[o] - 1) EmitRow(o);
  }
}

void AreaAverageScaler::EmitRow(int row) {
  std::uint32_t* sums = sums_[row & 1].data();
  std::uint8_t* dst = out_.Row(row);
  const std::size_t n = static_cast<std::size_t>(out_.width()) * 4;
  // sum is at most (255 << 8) << 14; dividing by 1 << 22 with rounding gives 0..255.
  for (std::size_t k = 0; k < n; ++k) {
    dst[k] = static_cast<std::uint8_t>((sums[k] + (1u << 21)) >> 22);
    sums[k] = 0;
  }
}

Image AreaAverageScaler::Finish() {
  Image out = std::move(out_);
  out_ = Image();
  columns_ = Taps();
  rows_ = Taps();
  return out;
}

Image ScaleAreaAverage(const Image& straight, int dstWidth, int dstHeight) {
  AreaAverageScaler scaler;
  if (straight.empty() || !scaler.Start(straight.width(), straight.height(), dstWidth, dstHeight)) {
    return Image();
  }
  for (int y = 0; y < straight.height(); ++y) scaler.PushRow(straight.Row(y));
  return scaler.Finish();
}

}  // namespace lumenta::image
