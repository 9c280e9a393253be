// The program's window designs: sound by the UI runtime's own rules, and holding exactly the
// controls their names headers list, so that the handlers address nothing the window lacks.
#include "app/window_designs.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "app/main_window_controls.h"
#include "app/sponsor_window_controls.h"
#include "capture/window/capture_window_controls.h"
#include "ui/design.h"

namespace lumenta::app {
namespace {

std::vector<std::string_view> NamesOf(const ui::WindowDesign& design) {
  std::vector<std::string_view> names;
  for (const ui::ControlDesign& control : design.controls) names.push_back(control.name);
  return names;
}

TEST(WindowDesigns, TheProgramsThreeWindowsHaveNoDesignProblems) {
  EXPECT_TRUE(ui::FindDesignProblems(MainWindowDesign()).empty());
  EXPECT_TRUE(ui::FindDesignProblems(SponsorWindowDesign()).empty());
  EXPECT_TRUE(ui::FindDesignProblems(CaptureWindowDesign()).empty());
}

TEST(WindowDesigns, EachWindowHasExactlyTheControlsItsNamesHeaderLists) {
  EXPECT_EQ(NamesOf(MainWindowDesign()),
            std::vector<std::string_view>(main_window::kAllControls.begin(),
                                          main_window::kAllControls.end()));
  EXPECT_EQ(NamesOf(SponsorWindowDesign()),
            std::vector<std::string_view>(sponsor_window::kAllControls.begin(),
                                          sponsor_window::kAllControls.end()));
  EXPECT_EQ(NamesOf(CaptureWindowDesign()),
            std::vector<std::string_view>(capture::capture_window::kAllControls.begin(),
                                          capture::capture_window::kAllControls.end()));
}

}  // namespace
}  // namespace lumenta::app
