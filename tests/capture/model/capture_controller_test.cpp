// The capture window's behaviour driven gesture by gesture: what the selection and the session
// become, what is drawn and which parts are called. The view records the frames it is asked to
// show; the parts record their calls.
#include "capture/model/capture_controller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/model/toolbar_layout.h"

namespace lumenta::capture {
namespace {

class RecordingView : public CaptureView {
 public:
  void ShowFrame(const SelectionFrame& frame) override { frames.push_back(frame); }
  void ShowMagnifier(Point p) override { magnifiers.push_back(p); }
  void SetCursor(CaptureCursor cursor) override { cursors.push_back(cursor); }
  void ComposePaintLayer() override { log.push_back("compose"); }
  void PresentPaintLayer() override { log.push_back("present"); }
  void DestroyWindow() override {
    log.push_back("destroy");
    if (controller) controller->TearDown();
  }

  CaptureController* controller = nullptr;
  std::vector<SelectionFrame> frames;
  std::vector<Point> magnifiers;
  std::vector<CaptureCursor> cursors;
  std::vector<std::string> log;
};

// The toolbar covers `covered`; a press at `resetAt` clears the selection as the reset button
// does; with `movesOnClick` every press moves the toolbar away, as choosing a tool does when the
// panel then needs room.
class RecordingParts : public CaptureToolbarPart,
                       public CaptureOutputPart,
                       public AnnotationCanvasPart,
                       public FontSizeListPart {
 public:
  void Init() override {}
  void Close() override {}
  void Show() override { log->push_back("toolbar"); }
  void Hover(Point) override { ++hovers; }
  void Click(Point p) override {
    log->push_back("click");
    if (p == cancelAt) view->DestroyWindow();
    if (p == resetAt) session->StartOver();
    if (movesOnClick) covered = {};
  }
  [[nodiscard]] bool Covers(Point p) const override { return covered.Contains(p); }
  void CopySelectionToClipboard() override { log->push_back("copy"); }
  // The canvas
  void Clear() override {}
  void ToolDown(Point) override { ++toolDowns; }
  void ToolMove(Point) override {}
  void ToolUp(Point) override {}
  // The text-size list
  [[nodiscard]] Point Position() const override { return listAt; }
  void ButtonUp() override {}

  std::vector<std::string>* log = nullptr;
  RecordingView* view = nullptr;
  CaptureSession* session = nullptr;
  Point cancelAt{-1, -1};
  Point resetAt{-1, -1};
  Rect covered;
  bool movesOnClick = false;
  Point listAt{-500, -500};
  int hovers = 0;
  int toolDowns = 0;
};

class CaptureControllerTest : public ::testing::Test {
 protected:
  CaptureControllerTest() : controller(session, view, Parts(), {1920, 1080}) {
    view.controller = &controller;
    parts.log = &view.log;
    parts.view = &view;
    parts.session = &session;
    controller.Opened();
  }
  CaptureParts Parts() {
    CaptureParts p;
    p.toolbar = &parts;
    p.output = &parts;
    p.canvas = &parts;
    p.fontSizeList = &parts;
    return p;
  }
  // A completed selection and the toolbar where the program places it.
  void SelectWithToolbar(const Rect& r) {
    Drag({r.left, r.top}, {r.right, r.bottom});
    const Point at = PlaceToolbar(r, false, controller.screen().height);
    parts.covered = Rect::FromSize(at.x, at.y, kToolbarWidth, kToolbarHeight);
  }
  void Drag(Point from, Point to) {
    controller.ButtonDown(from);
    controller.MouseMove(to);
    controller.ButtonUp(to);
  }

