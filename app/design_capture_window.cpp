#include "app/window_designs.h"
#include "capture/window/capture_window_controls.h"

namespace lumenta::app {

using ui::ControlType;

const ui::WindowDesign& CaptureWindowDesign() {
  static const ui::WindowDesign design{.id = kCaptureWindowId,
                                       .name = "capture",
                                       .title = "",
                                       .width = 380,
                                       .height = 250,
                                       .left = 0,
                                       .top = 0,
                                       .frame = ui::Frame::kNone,
                                       .minimiseBox = false,
                                       .maximiseBox = false,
                                       .centred = false,
                                       .topmost = true,
                                       .escapeCloses = true,
                                       .inTaskBar = true,
                                       .background = ui::Background::kWhite,
                                       .iconResource = 0,
                                       .controls = {
                                           {.type = ControlType::kEditBox,
                                            .name = capture::capture_window::kTextBox,
                                            .bounds = {72, 96, 48, 16},
                                            .visible = false,
                                            .edit = ui::EditKind::kSingleLine,
                                            .border = ui::Border::kSingle},
                                           {.type = ControlType::kCommonDialog,
                                            .name = capture::capture_window::kSaveDialog,
                                            .visible = false,
                                            .dialog = ui::DialogKind::kSaveFile,
                                            .filter = "位图|*.bmp",
                                            .defaultExtension = ".bmp"},
                                       }};
  return design;
}

}  // namespace lumenta::app
