#pragma once
// The capture toolbar's stored pictures, held in the program as the bytes of 24-bit BMP files:
// the toolbar (292 x 26), the options panel's divider (5 x 28) and the text-size list's chevron
// (14 x 14, pointing down).
#include <string_view>

extern const unsigned char lumenta_capture_toolbar_bmp[];
extern const unsigned long long lumenta_capture_toolbar_bmp_size;
extern const unsigned char lumenta_capture_divider_bmp[];
extern const unsigned long long lumenta_capture_divider_bmp_size;
extern const unsigned char lumenta_capture_chevron_bmp[];
extern const unsigned long long lumenta_capture_chevron_bmp_size;

namespace lumenta::capture {

[[nodiscard]] inline std::string_view ToolbarImageFile() {
  return {reinterpret_cast<const char*>(lumenta_capture_toolbar_bmp),
          static_cast<std::size_t>(lumenta_capture_toolbar_bmp_size)};
}
[[nodiscard]] inline std::string_view DividerImageFile() {
  return {reinterpret_cast<const char*>(lumenta_capture_divider_bmp),
          static_cast<std::size_t>(lumenta_capture_divider_bmp_size)};
}
[[nodiscard]] inline std::string_view ChevronImageFile() {
  return {reinterpret_cast<const char*>(lumenta_capture_chevron_bmp),
          static_cast<std::size_t>(lumenta_capture_chevron_bmp_size)};
}

}  // namespace lumenta::capture
