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

std::vector<AreaAverageScaler::Span> AreaAverageScaler::MakeSpans(int src, int dst) {
  // Measured in units of 1/(src*dst): a source pixel is dst units wide, an output pixel src.
  std::vector<Span> spans(dst);
  const auto weight = [&](std::int64_t overlap) {
    return static_cast<std::uint32_t>(overlap * kOne / src);
  };
  for (int i = 0; i < dst; ++i) {
    const std::int64_t lo = static_cast<std::int64_t>(i) * src;
    const std::int64_t hi = lo + src;
    Span& span = spans[i];
    span.first = static_cast<int>(lo / dst);
    const int last = static_cast<int>((hi - 1) / dst);
    span.count = last - span.first + 1;
    if (span.count == 1) {
      span.firstWeight = span.lastWeight = kOne;
      continue;
    }
    span.firstWeight = weight((span.first + 1) * std::int64_t{dst} - lo);
    span.innerWeight = weight(dst);
    span.lastWeight = kOne - span.firstWeight - span.innerWeight * (span.count - 2);
  }
  return spans;
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
  columns_ = MakeSpans(srcWidth, dstWidth);
  rows_ = MakeSpans(srcHeight, dstHeight);
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

  ShrinkRow(row, row == bgra);

  // Vertical pass: this source row is part of at most two output rows (the output rows are
  // at least as tall as a source row).
  const int dstWidth = out_.width();
  const int dstHeight = out_.height();
  int o = static_cast<int>(static_cast<std::int64_t>(y) * dstHeight / srcHeight_);
  for (; o < dstHeight && rows_[o].first <= y; ++o) {
    if (y >= rows_[o].first + rows_[o].count) continue;
    const std::uint32_t w = rows_[o].WeightOf(y);
    std::uint32_t* sums = sums_[o & 1].data();
    const std::size_t n = static_cast<std::size_t>(dstWidth) * 4;
    for (std::size_t k = 0; k < n; ++k) sums[k] += w * shrunk_[k];
    if (y == rows_[o].first + rows_[o].count - 1) EmitRow(o);
  }
}

// Horizontal pass into 8.8 fixed point: sum(w * c) is at most 255 << 14, and the whole pixels
// inside a span are only added up, then weighted once.
void AreaAverageScaler::ShrinkRow(const std::uint8_t* row, bool opaque) {
  std::uint16_t* out = shrunk_.data();
  for (const Span& span : columns_) {
    const std::uint8_t* p = row + static_cast<std::size_t>(span.first) * 4;
    std::uint32_t b = span.firstWeight * p[0], g = span.firstWeight * p[1],
                  r = span.firstWeight * p[2], a = span.firstWeight * p[3];
    if (span.count > 1) {
      std::uint32_t ib = 0, ig = 0, ir = 0, ia = 0;
      const std::uint8_t* q = p + 4;
      for (int n = span.count - 2; n > 0; --n, q += 4) {
        ib += q[0];
        ig += q[1];
        ir += q[2];
        ia += q[3];
      }
      b += span.innerWeight * ib + span.lastWeight * q[0];
      g += span.innerWeight * ig + span.lastWeight * q[1];
      r += span.innerWeight * ir + span.lastWeight * q[2];
      a += span.innerWeight * ia + span.lastWeight * q[3];
    }
    out[0] = static_cast<std::uint16_t>((b + 32) >> 6);
    out[1] = static_cast<std::uint16_t>((g + 32) >> 6);
    out[2] = static_cast<std::uint16_t>((r + 32) >> 6);
    out[3] = opaque ? 255 << 8 : static_cast<std::uint16_t>((a + 32) >> 6);
    out += 4;
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
  columns_.clear();
  rows_.clear();
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
