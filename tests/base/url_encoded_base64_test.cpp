// The one-step encoder of the recognition body's picture field must give exactly the bytes of the
// two steps it replaces, UrlEncode(Base64Encode(bytes), true, true), for every length (the last
// group's padding and the fast loop's end) and for pieces encoded one after the other.
#include "base/url_encoded_base64.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "base/text_encoders.h"

namespace lumenta {
namespace {

using namespace std::string_literals;

std::string TwoSteps(std::string_view bytes) { return UrlEncode(Base64Encode(bytes), true, true); }

// The encoding into a buffer with guard bytes after it: what is written, and whether anything
// was written past the announced length.
std::string OneStep(std::string_view bytes, bool& stayedInside) {
  const size_t length = UrlEncodedBase64Length(bytes);
  std::string buffer(length + 16, '#');
  const char* end = WriteUrlEncodedBase64(bytes, buffer.data());
  stayedInside = buffer.compare(length, 16, std::string(16, '#')) == 0;
  return buffer.substr(0, static_cast<size_t>(end - buffer.data()));
}

TEST(UrlEncodedBase64, KnownInputsGiveTheirFields) {
  struct Case {
    std::string bytes;
    std::string field;
  };
  const Case cases[] = {
      {"", ""},
      {"a", "YQ%3D%3D"},
      {"ab", "YWI%3D"},
      {"abc", "YWJj"},
      {"\xFB\xEF\xBE", "%2B%2B%2B%2B"},  // every sextet 62: "++++"
      {"\xFF\xFF\xFF", "%2F%2F%2F%2F"},  // every sextet 63: "////"
      {"\xFF", "%2Fw%3D%3D"},
      {"\xFF\xFF", "%2F%2F8%3D"},
      {"\0\0\0\0"s, "AAAAAA%3D%3D"},
  };
  for (const Case& c : cases) {
    bool inside = false;
    EXPECT_EQ(OneStep(c.bytes, inside), c.field) << c.field;
    EXPECT_TRUE(inside) << c.field;
    EXPECT_EQ(TwoSteps(c.bytes), c.field) << c.field;
  }
}

TEST(UrlEncodedBase64, EveryLengthAndEveryPieceMatchTheTwoSteps) {
  std::mt19937 random(20261210);
  for (size_t n = 0; n < 400; ++n) {
    // Random bytes, and bytes of 0xFF and 0xFB that make every character an escaped one.
    for (const int kind : {0, 1, 2}) {
      std::string bytes(n, '\0');
      for (size_t i = 0; i < n; ++i) {
        bytes[i] = kind == 0   ? static_cast<char>(random())
                   : kind == 1 ? '\xFF'
                               : "\xFB\xEF\xBE"[i % 3];
      }
      const std::string expected = TwoSteps(bytes);
      bool inside = false;
      ASSERT_EQ(OneStep(bytes, inside), expected) << n << " bytes of kind " << kind;
      ASSERT_TRUE(inside) << n << " bytes of kind " << kind;
      ASSERT_EQ(UrlEncodedBase64Length(bytes), expected.size());
      // Two pieces, the first a multiple of 3 bytes: the outputs follow one another.
      const size_t cut = n / 2 / 3 * 3;
      const std::string_view first = std::string_view(bytes).substr(0, cut);
      const std::string_view second = std::string_view(bytes).substr(cut);
      std::string pieces(UrlEncodedBase64Length(first) + UrlEncodedBase64Length(second), '\0');
      char* end = WriteUrlEncodedBase64(second, WriteUrlEncodedBase64(first, pieces.data()));
      ASSERT_EQ(end, pieces.data() + pieces.size());
      ASSERT_EQ(pieces, expected) << n << " bytes in pieces at " << cut;
    }
  }
}

}  // namespace
}  // namespace lumenta
