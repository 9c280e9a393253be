#include "image/dib_decoder.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "image/jpeg_decoder.h"
#include "image/png_decoder.h"

namespace lumenta::image {
namespace {

enum Compression : std::uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,
  kJpeg = 4,
  kPng = 5,
  kAlphaBitFields = 6,
};

// One colour channel held by a bit mask, scaled to 0..255.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit Channel(std::uint32_t m = 0) : mask(m) {
    if (!m) return;
    shift = std::countr_zero(m);
    bits = std::bit_width(m >> shift);
  }
  std::uint8_t Get(std::uint32_t pixel) const {
    if (!mask) return 0;  // a channel the file leaves out
    const std::uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
    const std::uint32_t max = (1u << bits) - 1;
    return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
  }
};

struct Header {
  std::size_t size = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // rows of the picture, positive
  bool topDown = false;
  int bits = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t coloursUsed = 0;
  std::size_t paletteOffset = 0;
  std::size_t paletteEntrySize = 4;
  Channel red, green, blue, alpha;
  bool hasMasks = false;
};

bool IsWindowsHeaderSize(std::size_t size) {
  return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool ReadHeader(ByteView dib, bool iconMask, Header& h) {
  if (!dib.Has(0, 4)) return false;
  h.size = dib.Le32(0);
  if (h.size == 12) {
    if (!dib.Has(0, 12)) return false;
    h.width = dib.Le16(4);
    h.height = dib.Le16(6);
    h.bits = dib.Le16(10);
    h.paletteEntrySize = 3;
  } else if (IsWindowsHeaderSize(h.size) || (h.size >= 16 && h.size <= 64)) {
    if (!dib.Has(0, h.size)) return false;
    h.width = dib.LeS32(4);
    h.height = dib.LeS32(8);
    h.bits = dib.Le16(14);
    if (h.size >= 20) h.compression = dib.Le32(16);
    if (h.size >= 36) h.coloursUsed = dib.Le32(32);
    // The OS/2 2.x header numbers its Huffman and 24-bit run-length codings 3 and 4.
    if (!IsWindowsHeaderSize(h.size) && (h.compression == 3 || h.compression == 4)) return false;
  } else {
    return false;
  }
  if (h.height < 0) {
    h.height = -h.height;
    h.topDown = true;
  }
  if (iconMask) h.height /= 2;
  if (!SizeAllowed(h.width, h.height)) return false;

  h.paletteOffset = h.size;
  if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
    if (h.bits != 16 && h.bits != 32) return false;
    std::uint32_t masks[4] = {};
    if (h.size >= 52) {
      for (int i = 0; i < 3; ++i) masks[i] = dib.Le32(40 + 4 * i);
      if (h.size >= 56) masks[3] = dib.Le32(52);
    } else {
      // A 40-byte header is followed by the masks: three, or four with alpha.
      const int count = h.compression == kAlphaBitFields ? 4 : 3;
      if (!dib.Has(h.size, 4u * count)) return false;
      for (int i = 0; i < count; ++i) masks[i] = dib.Le32(h.size + 4 * i);
      h.paletteOffset += 4u * count;
    }
    h.red = Channel(masks[0]);
    h.green = Channel(masks[1]);
    h.blue = Channel(masks[2]);
    h.alpha = Channel(masks[3]);
    h.hasMasks = true;
  } else if (h.compression == kRgb) {
    if (h.bits != 1 && h.bits != 4 && h.bits != 8 && h.bits != 16 && h.bits != 24 && h.bits != 32) {
      return false;
    }
    if (h.bits == 16) {
      h.red = Channel(0x7C00);
      h.green = Channel(0x03E0);
      h.blue = Channel(0x001F);
      h.hasMasks = true;
    } else if (h.size >= 56 && h.bits == 32 && dib.Le32(52) != 0) {
      // Version 4 and 5 headers may state an alpha mask for plain 32-bit pixels too.
      h.alpha = Channel(dib.Le32(52));
    }
  } else if (h.compression == kRle8) {
    if (h.bits != 8) return false;
  } else if (h.compression == kRle4) {
    if (h.bits != 4) return false;
  } else if (h.compression != kJpeg && h.compression != kPng) {
    return false;
  }
  return true;
}

