#include "capture/annotate/capture_text_box_win.h"

#include "capture/annotate/annotation_surfaces_win.h"
#include "capture/model/font_size_list_model.h"
#include "capture/window/capture_window_controls.h"

namespace lumenta::capture {
namespace {

ui::Colour ToColour(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

}  // namespace

std::vector<ui::EventBinding> CaptureTextBox::Events() {
  return {
      {capture_window::kTextBox, ui::EventKind::kContentChanged,
       [this](ui::Event&) { ContentChanged(); }},
      {capture_window::kTextBox, ui::EventKind::kLeftDown, [this](ui::Event& e) { LeftDown(e); }},
      {capture_window::kTextBox, ui::EventKind::kLeftUp, [this](ui::Event&) { LeftUp(); }},
      {capture_window::kTextBox, ui::EventKind::kMouseMove, [this](ui::Event&) { MouseMoved(); }},
  };
}

std::wstring CaptureTextBox::Text() const {
  HWND box = window_.TextBox();
  if (!box) return {};
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
  return text;
}

Rect CaptureTextBox::Bounds() const {
  HWND box = window_.TextBox();
  RECT r{};
  if (!box || !GetWindowRect(box, &r)) return {};
  MapWindowPoints(nullptr, GetParent(box), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

bool CaptureTextBox::IsReadOnly() const {
  HWND box = window_.TextBox();
  return box && (GetWindowLongPtrW(box, GWL_STYLE) & ES_READONLY) != 0;
}

void CaptureTextBox::SetBounds(const Rect& b) {
  if (HWND box = window_.TextBox()) {
    SetWindowPos(box, nullptr, b.left, b.top, b.Width(), b.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CaptureTextBox::Place(const TextBoxPlacement& p, COLORREF colour) {
  HWND box = window_.TextBox();
  if (!box) return;
  SetBounds(Rect::FromSize(p.left, p.top, p.width, p.height));
  SetTextColour(colour);
  if (ui::Window* controls = window_.Controls())
    controls->SetFontSize(capture_window::kTextBox, p.pointSize);
  SendMessageW(box, EM_SETREADONLY, FALSE, 0);
  ShowWindow(box, SW_SHOW);
  SetFocus(box);
}

void CaptureTextBox::EmptyAndHide() {
  if (HWND box = window_.TextBox()) {
    SetWindowTextW(box, L"");
    ShowWindow(box, SW_HIDE);
  }
}

void CaptureTextBox::Hide() {
  if (HWND box = window_.TextBox()) ShowWindow(box, SW_HIDE);
}

void CaptureTextBox::SetTextColour(COLORREF colour) {
  if (ui::Window* controls = window_.Controls()) {
    controls->SetTextColour(capture_window::kTextBox, ToColour(colour));
  }
}

void CaptureTextBox::SetTextHeight(int fontHeight) {
  HWND box = window_.TextBox();
  if (!box) return;
  Rect b = Bounds();
  b.bottom = b.top + fontHeight + 5;
  SetBounds(b);
  if (ui::Window* controls = window_.Controls()) {
    controls->SetFontSize(capture_window::kTextBox, FontPointSize(fontHeight));
  }
}

void CaptureTextBox::ContentChanged() {
  HWND box = window_.TextBox();
  HDC dc = surfaces_.WindowDc();
  if (!box || !dc) return;
  const int fontHeight = session_.textFontHeight();
  const std::wstring text = Text();
  SIZE extent{};
  {
    const win::Font font(CreateTextToolFont(fontHeight));
    win::SelectGuard use(dc, font.get());
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  }
  Rect b = Bounds();
  const TextBoxWidth width =
      GrowTextBox(extent.cx, b.Width(), fontHeight, b.left, session_.selection().right);
  if (width.readOnly) SendMessageW(box, EM_SETREADONLY, TRUE, 0);
  b.right = b.left + width.width;
  SetBounds(b);
}

void CaptureTextBox::LeftDown(ui::Event& event) {
  HWND box = window_.TextBox();
  if (!box) return;
  // Moved with the mouse as if by a title bar. The box keeps the keyboard focus, and its own
  // handling of the press is left out: it would wait for a release the move has already taken.
  POINT at{event.x, event.y};
  ClientToScreen(box, &at);
  ReleaseCapture();
  SendMessageW(box, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
  SetFocus(box);
  event.skipDefault = true;
}

void CaptureTextBox::LeftUp() {
  HWND box = window_.TextBox();
  if (!box) return;
  DWORD start = 0, end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (start != end) SendMessageW(box, EM_SETREADONLY, FALSE, 0);
}

void CaptureTextBox::MouseMoved() {
  if (!window_.TextBox()) return;
  const Rect b = Bounds();
  const Point inside =
      MoveTextBoxInside({b.left, b.top}, b.Width(), b.Height(), session_.selection());
  if (inside != Point{b.left, b.top})
    SetBounds(Rect::FromSize(inside.x, inside.y, b.Width(), b.Height()));
}

}  // namespace lumenta::capture
