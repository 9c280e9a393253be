#pragma once
// Shrinking a picture by area averaging: every output pixel is the mean of the source area it
// covers, the source pixels cut by the area's edges weighted by the part inside. Done in two
// separable passes in fixed point (each weight a multiple of 1/16384, each pass's weights for
// one output pixel summing to exactly 1, so a uniform area keeps its exact value), and fed one
// source row at a time, so a decoder can stream its rows in without the whole picture ever
// being held. Colours are averaged premultiplied by alpha, so transparent pixels do not bleed
// their (invisible) colour into the edges of what they surround.
#include <cstdint>
#include <vector>

#include "image/image.h"

namespace lumenta::image {

class AreaAverageScaler {
 public:
  // Prepares a reduction from srcWidth x srcHeight to dstWidth x dstHeight. False unless
  // 1 <= dst <= src on both axes and the sizes are allowed, or when memory is short. Equal sizes
  // copy (and premultiply) the picture.
  [[nodiscard]] bool Start(int srcWidth, int srcHeight, int dstWidth, int dstHeight);

  // The next source row: srcWidth straight-alpha BGRA pixels. Rows beyond srcHeight are ignored.
  void PushRow(const std::uint8_t* bgra);

  // The result as premultiplied BGRA. Output rows whose source rows never arrived are
  // transparent. The scaler is empty afterwards.
  [[nodiscard]] Image Finish();

 private:
  // The source pixels that make each output pixel along one axis: `count` pixels from `first`,
  // the first and last weighted by how much of them lies inside, the ones between them whole
  // (all with the same weight). The last weight also takes the rounding remainder, so that the
  // weights of one output pixel sum to exactly one.
  struct Span {
    int first = 0;
    int count = 0;
    std::uint32_t firstWeight = 0;
    std::uint32_t innerWeight = 0;
    std::uint32_t lastWeight = 0;
    std::uint32_t WeightOf(int index) const {
      if (index == first) return firstWeight;
      return index == first + count - 1 ? lastWeight : innerWeight;
    }
  };
  static std::vector<Span> MakeSpans(int src, int dst);

  void ShrinkRow(const std::uint8_t* row, bool opaque);
  void EmitRow(int row);

  int srcWidth_ = 0;
  int srcHeight_ = 0;
  int nextSourceRow_ = 0;
  std::vector<Span> columns_;
  std::vector<Span> rows_;
  std::vector<std::uint8_t> premultiplied_;  // one source row, when it has transparency
  std::vector<std::uint16_t> shrunk_;        // one row after the horizontal pass, 8.8 fixed point
  std::vector<std::uint32_t> sums_[2];       // vertical sums of two consecutive output rows
  Image out_;
};

// The whole picture at once: straight-alpha BGRA in, premultiplied BGRA out. Empty when the
// sizes are not a reduction (see Start).
[[nodiscard]] Image ScaleAreaAverage(const Image& straight, int dstWidth, int dstHeight);

}  // namespace lumenta::image
