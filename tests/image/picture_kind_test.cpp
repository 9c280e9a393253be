// The preview decides what a byte string is by its first bytes alone.
#include "image/picture_kind.h"

#include <gtest/gtest.h>

#include <string>

namespace lumenta::image {
namespace {

using namespace std::string_literals;

struct KindCase {
  const char* name;
  std::string bytes;
  PictureKind expected;
};

// Eight bytes: the given start, padded with zeros.
std::string Head(std::string start) {
  start.resize(std::max<std::size_t>(start.size(), 8), '\0');
  return start;
}

// A PCX header start: manufacturer 10, version, encoding, bits per pixel.
std::string Pcx(int version, int encoding, int bits) {
  return Head(std::string{'\x0A', static_cast<char>(version), static_cast<char>(encoding),
                          static_cast<char>(bits)});
}

// An icon directory start: reserved word, type word, count word.
std::string Directory(int reserved, int type, int count) {
  return Head(std::string{static_cast<char>(reserved), static_cast<char>(reserved >> 8),
                          static_cast<char>(type), static_cast<char>(type >> 8),
                          static_cast<char>(count), static_cast<char>(count >> 8)});
}

const KindCase kCases[] = {
    {"JPEG start of image", Head("\xFF\xD8"), PictureKind::kJpeg},
    {"JPEG needs both bytes", Head("\xFF\xD9"), PictureKind::kNone},
    {"BMP", Head("BM"), PictureKind::kBmp},
    {"lower-case bm is no BMP", Head("bm"), PictureKind::kNone},
    {"PNG", "\x89PNG\r\n\x1A\n"s, PictureKind::kPng},
    {"PNG needs its fourth byte", Head("\x89PN"), PictureKind::kNone},
    {"GIF87a", Head("GIF87a"), PictureKind::kGif},
    {"GIF89a", Head("GIF89a"), PictureKind::kGif},
    {"GIF88a is no GIF", Head("GIF88a"), PictureKind::kNone},
    {"icon with one image", Directory(0, 1, 1), PictureKind::kIcon},
    {"icon with many images", Directory(0, 1, 300), PictureKind::kIcon},
    {"icon without images", Directory(0, 1, 0), PictureKind::kNone},
    {"icon with a reserved word set", Directory(1, 1, 1), PictureKind::kNone},
    {"icon with a reserved high byte set", Directory(0x100, 1, 1), PictureKind::kNone},
    {"cursor", Directory(0, 2, 1), PictureKind::kCursor},
    {"cursor without images", Directory(0, 2, 0), PictureKind::kNone},
    {"cursor with a reserved word set", Directory(2, 2, 1), PictureKind::kNone},
    {"directory of type 3", Directory(0, 3, 1), PictureKind::kNone},
    {"PCX version 5, 8 bits", Pcx(5, 1, 8), PictureKind::kPcx},
    {"PCX version 0, 8 bits", Pcx(0, 1, 8), PictureKind::kPcx},
    {"PCX version 3, 8 bits", Pcx(3, 1, 8), PictureKind::kPcx},
    {"PCX version 6, 8 bits", Pcx(6, 1, 8), PictureKind::kNone},
    {"PCX version 3, 1 bit", Pcx(3, 1, 1), PictureKind::kPcx},
    {"PCX version 5, 1 bit", Pcx(5, 1, 1), PictureKind::kNone},
    {"PCX version 2, 1 bit", Pcx(2, 1, 1), PictureKind::kNone},
    {"PCX version 5, 4 bits", Pcx(5, 1, 4), PictureKind::kNone},
    {"PCX without run-length encoding", Pcx(5, 0, 8), PictureKind::kNone},
    {"PCX with manufacturer 11", "\x0B\x05\x01\x08\0\0\0\0"s, PictureKind::kNone},
    {"a text file", "Hello, this is plain text.\r\n", PictureKind::kNone},
    {"seven bytes of a PNG", "\x89PNG\r\n\x1A"s, PictureKind::kNone},
    {"seven bytes of a JPEG", "\xFF\xD8\xFF\xE0\0\x10J"s, PictureKind::kNone},
    {"nothing", "", PictureKind::kNone},
    {"eight zero bytes", std::string(8, '\0'), PictureKind::kNone},
};

TEST(PictureKind, IsToldByTheLeadingSignature) {
  for (const auto& c : kCases) {
    EXPECT_EQ(DetectPictureKind(c.bytes), c.expected) << c.name;
  }
}

TEST(PictureKind, EightBytesAreEnoughForEverySignature) {
  for (const auto& c : kCases) {
    if (c.bytes.size() == 8) {
      EXPECT_EQ(DetectPictureKind(c.bytes + "trailing"), c.expected) << c.name;
    }
  }
}

}  // namespace
}  // namespace lumenta::image
