// The program's three window designs, checked by the UI runtime's own rules.
#include "app/window_designs.h"

#include <gtest/gtest.h>

#include "ui/design.h"

namespace lumenta::app {
namespace {

TEST(WindowDesigns, TheProgramsThreeWindowsHaveNoDesignProblems) {
  EXPECT_TRUE(ui::FindDesignProblems(MainWindowDesign()).empty());
  EXPECT_TRUE(ui::FindDesignProblems(SponsorWindowDesign()).empty());
  EXPECT_TRUE(ui::FindDesignProblems(CaptureWindowDesign()).empty());
}

}  // namespace
}  // namespace lumenta::app
