#include "ocr/picture_field.h"

#include <algorithm>
#include <cstring>

#include "base/url_encoded_base64.h"

namespace lumenta {
namespace {

constexpr std::string_view kFieldName = "image=";
// Three picture bytes become four Base64 characters, each at most three bytes URL-encoded.
constexpr size_t kMostPerGroup = 12;

}  // namespace

PictureFieldPieces::PictureFieldPieces(std::string_view picture)
    : picture_(picture), length_(kFieldName.size() + UrlEncodedBase64Length(picture)) {}

size_t PictureFieldPieces::Next(char* buffer, size_t room) {
  char* o = buffer;
  char* const end = buffer + room;
  auto put = [&](const char* from, size_t& at, size_t size) {
    const size_t n = std::min(size - at, static_cast<size_t>(end - o));
    std::memcpy(o, from + at, n);
    o += n;
    at += n;
  };
  put(kFieldName.data(), fieldNameWritten_, kFieldName.size());
  put(carry_, carryAt_, carrySize_);
  if (carryAt_ < carrySize_) return static_cast<size_t>(o - buffer);
  // Whole groups while they surely fit; a last piece of the picture (not a multiple of 3) is
  // taken only whole, with its padding.
  while (consumed_ < picture_.size() && static_cast<size_t>(end - o) >= kMostPerGroup) {
    size_t take = static_cast<size_t>(end - o) / kMostPerGroup * 3;
    take = std::min(take, picture_.size() - consumed_);
    o = WriteUrlEncodedBase64(picture_.substr(consumed_, take), o);
    consumed_ += take;
  }
  // Too little room left for a group: the next group goes through the carry, and what does not
  // fit now opens the next piece.
  if (consumed_ < picture_.size() && o < end) {
    const size_t take = std::min<size_t>(3, picture_.size() - consumed_);
    carrySize_ = static_cast<size_t>(
        WriteUrlEncodedBase64(picture_.substr(consumed_, take), carry_) - carry_);
    carryAt_ = 0;
    consumed_ += take;
    put(carry_, carryAt_, carrySize_);
  }
  return static_cast<size_t>(o - buffer);
}

}  // namespace lumenta
