// The capture session's phases: where each transition leads from each phase, what data each
// phase holds (and that no other phase keeps it), and the options panel's fields around a
// restart.
#include "capture/model/capture_session.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

namespace lumenta::capture {
namespace {

constexpr Point kStart{10, 20};
constexpr Rect kDrawn{10, 20, 110, 90};

constexpr std::array kAllPhases = {CapturePhase::kChoosing,   CapturePhase::kDraggingOut,
                                   CapturePhase::kSelected,   CapturePhase::kAdjusting,
                                   CapturePhase::kAnnotating, CapturePhase::kDrawing};

std::string Name(CapturePhase phase) {
  switch (phase) {
    case CapturePhase::kChoosing:
      return "choosing";
    case CapturePhase::kDraggingOut:
      return "dragging out";
    case CapturePhase::kSelected:
      return "selected";
    case CapturePhase::kAdjusting:
      return "adjusting";
    case CapturePhase::kAnnotating:
      return "annotating";
    case CapturePhase::kDrawing:
      return "drawing";
  }
  return "?";
}

// A session brought into `phase` the way the capture window brings it there: a rectangle
// dragged out from kStart to kDrawn, then a move begun, a tool chosen, a press held.
CaptureSession SessionIn(CapturePhase phase) {
  CaptureSession s;
  if (phase == CapturePhase::kChoosing) return s;
  s.BeginNewRectangle(kStart);
  s.StoreSelection(kDrawn);
  if (phase == CapturePhase::kDraggingOut) return s;
  s.ReleaseButton();
  if (phase == CapturePhase::kAdjusting) {
    s.HoldButton();
    s.BeginAdjust(DragMode::kMove, {50, 50});
  }
  if (phase == CapturePhase::kAnnotating || phase == CapturePhase::kDrawing) s.ChooseTool();
  if (phase == CapturePhase::kDrawing) s.HoldButton();
  return s;
}

// What must hold in every phase, whatever led there.
void ExpectPhaseInvariants(const CaptureSession& s, const std::string& where) {
  SCOPED_TRACE(where);
  if (s.phase() == CapturePhase::kChoosing) {
    EXPECT_TRUE(s.selection().IsZero());
  }
  if (s.HasSelection()) {
    EXPECT_FALSE(s.selection().IsZero());
  }
  if (s.phase() != CapturePhase::kDraggingOut) {
    EXPECT_EQ(s.startPoint(), Point{});
  }
  if (s.phase() != CapturePhase::kAdjusting) {
    EXPECT_EQ(s.dragMode(), DragMode::kNone);
    EXPECT_EQ(s.anchor(), Point{});
  }
}

TEST(CaptureSession, EveryPhaseIsReachedWithTheDataItHolds) {
  for (CapturePhase phase : kAllPhases) {
    const CaptureSession s = SessionIn(phase);
    ASSERT_EQ(s.phase(), phase) << Name(phase);
    ExpectPhaseInvariants(s, Name(phase));
  }
  EXPECT_EQ(SessionIn(CapturePhase::kDraggingOut).startPoint(), kStart);
  EXPECT_EQ(SessionIn(CapturePhase::kAdjusting).anchor(), (Point{50, 50}));
}

TEST(CaptureSession, EachTransitionLeadsFromEachPhaseWhereTheWindowExpectsIt) {
  using P = CapturePhase;
  const struct {
    const char* transition;
    std::function<void(CaptureSession&)> apply;
    // The phase reached from choosing, dragging out, selected, adjusting, annotating, drawing.
    std::array<CapturePhase, 6> to;
  } cases[] = {
      {"BeginNewRectangle",
       [](CaptureSession& s) {
         s.BeginNewRectangle({300, 300});
       },
       {P::kDraggingOut, P::kDraggingOut, P::kSelected, P::kAdjusting, P::kAnnotating,
        P::kDrawing}},
      {"HoldButton",
       [](CaptureSession& s) { s.HoldButton(); },
       {P::kChoosing, P::kDraggingOut, P::kAdjusting, P::kAdjusting, P::kDrawing, P::kDrawing}},
      {"ReleaseButton",
       [](CaptureSession& s) { s.ReleaseButton(); },
       {P::kChoosing, P::kSelected, P::kSelected, P::kSelected, P::kAnnotating, P::kAnnotating}},
      {"ChooseTool",
       [](CaptureSession& s) { s.ChooseTool(); },
       {P::kChoosing, P::kDraggingOut, P::kAnnotating, P::kDrawing, P::kAnnotating, P::kDrawing}},
      {"StartOver",
       [](CaptureSession& s) { s.StartOver(); },
       {P::kChoosing, P::kChoosing, P::kChoosing, P::kChoosing, P::kChoosing, P::kChoosing}},
      {"Reset",
       [](CaptureSession& s) { s.Reset(); },
       {P::kChoosing, P::kChoosing, P::kChoosing, P::kChoosing, P::kChoosing, P::kChoosing}},
  };
  for (const auto& c : cases) {
    for (size_t i = 0; i < kAllPhases.size(); ++i) {
      const std::string where = std::string(c.transition) + " from " + Name(kAllPhases[i]);
      CaptureSession s = SessionIn(kAllPhases[i]);
      c.apply(s);
      EXPECT_EQ(Name(s.phase()), Name(c.to[i])) << where;
      ExpectPhaseInvariants(s, where);
      if (s.phase() == kAllPhases[i] && s.phase() != CapturePhase::kChoosing &&
          std::string(c.transition) != "BeginNewRectangle") {
        EXPECT_EQ(s.selection(), kDrawn) << where << ": the rectangle stays";
      }
    }
  }
}

TEST(CaptureSession, APressAndReleaseThatDrewNothingLeavesTheCaptureChoosing) {
  CaptureSession s;
  ASSERT_TRUE(s.BeginNewRectangle(kStart));
  s.ReleaseButton();
  EXPECT_EQ(s.phase(), CapturePhase::kChoosing);
  EXPECT_FALSE(s.HasSelection());
}

TEST(CaptureSession, WhileChoosingThereIsNoRectangleToStore) {
  CaptureSession s;
  s.StoreSelection(kDrawn);
  EXPECT_TRUE(s.selection().IsZero());
}

TEST(CaptureSession, ASecondPressWhileDraggingOutStartsAgainFromThereKeepingTheDrawnRectangle) {
  CaptureSession s = SessionIn(CapturePhase::kDraggingOut);
  ASSERT_TRUE(s.BeginNewRectangle({200, 150}));
  EXPECT_EQ(s.startPoint(), (Point{200, 150}));
  EXPECT_EQ(s.selection(), kDrawn) << "the next layout clamps against it";
}

TEST(CaptureSession, AnAdjustmentTakesItsAnchorAndEndsWithTheRelease) {
  const struct {
    const char* what;
    DragMode mode;
    Point anchorAtPress;    // a move is anchored at the press point at once
    Point anchorAfterStep;  // a resize takes its fixed point at the first movement
    bool renders;
  } cases[] = {
      {"move", DragMode::kMove, {50, 50}, {60, 55}, true},
      {"top-left handle", DragMode::kTopLeft, {}, {110, 90}, true},
      {"bottom side", DragMode::kBottom, {}, {0, 20}, true},
      {"a press outside the rectangle", DragMode::kNone, {}, {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CaptureSession s = SessionIn(CapturePhase::kSelected);
    ASSERT_TRUE(s.HoldButton());
    ASSERT_TRUE(s.BeginAdjust(c.mode, {50, 50}));
    EXPECT_EQ(s.dragMode(), c.mode);
    EXPECT_EQ(s.anchor(), c.anchorAtPress);
    const DragStep step = s.StepAdjust({60, 55});
    EXPECT_EQ(step.render.has_value(), c.renders);
    EXPECT_EQ(s.anchor(), c.anchorAfterStep);
    s.ReleaseButton();
    EXPECT_EQ(s.phase(), CapturePhase::kSelected);
    EXPECT_FALSE(s.StepAdjust({70, 70}).render) << "no adjustment once the button is up";
  }
}

TEST(CaptureSession, AnAdjustmentBeginsOnlyWithTheButtonHeldOnASelectedRectangle) {
  for (CapturePhase phase : kAllPhases) {
    if (phase == CapturePhase::kAdjusting) continue;
    CaptureSession s = SessionIn(phase);
    EXPECT_FALSE(s.BeginAdjust(DragMode::kMove, {50, 50})) << Name(phase);
    EXPECT_FALSE(s.StepAdjust({60, 60}).render) << Name(phase);
    ExpectPhaseInvariants(s, Name(phase));
  }
}

TEST(CaptureSession, StartingOverClosesTheOptionsPanelButKeepsTheTextHeightWhichOnlyResetRestores) {
  CaptureSession s = SessionIn(CapturePhase::kAnnotating);
  s.SetTextSizeBoxShown(true);
  s.SetFontListOpen(true);
  s.SetTextFontHeight(20);
  s.StartOver();
  EXPECT_TRUE(s.selection().IsZero());
  EXPECT_FALSE(s.textSizeBoxShown());
  EXPECT_FALSE(s.fontListOpen());
  EXPECT_EQ(s.textFontHeight(), 20);
  s.Reset();
  EXPECT_EQ(s.textFontHeight(), kDefaultTextFontHeight);
}

}  // namespace
}  // namespace lumenta::capture
