#pragma once
// ByteBuffer: an owned, length-counted block of raw bytes that may hold zero bytes (pictures,
// request and response bodies, file contents, UTF-16LE data). It is its own type, not a string,
// so that bytes never pass for GBK text or text for bytes without a step that says so: reading
// bytes as text goes through AsText(bytes.view()) (which ends the text at the first zero byte)
// or a decoding step; making bytes of text goes through the explicit constructors.
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <utility>

namespace lumenta {

class ByteBuffer {
 public:
  using iterator = std::string::iterator;
  using const_iterator = std::string::const_iterator;

  ByteBuffer() = default;
  // Copies the bytes.
  explicit ByteBuffer(std::string_view bytes) : bytes_(bytes) {}
  explicit ByteBuffer(const char* bytes) : bytes_(bytes) {}
  ByteBuffer(const char* data, std::size_t size) : bytes_(data, size) {}
  // Takes over a string's storage without copying it.
  explicit ByteBuffer(std::string&& bytes) noexcept : bytes_(std::move(bytes)) {}
  ByteBuffer(std::size_t count, char fill) : bytes_(count, fill) {}
  template <class InputIterator>
  ByteBuffer(InputIterator first, InputIterator last) : bytes_(first, last) {}

  [[nodiscard]] std::string_view view() const noexcept { return bytes_; }
  [[nodiscard]] const char* data() const noexcept { return bytes_.data(); }
  [[nodiscard]] char* data() noexcept { return bytes_.data(); }
  [[nodiscard]] std::size_t size() const noexcept { return bytes_.size(); }
  [[nodiscard]] bool empty() const noexcept { return bytes_.empty(); }
  [[nodiscard]] std::size_t capacity() const noexcept { return bytes_.capacity(); }

  char operator[](std::size_t at) const noexcept { return bytes_[at]; }
  char& operator[](std::size_t at) noexcept { return bytes_[at]; }
  iterator begin() noexcept { return bytes_.begin(); }
  iterator end() noexcept { return bytes_.end(); }
  const_iterator begin() const noexcept { return bytes_.begin(); }
  const_iterator end() const noexcept { return bytes_.end(); }

  void clear() noexcept { bytes_.clear(); }
  void reserve(std::size_t size) { bytes_.reserve(size); }
  void resize(std::size_t size) { bytes_.resize(size); }
  void resize(std::size_t size, char fill) { bytes_.resize(size, fill); }
  void shrink_to_fit() { bytes_.shrink_to_fit(); }
  void push_back(char byte) { bytes_.push_back(byte); }
  ByteBuffer& append(std::string_view bytes) {
    bytes_.append(bytes);
    return *this;
  }
  ByteBuffer& append(const char* data, std::size_t size) {
    bytes_.append(data, size);
    return *this;
  }
  ByteBuffer& append(std::size_t count, char fill) {
    bytes_.append(count, fill);
    return *this;
  }
  ByteBuffer& append(const ByteBuffer& bytes) { return append(bytes.view()); }

  // Hands the storage on without copying, for a step that turns the bytes into something that
  // is kept as a string (a response body becoming its text). The buffer is empty afterwards.
  [[nodiscard]] std::string TakeString() && noexcept { return std::exchange(bytes_, {}); }

  friend bool operator==(const ByteBuffer&, const ByteBuffer&) = default;
  // Byte for byte; comparing reads nothing as text.
  friend bool operator==(const ByteBuffer& a, std::string_view b) noexcept { return a.view() == b; }

  // How test failures show a buffer (found by argument lookup).
  friend void PrintTo(const ByteBuffer& bytes, std::ostream* out);

 private:
  std::string bytes_;
};

}  // namespace lumenta
