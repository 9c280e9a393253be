#include "image/gif_decoder.h"

#include <algorithm>
#include <string>

#include "image/byte_view.h"
#include "image/gif_lzw.h"

namespace lumenta::image {
namespace {

constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImage = 0x2C;
constexpr std::uint8_t kGraphicControl = 0xF9;

// Walks a chain of data sub-blocks (a length byte, that many bytes, ... a zero length) from
// `offset`; appends their bytes to `joined` when given. Returns the offset after the chain, or
// the end of the data when the chain breaks off.
std::size_t SubBlocks(ByteView file, std::size_t offset, std::string* joined) {
  while (offset < file.size) {
    const std::size_t length = file.U8(offset++);
    if (length == 0) return offset;
    const std::size_t available = std::min(length, file.size - offset);
    if (joined) joined->append(reinterpret_cast<const char*>(file.data + offset), available);
    offset += available;
  }
  return offset;
}

// Places decoded indices on the canvas, row by row in the frame's (possibly interlaced) order.
class FramePainter final : public LzwIndexSink {
 public:
  FramePainter(Image& canvas, int left, int top, int width, int height, bool interlaced,
               const std::uint8_t* palette, int colours, int transparent)
      : canvas_(canvas),
        left_(left),
        top_(top),
        width_(width),
        height_(height),
        interlaced_(interlaced),
        palette_(palette),
        colours_(colours),
        transparent_(transparent) {}

  bool Put(const std::uint8_t* indices, std::size_t count) override {
    for (std::size_t i = 0; i < count; ++i) {
      if (row_ >= height_) return false;
      Paint(indices[i]);
      if (++x_ == width_) {
        x_ = 0;
        NextRow();
      }
    }
    return row_ < height_;
  }

 private:
  void Paint(std::uint8_t index) {
    if (index == transparent_) return;
    const int cx = left_ + x_;
    const int cy = top_ + RowInFrame();
    if (cx >= canvas_.width() || cy >= canvas_.height()) return;
    std::uint32_t argb = 0xFF000000;  // an index past the colour table shows black
    if (index < colours_) {
      const std::uint8_t* rgb = palette_ + 3 * index;
      argb |= static_cast<std::uint32_t>(rgb[0]) << 16 | rgb[1] << 8 | rgb[2];
    }
    canvas_.SetPixel(cx, cy, argb);
  }

  // The frame row that the row_-th row of data belongs to: interlaced data comes in four passes,
  // every 8th row from 0, every 8th from 4, every 4th from 2, every 2nd from 1.
  int RowInFrame() const { return interlaced_ ? passRow_ : row_; }

  void NextRow() {
    ++row_;
    if (!interlaced_) return;
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    passRow_ += kStep[pass_];
    while (pass_ < 4 && passRow_ >= height_) {
      if (++pass_ < 4) passRow_ = kStart[pass_];
    }
  }

  Image& canvas_;
  int left_, top_, width_, height_;
  bool interlaced_;
  const std::uint8_t* palette_;
  int colours_;
  int transparent_;
  int x_ = 0;
  int row_ = 0;
  int pass_ = 0;
  int passRow_ = 0;
};

}  // namespace

Image DecodeGif(std::string_view bytes) {
  const ByteView file(bytes);
  if (!file.Has(0, 13) || (bytes.substr(0, 6) != "GIF87a" && bytes.substr(0, 6) != "GIF89a")) {
    return Image();
  }
  int screenWidth = file.Le16(6);
  int screenHeight = file.Le16(8);
  const std::uint8_t screenFlags = file.U8(10);
  std::size_t offset = 13;
  const std::uint8_t* globalPalette = nullptr;
  int globalColours = 0;
  if (screenFlags & 0x80) {
    globalColours = 2 << (screenFlags & 7);
    if (!file.Has(offset, 3u * globalColours)) return Image();
    globalPalette = file.data + offset;
    offset += 3u * globalColours;
  }

  int transparent = -1;
  while (offset < file.size) {
    const std::uint8_t block = file.U8(offset++);
    if (block == kExtension) {
      if (!file.Has(offset, 1)) return Image();
      const std::uint8_t label = file.U8(offset++);
      // A graphic control block: size 4, flags, delay (2 bytes), transparent index.
      if (label == kGraphicControl && file.Has(offset, 5) && file.U8(offset) >= 4) {
        transparent = (file.U8(offset + 1) & 1) ? file.U8(offset + 4) : -1;
      }
      offset = SubBlocks(file, offset, nullptr);
      continue;
    }
    if (block != kImage || !file.Has(offset, 9)) return Image();  // the trailer, or garbage

    int left = file.Le16(offset);
    int top = file.Le16(offset + 2);
    const int width = file.Le16(offset + 4);
    const int height = file.Le16(offset + 6);
    const std::uint8_t flags = file.U8(offset + 8);
    offset += 9;
    const std::uint8_t* palette = globalPalette;
    int colours = globalColours;
    if (flags & 0x80) {
      colours = 2 << (flags & 7);
      if (!file.Has(offset, 3u * colours)) return Image();
      palette = file.data + offset;
      offset += 3u * colours;
    }
    if (!palette || width == 0 || height == 0 || !file.Has(offset, 1)) return Image();
    if (width > screenWidth || height > screenHeight) {
      screenWidth = width;
      screenHeight = height;
      left = top = 0;
    }
    Image canvas = Image::Create(screenWidth, screenHeight);
    if (canvas.empty()) return Image();
    const int minCodeSize = file.U8(offset++);
    std::string codes;
    SubBlocks(file, offset, &codes);
    FramePainter painter(canvas, left, top, width, height, (flags & 0x40) != 0, palette, colours,
                         transparent);
    if (DecodeGifLzw(ByteView(codes), minCodeSize, painter) == 0) return Image();
    return canvas;
  }
  return Image();
}

}  // namespace lumenta::image
