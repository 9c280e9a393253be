#include "image/icon_decoder.h"

#include <algorithm>
#include <vector>

#include "image/byte_view.h"
#include "image/dib_decoder.h"
#include "image/png_decoder.h"

namespace lumenta::image {
namespace {

constexpr std::size_t kDirectoryHeader = 6;
constexpr std::size_t kEntrySize = 16;

struct Entry {
  ByteView data;
  bool png = false;
  std::int64_t pixels = 0;
  int bits = 0;
  int index = 0;
};

bool IsPng(ByteView data) {
  static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  return data.Has(0, 8) && std::equal(kSignature, kSignature + 8, data.data);
}

// The size and depth the image itself states (the directory's own fields are often wrong, and
// a cursor keeps its hot spot where an icon keeps planes and depth).
bool Describe(Entry& entry) {
  if (entry.png) {
    // IHDR: length, "IHDR", width, height (big-endian), bit depth, colour type.
    if (!entry.data.Has(8, 18)) return false;
    const auto be32 = [&](std::size_t i) {
      return static_cast<std::uint32_t>(entry.data.U8(i)) << 24 | entry.data.U8(i + 1) << 16 |
             entry.data.U8(i + 2) << 8 | entry.data.U8(i + 3);
    };
    // Sizes past the limit are refused by the decoder anyway; capped, they cannot overflow.
    const auto side = [&](std::size_t i) {
      return std::min<std::int64_t>(be32(i), std::int64_t{kMaxSide} + 1);
    };
    entry.pixels = side(16) * side(20);
    static constexpr int kChannels[] = {1, 0, 3, 1, 2, 0, 4};
    const int colourType = entry.data.U8(25);
    entry.bits = entry.data.U8(24) * (colourType <= 6 ? kChannels[colourType] : 0);
    return true;
  }
  DibInfo info;
  if (!ReadDibInfo(entry.data, true, info)) return false;
  entry.pixels = static_cast<std::int64_t>(info.width) * info.height;
  entry.bits = info.bitsPerPixel;
  return true;
}

}  // namespace

Image DecodeIcon(std::string_view bytes) {
  const ByteView file(bytes);
  if (!file.Has(0, kDirectoryHeader) || file.Le16(0) != 0) return Image();
  const int type = file.Le16(2);
  const int count = file.Le16(4);
  if ((type != 1 && type != 2) || count == 0) return Image();

  std::vector<Entry> entries;
  for (int i = 0; i < count; ++i) {
    const std::size_t at = kDirectoryHeader + kEntrySize * i;
    if (!file.Has(at, kEntrySize)) break;
    const std::uint32_t size = file.Le32(at + 8);
    const std::uint32_t offset = file.Le32(at + 12);
    if (size == 0 || !file.Has(offset, 1)) continue;
    Entry entry;
    // A stated size past the end of the file is cut to what is there.
    entry.data = file.Sub(offset, std::min<std::size_t>(size, file.size - offset));
    entry.png = IsPng(entry.data);
    entry.index = i;
    if (Describe(entry)) entries.push_back(entry);
  }
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.pixels != b.pixels) return a.pixels > b.pixels;
    return a.bits > b.bits;
  });
  for (const Entry& entry : entries) {
    Image image =
        entry.png ? DecodePng(entry.data.AsString()) : DecodeDib(entry.data, DibLayout{0, true});
    if (!image.empty()) return image;
  }
  return Image();
}

}  // namespace lumenta::image
