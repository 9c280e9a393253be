#pragma once
// The recognition request's body, "image=" and the URL-encoded Base64 of the picture, made piece
// by piece into a buffer of the sender's, so that its 12 MB for an 8 MiB picture are never held
// at once: under Wine every large block is fresh memory, and first touching it costs more than
// the encoding. The pieces put together are RecognitionBody(picture), byte for byte.
#include <cstddef>
#include <string_view>

namespace lumenta {

class PictureFieldPieces {
 public:
  // `picture` must stay unchanged while the pieces are made.
  explicit PictureFieldPieces(std::string_view picture);

  // The whole body's length (the request's Content-Length).
  [[nodiscard]] size_t length() const { return length_; }

  // Writes the next piece into the `room` bytes at `buffer`, as full as the encoding allows;
  // returns its length, 0 once everything is written.
  size_t Next(char* buffer, size_t room);

 private:
  std::string_view picture_;
  size_t length_;
  size_t fieldNameWritten_ = 0;
  size_t consumed_ = 0;  // picture bytes encoded so far
  // One group's characters that did not fit at the end of the last piece.
  char carry_[16] = {};
  size_t carryAt_ = 0;
  size_t carrySize_ = 0;
};

}  // namespace lumenta
