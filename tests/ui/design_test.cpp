// The design tables and the geometry, font and filter rules the runtime builds windows with.
#include "ui/design.h"

#include <gtest/gtest.h>

namespace lumenta::ui {
namespace {

using ::testing::TestWithParam;

ControlDesign Group(std::string_view name) {
  return {.type = ControlType::kGroupBox, .name = name, .bounds = {0, 0, 100, 100}};
}

ControlDesign Tabs(std::string_view name) {
  return {.type = ControlType::kPageControl,
          .name = name,
          .bounds = {0, 0, 100, 100},
          .pages = {"one", "two"}};
}

ControlDesign Button(std::string_view name, std::string_view container = {}, int page = 0) {
  return {.type = ControlType::kButton,
          .name = name,
          .container = container,
          .page = page,
          .bounds = {1, 2, 30, 20}};
}

WindowDesign WindowOf(std::vector<ControlDesign> controls) {
  return {.id = 9, .name = "test", .width = 200, .height = 100, .controls = std::move(controls)};
}

TEST(DesignProblems, ContainersAndPagesThatFitAreAccepted) {
  const WindowDesign design = WindowOf(
      {Tabs("tabs"), Group("group"), Button("a", "group"), Button("b", "tabs", 2), Button("c")});
  EXPECT_TRUE(FindDesignProblems(design).empty());
}

struct BrokenDesign {
  const char* what;
  std::vector<ControlDesign> controls;
  const char* problem;  // a part of the expected report
  friend void PrintTo(const BrokenDesign& design, std::ostream* out) { *out << design.what; }
};

class DesignProblemsTest : public TestWithParam<BrokenDesign> {};

TEST_P(DesignProblemsTest, AreReportedByName) {
  const std::vector<std::string> problems = FindDesignProblems(WindowOf(GetParam().controls));
  ASSERT_FALSE(problems.empty()) << GetParam().what;
  EXPECT_NE(problems.front().find(GetParam().problem), std::string::npos) << problems.front();
}

ControlDesign Named(ControlDesign control, std::string_view container, int page = 0) {
  control.container = container;
  control.page = page;
  return control;
}

INSTANTIATE_TEST_SUITE_P(
    Table, DesignProblemsTest,
    ::testing::Values(
        BrokenDesign{"unnamed", {Button("")}, "has no name"},
        BrokenDesign{"twice", {Button("a"), Button("a")}, "test/a: the name is used twice"},
        BrokenDesign{"no container", {Button("a", "nowhere")}, "nowhere does not exist"},
        BrokenDesign{"button as container", {Button("b"), Button("a", "b")}, "cannot contain"},
        BrokenDesign{"page 0", {Tabs("tabs"), Button("a", "tabs", 0)}, "page 0 of tabs"},
        BrokenDesign{"page 3 of 2", {Tabs("tabs"), Button("a", "tabs", 3)}, "page 3 of tabs"},
        BrokenDesign{"page in group", {Group("g"), Button("a", "g", 1)}, "a page inside"},
        BrokenDesign{"page on window", {Button("a", {}, 1)}, "a page outside"},
        BrokenDesign{"itself", {Named(Group("g"), "g")}, "contains itself"},
        BrokenDesign{"loop", {Named(Group("g"), "h"), Named(Group("h"), "g")}, "loop"},
        BrokenDesign{"tabs without pages",
                     {ControlDesign{.type = ControlType::kPageControl, .name = "t"}},
                     "at least one page"},
        BrokenDesign{
            "negative size",
            {ControlDesign{.type = ControlType::kButton, .name = "n", .bounds = {0, 0, -1, 5}}},
            "negative size"}));

TEST(BindingProblems, NameEveryBoundControlTheDesignLacks) {
  const WindowDesign design = WindowOf({Group("group"), Button("a", "group")});
  EXPECT_TRUE(FindBindingProblems(design, {"", "a", "group"}).empty());
  const std::vector<std::string> problems = FindBindingProblems(design, {"a", "b", "", "c"});
  ASSERT_EQ(problems.size(), 2u);
  EXPECT_NE(problems[0].find(" b,"), std::string::npos) << problems[0];
  EXPECT_NE(problems[1].find(" c,"), std::string::npos) << problems[1];
}

TEST(DesignProblems, AWindowWithoutSizeIsRefused) {
  WindowDesign design = WindowOf({});
  design.width = 0;
  EXPECT_FALSE(FindDesignProblems(design).empty());
}

struct Scaling {
  int value;
  int dpi;
  int scaled;
  friend void PrintTo(const Scaling& s, std::ostream* out) {
    *out << s.value << " at " << s.dpi << " dpi";
  }
};

class ScaleToDpiTest : public TestWithParam<Scaling> {};

TEST_P(ScaleToDpiTest, RoundsToTheNearestPixel) {
  EXPECT_EQ(ScaleToDpi(GetParam().value, GetParam().dpi), GetParam().scaled);
}

INSTANTIATE_TEST_SUITE_P(Table, ScaleToDpiTest,
                         ::testing::Values(Scaling{520, 96, 520}, Scaling{520, 144, 780},
                                           Scaling{407, 120, 509},  // 508.75
                                           Scaling{-9, 144, -14},   // -13.5: away from zero
                                           Scaling{-12, 120, -15}, Scaling{1, 144, 2},
                                           Scaling{0, 192, 0}, Scaling{231, 192, 462}));

TEST(EffectiveFont, TakesTheControlsFontThenTheWindowsThenTheDefault) {
  WindowDesign window = WindowOf({});
  ControlDesign plain = Button("plain");
  EXPECT_EQ(EffectiveFont(window, plain),
            (FontDesign{.face = "SimSun", .height = -12, .weight = 400, .charset = 134}));

  window.font = {.face = "Arial", .height = -16, .weight = 700, .charset = 0};
  EXPECT_EQ(EffectiveFont(window, plain), window.font);

  ControlDesign own = Button("own");
  own.font = {.height = -14, .weight = 400, .charset = 134};  // default face
  EXPECT_EQ(EffectiveFont(window, own),
            (FontDesign{.face = "SimSun", .height = -14, .weight = 400, .charset = 134}));
}

TEST(SplitDialogFilter, GivesTextAndPatternPairs) {
  // 图片(*.jpg)|*.jpg|图片(*.png)|*.png|所有文件(*.*)|*.**
  const std::vector<FilterEntry> entries = SplitDialogFilter(
      "\xCD\xBC\xC6\xAC(*.jpg)|*.jpg|\xCD\xBC\xC6\xAC(*.png)|*.png|"
      "\xCB\xF9\xD3\xD0\xCE\xC4\xBC\xFE(*.*)|*.**");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].text, u"图片(*.jpg)");
  EXPECT_EQ(entries[0].pattern, u"*.jpg");
  EXPECT_EQ(entries[1].text, u"图片(*.png)");
  EXPECT_EQ(entries[2].text, u"所有文件(*.*)");
  EXPECT_EQ(entries[2].pattern, u"*.**");
}

TEST(SplitDialogFilter, NeverSplitsACharacterWhoseSecondByteIsABar) {
  // 億 is 83 7C in GBK: its second byte is "|".
  const std::vector<FilterEntry> entries = SplitDialogFilter("\x83\x7C|*.a");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].text, u"億");
  EXPECT_EQ(entries[0].pattern, u"*.a");
}

TEST(SplitDialogFilter, DropsATextWithoutPatternAndKeepsEmptyParts) {
  EXPECT_TRUE(SplitDialogFilter("").empty());
  EXPECT_TRUE(SplitDialogFilter("only text").empty());
  const std::vector<FilterEntry> entries = SplitDialogFilter("|*.x|left over");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].text, u"");
  EXPECT_EQ(entries[0].pattern, u"*.x");
}

}  // namespace
}  // namespace lumenta::ui
