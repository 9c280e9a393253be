#pragma once
// The names of the main window's controls: its design, its event table and its handlers address
// the controls by these, so that a name is written once. The names are the system's own (a
// control-type word and a role, or a type word and a number).
#include <array>
#include <string_view>

namespace lumenta::app::main_window {

// Above the pages.
inline constexpr std::string_view kCaptureButton = "按钮_截图";
inline constexpr std::string_view kClipboardPictureButton = "按钮_取图";
inline constexpr std::string_view kPictureFileButton = "按钮_选图";
inline constexpr std::string_view kRecognizeButton = "按钮_识别";
inline constexpr std::string_view kPages = "高级选择夹1";

// Page 1, "图文识别".
inline constexpr std::string_view kPreviewLabel = "透明标签1";
inline constexpr std::string_view kPictureBox = "图片框1";
inline constexpr std::string_view kResultLabel = "透明标签2";
inline constexpr std::string_view kResultBox = "编辑框_识别结果";
inline constexpr std::string_view kSearchButton = "按钮_查找";
inline constexpr std::string_view kClearButton = "按钮_清空";
inline constexpr std::string_view kCopyButton = "按钮_复制";
inline constexpr std::string_view kFileDialog = "通用对话框1";
inline constexpr std::string_view kDropTarget = "拖放对象1";

// Page 2, "API设置".
inline constexpr std::string_view kKeyGroup = "分组框_api";
inline constexpr std::string_view kApiKeyLabel = "标签_api";
inline constexpr std::string_view kApiKeyBox = "编辑框1";
inline constexpr std::string_view kSecretKeyLabel = "标签_sk";
inline constexpr std::string_view kSecretKeyBox = "编辑框2";
inline constexpr std::string_view kModeGroup = "分组框2";
inline constexpr std::string_view kGeneralMode = "单选框_普通";
inline constexpr std::string_view kAccurateMode = "单选框_高精";
inline constexpr std::string_view kNotesGroup = "分组框1";
inline constexpr std::string_view kFirstNote = "透明标签3";
inline constexpr std::string_view kSecondNote = "透明标签4";
inline constexpr std::string_view kProviderPageButton = "按钮_网址";
inline constexpr std::string_view kSaveKeysButton = "按钮_保存key";
inline constexpr std::string_view kSponsorNote = "透明标签5";
inline constexpr std::string_view kSponsorButton = "按钮2";

// Every control of the window, in design order.
inline constexpr std::array kAllControls = {kCaptureButton,
                                            kClipboardPictureButton,
                                            kPictureFileButton,
                                            kRecognizeButton,
                                            kPages,
                                            kPreviewLabel,
                                            kPictureBox,
                                            kResultLabel,
                                            kResultBox,
                                            kSearchButton,
                                            kClearButton,
                                            kCopyButton,
                                            kFileDialog,
                                            kDropTarget,
                                            kKeyGroup,
                                            kApiKeyLabel,
                                            kApiKeyBox,
                                            kSecretKeyLabel,
                                            kSecretKeyBox,
                                            kModeGroup,
                                            kGeneralMode,
                                            kAccurateMode,
                                            kNotesGroup,
                                            kFirstNote,
                                            kSecondNote,
                                            kProviderPageButton,
                                            kSaveKeysButton,
                                            kSponsorNote,
                                            kSponsorButton};

}  // namespace lumenta::app::main_window