// The colour table as opaque 0xAARRGGBB entries, always 256 long (missing entries black).
void ReadPalette(ByteView dib, const Header& h, std::uint32_t palette[256], std::size_t& end) {
  std::fill(palette, palette + 256, 0xFF000000u);
  std::size_t count = 0;
  if (h.bits >= 1 && h.bits <= 8) {
    const std::size_t max = std::size_t{1} << h.bits;
    count = (h.coloursUsed == 0 || h.coloursUsed > max) ? max : h.coloursUsed;
  } else if (h.coloursUsed <= 256) {
    count = h.coloursUsed;  // stated but not used for direct colours: only skipped
  }
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = h.paletteOffset + i * h.paletteEntrySize;
    if (!dib.Has(at, 3)) break;
    palette[i] = 0xFF000000u | dib.U8(at + 2) << 16 | dib.U8(at + 1) << 8 | dib.U8(at);
  }
  end = h.paletteOffset + count * h.paletteEntrySize;
}

void PutPixel(Image& image, int x, int y, std::uint32_t argb) {
  if (x >= 0 && x < image.width() && y >= 0 && y < image.height()) image.SetPixel(x, y, argb);
}

// Decodes one stored row into image row `y`.
void DecodeRow(const std::uint8_t* src, const Header& h, const std::uint32_t* palette,
               std::uint8_t* dst) {
  const int width = static_cast<int>(h.width);
  for (int x = 0; x < width; ++x, dst += 4) {
    std::uint32_t argb;
    switch (h.bits) {
      case 1:
        argb = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
        break;
      case 4:
        argb = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
        break;
      case 8:
        argb = palette[src[x]];
        break;
      case 24:
        argb = 0xFF000000u | src[3 * x + 2] << 16 | src[3 * x + 1] << 8 | src[3 * x];
        break;
      default: {  // 16 or 32 bits
        std::uint32_t pixel;
        if (h.bits == 16) {
          pixel = src[2 * x] | src[2 * x + 1] << 8;
        } else {
          pixel = src[4 * x] | src[4 * x + 1] << 8 | src[4 * x + 2] << 16 |
                  static_cast<std::uint32_t>(src[4 * x + 3]) << 24;
        }
        if (h.hasMasks) {
          const std::uint32_t a = h.alpha.mask ? h.alpha.Get(pixel) : 255;
          argb = a << 24 | h.red.Get(pixel) << 16 | h.green.Get(pixel) << 8 | h.blue.Get(pixel);
        } else {
          // Plain 32-bit pixels: blue, green, red, and a fourth byte that may be alpha.
          argb = h.alpha.mask
                     ? (pixel & 0x00FFFFFFu) | static_cast<std::uint32_t>(h.alpha.Get(pixel)) << 24
                     : pixel;
        }
        break;
      }
    }
    dst[0] = static_cast<std::uint8_t>(argb);
    dst[1] = static_cast<std::uint8_t>(argb >> 8);
    dst[2] = static_cast<std::uint8_t>(argb >> 16);
    dst[3] = static_cast<std::uint8_t>(argb >> 24);
  }
}

// True when the format's pixels carry an alpha byte that may be meaningful.
bool CarriesAlpha(const Header& h) {
  if (h.bits != 32 && h.bits != 16) return false;
  if (h.hasMasks) return h.alpha.mask != 0;
  return h.bits == 32;
}

bool AllAlphaZero(const Image& image) {
  for (int y = 0; y < image.height(); ++y) {
    const std::uint8_t* row = image.Row(y);
    for (int x = 0; x < image.width(); ++x) {
      if (row[4 * x + 3]) return false;
    }
  }
  return true;
}

void MakeOpaque(Image& image) {
  for (int y = 0; y < image.height(); ++y) {
    std::uint8_t* row = image.Row(y);
    for (int x = 0; x < image.width(); ++x) row[4 * x + 3] = 255;
  }
}

int PictureRow(const Header& h, std::int64_t storedRow) {
  return static_cast<int>(h.topDown ? storedRow : h.height - 1 - storedRow);
}

