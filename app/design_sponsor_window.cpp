#include "app/sponsor_window_controls.h"
#include "app/window_designs.h"

namespace lumenta::app {

using ui::ControlType;

const ui::WindowDesign& SponsorWindowDesign() {
  // Height -14, normal weight, GB2312, the default face.
  static const ui::FontDesign kSponsorFont{.height = -14, .weight = 400, .charset = 134};
  static const ui::WindowDesign design{.id = kSponsorWindowId,
                                       .name = "sponsor",
                                       .title = "Vorel",
                                       .width = 487,
                                       .height = 227,
                                       .frame = ui::Frame::kResizable,
                                       .minimiseBox = true,
                                       .maximiseBox = false,
                                       .centred = true,
                                       .escapeCloses = true,
                                       .inTaskBar = true,
                                       .background = ui::Background::kButtonFace,
                                       .iconResource = 0,
                                       .controls = {
                                           {.type = ControlType::kGroupBox,
                                            .name = sponsor_window::kFrame,
                                            .bounds = {8, 24, 224, 164},
                                            .caption = "自愿赞助",
                                            .font = kSponsorFont},
                                           {.type = ControlType::kTransparentLabel,
                                            .name = sponsor_window::kThanks,
                                            .container = sponsor_window::kFrame,
                                            .bounds = {45, 64, 155, 32},
                                            .caption = "编码不易，感谢有你。",
                                            .font = kSponsorFont},
                                           {.type = ControlType::kTransparentLabel,
                                            .name = sponsor_window::kSignature,
                                            .container = sponsor_window::kFrame,
                                            .bounds = {163, 120, 56, 32},
                                            .caption = "BY:Vorel",
                                            .font = kSponsorFont},
                                           {.type = ControlType::kPictureBox,
                                            .name = sponsor_window::kPicture,
                                            .bounds = {237, -9, 240, 248},
                                            .border = ui::Border::kNone,
                                            .pictureResource = kSponsorPictureResource},
                                       }};
  return design;
}

}  // namespace lumenta::app
