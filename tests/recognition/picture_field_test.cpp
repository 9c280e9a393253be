// The recognition body made piece by piece must be the body built whole, whatever the sizes of
// the pieces asked for: room for the field name only, less than one group's characters, sizes
// that cut a "%2B" in two, and a buffer larger than the body.
#include "ocr/picture_field.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "ocr/recognition_flow.h"

namespace lumenta {
namespace {

std::string Varied(size_t n, uint32_t state) {
  std::string bytes(n, '\0');
  for (char& b : bytes) {
    state = state * 1664525u + 1013904223u;
    b = static_cast<char>(state >> 24);
  }
  return bytes;
}

// All pieces of `picture` asked for with `room` bytes each, put together.
std::string AllPieces(const std::string& picture, size_t room, size_t& pieces) {
  PictureFieldPieces field(picture);
  std::string body;
  std::string buffer(room, '#');
  pieces = 0;
  for (;;) {
    const size_t n = field.Next(buffer.data(), room);
    if (n == 0) break;
    EXPECT_LE(n, room);
    body.append(buffer, 0, n);
    ++pieces;
    if (pieces > 10'000'000) break;  // a piece of nothing forever would be a failure, not a hang
  }
  EXPECT_EQ(field.length(), RecognitionBody(picture).size());
  return body;
}

TEST(PictureFieldPieces, PutTogetherTheyAreTheBodyBuiltWhole) {
  const std::string pictures[] = {"",
                                  "a",
                                  "ab",
                                  "abc",
                                  "\xFB\xEF\xBE\xFF\xFF",
                                  Varied(1000, 1),
                                  Varied(100'000, 2),
                                  std::string(30'001, '\xFF')};
  for (const std::string& picture : pictures) {
    const Text whole = RecognitionBody(picture);
    for (const size_t room : {1u, 2u, 5u, 6u, 7u, 11u, 12u, 13u, 64u, 4096u, 1u << 20}) {
      size_t pieces = 0;
      ASSERT_EQ(AllPieces(picture, room, pieces), whole)
          << picture.size() << " picture bytes in pieces of " << room;
      // Every piece but the last one is full to within one group's characters.
      EXPECT_LE(pieces, whole.size() / (room > 12 ? room - 11 : 1) + 1) << room;
    }
  }
}

TEST(PictureFieldPieces, ARequestBodyOfAPictureBuildsToTheSameBody) {
  const ByteBuffer picture(Varied(3000, 3));
  const RequestBody body = RequestBody::PictureField(picture);
  EXPECT_TRUE(body.isPictureField());
  EXPECT_EQ(body.ToText(), RecognitionBody(picture.view()));
  const Text asText = body;  // a request function that takes its body as text
  EXPECT_EQ(asText, RecognitionBody(picture.view()));
  const RequestBody text(Text("a=1"));
  EXPECT_FALSE(text.isPictureField());
  EXPECT_EQ(text.ToText(), "a=1");
}

}  // namespace
}  // namespace lumenta