Image DecodeRle(ByteView dib, const Header& h, const std::uint32_t* palette, std::size_t at) {
  Image image = Image::Create(static_cast<int>(h.width), static_cast<int>(h.height));
  if (image.empty()) return image;
  const bool four = h.compression == kRle4;
  std::int64_t x = 0, row = 0;
  const auto put = [&](unsigned index) {
    if (x < h.width && row < h.height) {
      PutPixel(image, static_cast<int>(x), PictureRow(h, row), palette[index]);
    }
    ++x;
  };
  while (dib.Has(at, 2) && row < h.height) {
    const unsigned count = dib.U8(at), value = dib.U8(at + 1);
    at += 2;
    if (count > 0) {  // a run of one index (two alternating ones for 4 bits)
      for (unsigned i = 0; i < count && x < h.width; ++i) {
        put(four ? ((i & 1) ? value & 15 : value >> 4) : value);
      }
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // move right and up
      if (!dib.Has(at, 2)) break;
      x += dib.U8(at);
      row += dib.U8(at + 1);
      at += 2;
    } else {  // `value` literal indices, padded to an even number of bytes
      const std::size_t bytes = four ? (value + 1) / 2 : value;
      if (!dib.Has(at, bytes)) break;
      for (unsigned i = 0; i < value; ++i) {
        put(four ? ((i & 1) ? dib.U8(at + i / 2) & 15 : dib.U8(at + i / 2) >> 4) : dib.U8(at + i));
      }
      at += bytes + (bytes & 1);
    }
  }
  return image;
}

}  // namespace

bool ReadDibInfo(ByteView dib, bool iconMask, DibInfo& info) {
  Header h;
  if (!ReadHeader(dib, iconMask, h)) return false;
  info.width = static_cast<int>(h.width);
  info.height = static_cast<int>(h.height);
  info.bitsPerPixel = h.bits;
  return true;
}

Image DecodeDib(ByteView dib, const DibLayout& layout) {
  Header h;
  if (!ReadHeader(dib, layout.iconMask, h)) return Image();
  std::uint32_t palette[256];
  std::size_t paletteEnd = 0;
  ReadPalette(dib, h, palette, paletteEnd);
  std::size_t at = paletteEnd;
  if (layout.pixelOffset >= h.paletteOffset && layout.pixelOffset < dib.size)
    at = layout.pixelOffset;
  if (at >= dib.size) return Image();

  if (h.compression == kJpeg || h.compression == kPng) {
    const std::string_view embedded = dib.Sub(at, dib.size - at).AsString();
    return h.compression == kJpeg ? DecodeJpeg(embedded) : DecodePng(embedded);
  }
  if (h.compression == kRle8 || h.compression == kRle4) return DecodeRle(dib, h, palette, at);

  const std::size_t rowBytes = static_cast<std::size_t>((h.width * h.bits + 31) / 32 * 4);
  const std::int64_t rowsPresent =
      std::min<std::int64_t>(h.height, static_cast<std::int64_t>((dib.size - at) / rowBytes));
  if (rowsPresent == 0) return Image();
  Image image = Image::Create(static_cast<int>(h.width), static_cast<int>(h.height));
  if (image.empty()) return image;
  for (std::int64_t r = 0; r < rowsPresent; ++r) {
    DecodeRow(dib.data + at + r * rowBytes, h, palette, image.Row(PictureRow(h, r)));
  }

  const bool alpha = CarriesAlpha(h) && !AllAlphaZero(image);
  if (CarriesAlpha(h) && !alpha) MakeOpaque(image);
  // Rows that were never stored stay transparent, also after MakeOpaque.
  for (std::int64_t r = rowsPresent; r < h.height; ++r) {
    std::memset(image.Row(PictureRow(h, r)), 0, image.stride());
  }

  if (layout.iconMask && !alpha) {
    const std::size_t maskAt = at + rowBytes * static_cast<std::size_t>(h.height);
    const std::size_t maskRowBytes = static_cast<std::size_t>((h.width + 31) / 32 * 4);
    for (std::int64_t r = 0; r < h.height; ++r) {
      const std::size_t rowAt = maskAt + r * maskRowBytes;
      if (!dib.Has(rowAt, maskRowBytes)) break;  // no mask stored: the picture stays opaque
      std::uint8_t* dst = image.Row(PictureRow(h, r));
      for (int x = 0; x < h.width; ++x) {
        if (dib.U8(rowAt + x / 8) & (0x80 >> (x & 7))) std::memset(dst + 4 * x, 0, 4);
      }
    }
  }
  return image;
}

}  // namespace lumenta::image
