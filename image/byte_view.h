#pragma once
// Little-endian reads from a file held in memory. Callers check Has() before reading; the reads
// themselves do not check again.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lumenta::image {

struct ByteView {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;

  ByteView() = default;
  ByteView(const std::uint8_t* d, std::size_t n) : data(d), size(n) {}
  explicit ByteView(std::string_view bytes)
      : data(reinterpret_cast<const std::uint8_t*>(bytes.data())), size(bytes.size()) {}

  // True when `count` bytes from `offset` lie inside the view (without overflow).
  [[nodiscard]] bool Has(std::size_t offset, std::size_t count) const {
    return offset <= size && count <= size - offset;
  }
  [[nodiscard]] ByteView Sub(std::size_t offset, std::size_t count) const {
    return ByteView(data + offset, count);
  }
  [[nodiscard]] std::string_view AsString() const {
    return std::string_view(reinterpret_cast<const char*>(data), size);
  }

  [[nodiscard]] std::uint8_t U8(std::size_t i) const { return data[i]; }
  [[nodiscard]] std::uint16_t Le16(std::size_t i) const {
    return static_cast<std::uint16_t>(data[i] | data[i + 1] << 8);
  }
  [[nodiscard]] std::uint32_t Le32(std::size_t i) const {
    return static_cast<std::uint32_t>(data[i]) | static_cast<std::uint32_t>(data[i + 1]) << 8 |
           static_cast<std::uint32_t>(data[i + 2]) << 16 |
           static_cast<std::uint32_t>(data[i + 3]) << 24;
  }
  [[nodiscard]] std::int32_t LeS32(std::size_t i) const {
    return static_cast<std::int32_t>(Le32(i));
  }
};

}  // namespace lumenta::image