  CaptureSession session;
  RecordingView view;
  RecordingParts parts;
  CaptureController controller;
};

TEST_F(CaptureControllerTest, ChoosingMovesOnlyTheMagnifier) {
  controller.MouseMove({10, 20});
  controller.MouseMove({11, 21});
  EXPECT_EQ(view.magnifiers, (std::vector<Point>{{10, 20}, {11, 21}}));
  EXPECT_TRUE(view.frames.empty());
  EXPECT_FALSE(controller.MagnifierHidden());
}

TEST_F(CaptureControllerTest, APressAndReleaseWithoutMovementLeavesNoRectangle) {
  controller.MouseMove({300, 300});
  controller.ButtonDown({300, 300});
  controller.ButtonUp({300, 300});
  EXPECT_TRUE(session.selection().IsZero());
  EXPECT_FALSE(session.HasSelection());
  EXPECT_FALSE(session.ButtonHeld());
  EXPECT_TRUE(view.log.empty()) << "no toolbar, no paint layer";
  controller.MouseMove({301, 300});
  EXPECT_EQ(view.magnifiers.back(), (Point{301, 300})) << "still choosing";
}

TEST_F(CaptureControllerTest, DraggingOutFollowsTheMouseAndTheReleaseCompletesTheRectangle) {
  controller.MouseMove({500, 400});
  controller.ButtonDown({500, 400});
  controller.MouseMove({450, 380});
  controller.MouseMove({700, 600});
  ASSERT_EQ(view.frames.size(), 2u);
  EXPECT_EQ(view.frames[0].selection, (Rect{450, 380, 500, 400}));
  EXPECT_EQ(view.frames[1].selection, (Rect{500, 400, 700, 600}));
  EXPECT_TRUE(view.frames[1].withMagnifier);
  EXPECT_EQ(view.frames[1].magnifierPoint, (Point{700, 600}));
  EXPECT_FALSE(session.HasSelection());

  controller.ButtonUp({700, 600});
  EXPECT_TRUE(session.HasSelection());
  EXPECT_EQ(session.selection(), (Rect{500, 400, 700, 600}));
  ASSERT_EQ(view.frames.size(), 3u);
  EXPECT_FALSE(view.frames[2].withMagnifier) << "the release hides the magnifier";
  EXPECT_EQ(view.frames[2].selection, session.selection());
  EXPECT_TRUE(controller.MagnifierHidden());
  EXPECT_EQ(view.log, (std::vector<std::string>{"compose", "toolbar", "present"}));
}

TEST_F(CaptureControllerTest, AZeroSizeDragIsStoredOnePixelWide) {
  controller.ButtonDown({100, 100});
  controller.MouseMove({100, 180});
  controller.ButtonUp({100, 180});
  EXPECT_EQ(session.selection(), (Rect{100, 100, 101, 180}));
  EXPECT_TRUE(session.HasSelection());
}

TEST_F(CaptureControllerTest, DraggingTheTopLeftHandlePastTheOppositeCornerTurnsTheRectangleOver) {
  Drag({100, 100}, {200, 150});
  controller.ButtonDown({100, 100});
  EXPECT_EQ(session.dragMode(), DragMode::kTopLeft);
  controller.MouseMove({150, 120});
  controller.MouseMove({260, 190});
  EXPECT_EQ(session.selection(), (Rect{200, 150, 260, 190}));
  const SelectionFrame& f = view.frames.back();
  EXPECT_EQ(f.corner1, (Point{260, 190}));
  EXPECT_EQ(f.label,
            "60\xA1\xC1"
            "40");
  controller.MouseMove({230, 170});
  EXPECT_EQ(session.selection(), (Rect{200, 150, 230, 170})) << "the fixed corner stays";
  controller.ButtonUp({230, 170});
  EXPECT_EQ(session.anchor(), Point{});
  EXPECT_EQ(session.dragMode(), DragMode::kNone);
}

TEST_F(CaptureControllerTest, MovingRendersWithoutMagnifierAndStopsAtTheScreenEdge) {
  Drag({100, 100}, {300, 200});
  const size_t before = view.frames.size();
  controller.ButtonDown({150, 150});
  EXPECT_EQ(session.dragMode(), DragMode::kMove);
  EXPECT_EQ(session.anchor(), (Point{150, 150}));
  controller.MouseMove({100, 140});
  EXPECT_EQ(session.selection(), (Rect{50, 90, 250, 190}));
  controller.MouseMove({40, 140});
  EXPECT_EQ(session.selection(), (Rect{0, 90, 250, 190})) << "left side stops, right side stays";
  for (size_t i = before; i < view.frames.size(); ++i) EXPECT_FALSE(view.frames[i].withMagnifier);
  EXPECT_EQ(view.cursors.back(), CaptureCursor::kMove);
  const size_t framesBeforeRelease = view.frames.size();
  controller.ButtonUp({40, 140});
  EXPECT_EQ(view.frames.size(), framesBeforeRelease) << "the magnifier was already hidden";
}

TEST_F(CaptureControllerTest, APressOutsideTheRectangleInTheSelectedStateChangesNothing) {
  Drag({100, 100}, {300, 200});
  view.log.clear();
  controller.ButtonDown({600, 600});
  EXPECT_EQ(session.dragMode(), DragMode::kNone);
  controller.MouseMove({700, 700});
  controller.ButtonUp({700, 700});
  EXPECT_EQ(session.selection(), (Rect{100, 100, 300, 200}));
  EXPECT_EQ(view.log, (std::vector<std::string>{"click", "compose", "toolbar", "present"}));
}

TEST_F(CaptureControllerTest, HoverSetsTheCursorOfTheZoneUnderTheMouse) {
  Drag({100, 100}, {300, 200});
  view.cursors.clear();
  controller.MouseMove({200, 100});
  controller.MouseMove({150, 150});
  controller.MouseMove({600, 600});
  EXPECT_EQ(view.cursors,
            (std::vector<CaptureCursor>{CaptureCursor::kSizeVertical, CaptureCursor::kMove}));
  EXPECT_EQ(parts.hovers, 3);
  EXPECT_EQ(controller.CursorAt({600, 600}), CaptureCursor::kArrow);
  EXPECT_EQ(controller.CursorAt({300, 150}), CaptureCursor::kSizeHorizontal);
}

TEST_F(CaptureControllerTest, ADoubleClickCopiesAndClosesOnlyStrictlyInsideTheRectangle) {
  controller.DoubleClick({10, 10});
  EXPECT_TRUE(view.log.empty()) << "before any rectangle";
  Drag({100, 100}, {300, 200});
  view.log.clear();
  controller.DoubleClick({100, 150});
  EXPECT_TRUE(view.log.empty()) << "on the edge";
  controller.DoubleClick({150, 150});
  EXPECT_EQ(view.log, (std::vector<std::string>{"copy", "destroy"}));
  EXPECT_FALSE(controller.IsOpen());
}

TEST_F(CaptureControllerTest, AToolbarClickThatEndsTheCaptureEndsThePressHandling) {
  Drag({100, 100}, {300, 200});
  parts.cancelAt = {150, 150};
  controller.ButtonDown({150, 150});
  EXPECT_FALSE(controller.IsOpen());
  EXPECT_FALSE(session.ButtonHeld());
  EXPECT_EQ(session.dragMode(), DragMode::kNone);
  EXPECT_EQ(session.anchor(), Point{});
  EXPECT_TRUE(session.selection().IsZero());
}

TEST_F(CaptureControllerTest, TearDownResetsTheStateAndHidesTheMagnifier) {
  controller.MouseMove({5, 5});
  Drag({100, 100}, {300, 200});
  session.SetTextFontHeight(20);
  session.ChooseTool();
  session.SetTextSizeBoxShown(true);
  session.SetFontListOpen(true);
  controller.TearDown();
  EXPECT_TRUE(session.selection().IsZero());
  EXPECT_EQ(session.phase(), CapturePhase::kChoosing);
  EXPECT_FALSE(session.textSizeBoxShown() || session.fontListOpen());
  EXPECT_EQ(session.textFontHeight(), 12);
  EXPECT_TRUE(controller.MagnifierHidden());
  EXPECT_EQ(controller.MagnifierLastPoint(), Point{});
}

TEST_F(CaptureControllerTest, WithAToolChosenPressesNoLongerResizeOrMove) {
  Drag({100, 100}, {300, 200});
  session.ChooseTool();
  controller.ButtonDown({100, 100});
  EXPECT_EQ(session.dragMode(), DragMode::kNone);
  controller.MouseMove({50, 50});
  EXPECT_EQ(session.selection(), (Rect{100, 100, 300, 200}));
  EXPECT_EQ(controller.CursorAt({150, 150}), CaptureCursor::kCross);
  EXPECT_EQ(controller.CursorAt({50, 50}), CaptureCursor::kArrow);
}

// A selection reaching near the top and the bottom of the 1920 x 1080 screen holds its toolbar
// at (1208, 1041)-(1500, 1067); a press there is the toolbar's alone, even when the press moves
// the toolbar away. A toolbar below a selection keeps the old order: a press within reach of a
// handle resizes after the toolbar has seen it.
TEST_F(CaptureControllerTest, APressOnTheToolbarOverTheSelectionStartsNoDragAndNoDrawing) {
  const Rect tall{300, 10, 1500, 1070};
  const struct {
    const char* name;
    Rect selection;
    bool toolActive;
    Point press;
    DragMode drag;
    int toolDowns;
  } cases[] = {
      {"on the toolbar inside", tall, false, {1300, 1050}, DragMode::kNone, 0},
      {"on its top-left pixel", tall, false, {1208, 1041}, DragMode::kNone, 0},
      {"on its bottom-right pixel", tall, false, {1499, 1066}, DragMode::kNone, 0},
      {"just left of it", tall, false, {1207, 1050}, DragMode::kMove, 0},
      {"just under it", tall, false, {1300, 1067}, DragMode::kMove, 0},
      {"on it with a tool chosen", tall, true, {1300, 1050}, DragMode::kNone, 0},
      {"beside it with a tool chosen", tall, true, {1100, 1050}, DragMode::kNone, 1},
      {"on a toolbar below, within a handle's reach",
       {100, 100, 300, 200},
       false,
       {299, 204},
       DragMode::kBottomRight,
       0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    controller.TearDown();
    controller.Opened();
    SelectWithToolbar(c.selection);
    ASSERT_EQ(session.selection(), c.selection);
    if (c.toolActive) session.ChooseTool();
    parts.movesOnClick = true;
    parts.toolDowns = 0;
    view.log.clear();
    controller.ButtonDown(c.press);
    EXPECT_EQ(view.log, (std::vector<std::string>{"click"})) << "the toolbar sees every press";
    EXPECT_EQ(session.dragMode(), c.drag);
    EXPECT_EQ(parts.toolDowns, c.toolDowns);
    controller.MouseMove({c.press.x - 100, c.press.y - 5});
    if (c.drag == DragMode::kNone) {
      EXPECT_EQ(session.selection(), c.selection);
    }
    if (c.drag == DragMode::kMove) {
      EXPECT_EQ(session.selection().left, c.selection.left - 100);
    }
    controller.ButtonUp({c.press.x - 100, c.press.y - 5});
    parts.movesOnClick = false;
  }
}

TEST_F(CaptureControllerTest, AResetPressedOnTheToolbarInsideStartsANewRectangleThere) {
  SelectWithToolbar({300, 10, 1500, 1070});
  parts.resetAt = {1400, 1050};
  controller.ButtonDown({1400, 1050});
  EXPECT_FALSE(session.HasSelection());
  EXPECT_EQ(session.startPoint(), (Point{1400, 1050}));
  controller.MouseMove({1500, 1060});
  EXPECT_EQ(session.selection(), (Rect{1400, 1050, 1500, 1060}));
}

TEST_F(CaptureControllerTest,
       OverTheToolbarInsideThePointerIsTheArrowAndADoubleClickCopiesNothing) {
  SelectWithToolbar({300, 10, 1500, 1070});
  view.cursors.clear();
  controller.MouseMove({1300, 1050});
  EXPECT_TRUE(view.cursors.empty()) << "no move cursor over the toolbar";
  EXPECT_EQ(controller.CursorAt({1300, 1050}), CaptureCursor::kArrow);
  EXPECT_EQ(controller.CursorAt({1100, 1050}), CaptureCursor::kMove);
  session.ChooseTool();
  EXPECT_EQ(controller.CursorAt({1300, 1050}), CaptureCursor::kArrow);
  EXPECT_EQ(controller.CursorAt({1100, 1050}), CaptureCursor::kCross);
  controller.ButtonDown({1100, 1050});
  EXPECT_EQ(controller.CursorAt({1300, 1050}), CaptureCursor::kCross)
      << "a drawing passing under the toolbar keeps its cursor";
  controller.ButtonUp({1300, 1050});
  controller.ButtonDown({1300, 1050});
  EXPECT_EQ(controller.CursorAt({1310, 1050}), CaptureCursor::kArrow)
      << "held after a press on the toolbar";
  controller.ButtonUp({1310, 1050});

  session.SetFontListOpen(true);
  parts.listAt = {1238, 954};
  view.log.clear();
  controller.DoubleClick({1300, 1050});
  controller.DoubleClick({1260, 1000});
  EXPECT_TRUE(view.log.empty()) << "on the toolbar and on the open list";
  EXPECT_EQ(controller.CursorAt({1260, 1000}), CaptureCursor::kArrow);
  controller.DoubleClick({1100, 1050});
  EXPECT_EQ(view.log, (std::vector<std::string>{"copy", "destroy"}));
}

}  // namespace
}  // namespace lumenta::capture
