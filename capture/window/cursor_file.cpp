#include "capture/window/cursor_file.h"

#include <cstdint>

namespace lumenta::capture {
namespace {

std::uint32_t Read16(std::string_view b, size_t at) {
  return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8;
}

std::uint32_t Read32(std::string_view b, size_t at) {
  return Read16(b, at) | Read16(b, at + 2) << 16;
}

}  // namespace

std::optional<CursorImage> ReadCursorFile(std::string_view file) {
  constexpr size_t kDirectory = 6, kEntry = 16, kBitmapHeader = 40;
  if (file.size() < kDirectory + kEntry) return std::nullopt;
  if (Read16(file, 0) != 0 || Read16(file, 2) != 2 || Read16(file, 4) == 0) return std::nullopt;
  const size_t entry = kDirectory;
  const std::uint32_t hotX = Read16(file, entry + 4);
  const std::uint32_t hotY = Read16(file, entry + 6);
  const std::uint32_t length = Read32(file, entry + 8);
  const std::uint32_t offset = Read32(file, entry + 12);
  if (offset > file.size() || length > file.size() - offset || length < kBitmapHeader) {
    return std::nullopt;
  }
  const std::string_view image = file.substr(offset, length);
  if (Read32(image, 0) != kBitmapHeader) return std::nullopt;
  const auto width = static_cast<std::int32_t>(Read32(image, 4));
  const auto height = static_cast<std::int32_t>(Read32(image, 8));
  if (width <= 0 || height <= 0) return std::nullopt;

  CursorImage cursor;
  cursor.hotspot = {static_cast<int>(hotX), static_cast<int>(hotY)};
  cursor.size = {width, height / 2};
  cursor.resourceBits.reserve(4 + image.size());
  for (std::uint32_t v : {hotX, hotY}) {
    cursor.resourceBits.push_back(static_cast<char>(v & 0xFF));
    cursor.resourceBits.push_back(static_cast<char>(v >> 8));
  }
  cursor.resourceBits.append(image);
  return cursor;
}

}  // namespace lumenta::capture
