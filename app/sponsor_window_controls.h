#pragma once
// The names of the sponsor window's controls, written once for its design and its handlers.
#include <array>
#include <string_view>

namespace lumenta::app::sponsor_window {

inline constexpr std::string_view kFrame = "分组框1";
inline constexpr std::string_view kThanks = "透明标签1";
inline constexpr std::string_view kSignature = "透明标签3";
inline constexpr std::string_view kPicture = "图片框2";

// Every control of the window, in design order.
inline constexpr std::array kAllControls = {kFrame, kThanks, kSignature, kPicture};

}  // namespace lumenta::app::sponsor_window
