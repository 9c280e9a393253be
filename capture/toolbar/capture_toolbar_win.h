#pragma once
// The capture toolbar beside the selected rectangle and its options panel: five drawing tools,
// reset, save, cancel and done; under it, once a tool is chosen, the line widths or the
// text-size box, the current colour and the 16-colour palette.
#include <windows.h>

#include "capture/model/annotation_choices.h"
#include "capture/model/capture_parts.h"
#include "capture/model/capture_session.h"
#include "capture/model/toolbar_decisions.h"
#include "capture/toolbar/toolbar_painter_win.h"
#include "capture/window/capture_parts_win.h"

namespace lumenta::capture {

class AnnotationCanvas;
class CaptureOutput;
class CaptureTextBox;
class FontSizeList;

class CaptureToolbar final : public CaptureToolbarPart {
 public:
  CaptureToolbar(CaptureSurfaces& surfaces, CaptureSession& session, AnnotationChoices& choices,
                 FontSizeList& list, AnnotationCanvas& canvas, CaptureTextBox& textBox,
                 CaptureOutput& output)
      : surfaces_(surfaces),
        session_(session),
        choices_(choices),
        list_(list),
        canvas_(canvas),
        textBox_(textBox),
        output_(output) {}

  // Makes the toolbar's pictures for a new capture window; nothing is chosen or shown yet.
  void Init() override;
  // Releases them.
  void Close() override;
  // The toolbar (and the panel and the open list) onto the paint layer beside the rectangle.
  void Show() override;
  void Hover(Point p) override;
  void Click(Point p) override;
  [[nodiscard]] bool Covers(Point p) const override;

  // The text-size box again, with the current text height (after a choice in the list).
  void DrawTextSizeBox();

  [[nodiscard]] Point position() const { return position_; }
  [[nodiscard]] bool panelShown() const { return panelShown_; }
  [[nodiscard]] int panelWidth() const { return panelWidth_; }
  [[nodiscard]] int hoverItem() const { return hoverItem_; }

 private:
  [[nodiscard]] ToolbarFlags Flags() const;
  void RedrawPanelAndList();
  void ChooseTool(int tool);
  void ChooseSize(int sizeButton);
  void ChooseColour(int entry);
  void Reset();
  void ShowPanel(int width);
  void DrawPalette(int paletteX);
  void OutlineSizeButton(int sizeButton);
  [[nodiscard]] HDC LayerFor(const Zone& zone);

  CaptureSurfaces& surfaces_;
  CaptureSession& session_;
  AnnotationChoices& choices_;
  FontSizeList& list_;
  AnnotationCanvas& canvas_;
  CaptureTextBox& textBox_;
  CaptureOutput& output_;
  ToolbarPainter painter_;

  Point position_;
  bool shown_ = false;  // drawn since the window opened or the last reset
  bool panelShown_ = false;
  int panelWidth_ = 0;
  bool sizeButtonsShown_ = false;
  bool paletteShown_ = false;
  int hoverItem_ = 0;
  int paletteX_ = 0;
  int chosenTool_ = 0;
  int chosenSizeButton_ = 0;
};

}  // namespace lumenta::capture
