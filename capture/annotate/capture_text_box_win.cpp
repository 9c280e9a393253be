#include "capture/annotate/capture_text_box_win.h"

#include "capture/annotate/annotation_surfaces_win.h"
#include "capture/capture_tool_win.h"
#include "capture/model/font_size_list_model.h"

namespace lumenta::capture {
namespace {

constexpr char kTextBoxName[] = "编辑框1";

ui::Colour ToColour(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

}  // namespace

std::vector<ui::EventBinding> CaptureTextBox::Events() {
  return {
      {kTextBoxName, ui::EventKind::kContentChanged, [this](ui::Event&) { ContentChanged(); }},
      {kTextBoxName, ui::EventKind::kLeftDown, [this](ui::Event& e) { LeftDown(e); }},
      {kTextBoxName, ui::EventKind::kLeftUp, [this](ui::Event&) { LeftUp(); }},
      {kTextBoxName, ui::EventKind::kMouseMove, [this](ui::Event&) { MouseMoved(); }},
  };
}

std::wstring CaptureTextBox::Text() const {
  HWND box = tool_.textBox();
  if (!box) return {};
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
  return text;
}

Rect CaptureTextBox::Bounds() const {
  HWND box = tool_.textBox();
  RECT r{};
  if (!box || !GetWindowRect(box, &r)) return {};
  MapWindowPoints(nullptr, GetParent(box), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

bool CaptureTextBox::IsReadOnly() const {
  HWND box = tool_.textBox();
  return box && (GetWindowLongPtrW(box, GWL_STYLE) & ES_READONLY) != 0;
}

void CaptureTextBox::SetBounds(const Rect& b) {
  if (HWND box = tool_.textBox()) {
    SetWindowPos(box, nullptr, b.left, b.top, b.Width(), b.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void CaptureTextBox::Place(const TextBoxPlacement& p, COLORREF colour) {
  HWND box = tool_.textBox();
  if (!box) return;
  SetBounds(Rect::FromSize(p.left, p.top, p.width, p.height));
  SetTextColour(colour);
  if (ui::Window* window = tool_.runtimeWindow()) window->SetFontSize(kTextBoxName, p.pointSize);
  SendMessageW(box, EM_SETREADONLY, FALSE, 0);
  ShowWindow(box, SW_SHOW);
  SetFocus(box);
}

void CaptureTextBox::EmptyAndHide() {
  if (HWND box = tool_.textBox()) {
    SetWindowTextW(box, L"");
    ShowWindow(box, SW_HIDE);
  }
}

void CaptureTextBox::Hide() {
  if (HWND box = tool_.textBox()) ShowWindow(box, SW_HIDE);
}

void CaptureTextBox::SetTextColour(COLORREF colour) {
  if (ui::Window* window = tool_.runtimeWindow()) {
    window->SetTextColour(kTextBoxName, ToColour(colour));
  }
}

void CaptureTextBox::SetTextHeight(int fontHeight) {
  HWND box = tool_.textBox();
  if (!box) return;
  Rect b = Bounds();
  b.bottom = b.top + fontHeight + 5;
  SetBounds(b);
  if (ui::Window* window = tool_.runtimeWindow()) {
    window->SetFontSize(kTextBoxName, FontPointSize(fontHeight));
  }
}

void CaptureTextBox::ContentChanged() {
  HWND box = tool_.textBox();
  CaptureRenderer* renderer = tool_.renderer();
  if (!box || !renderer) return;
  const int fontHeight = tool_.state().textFontHeight;
  const std::wstring text = Text();
  SIZE extent{};
  {
    const win::Font font(CreateTextToolFont(fontHeight));
    win::SelectGuard use(renderer->windowDc(), font.get());
    GetTextExtentPoint32W(renderer->windowDc(), text.c_str(), static_cast<int>(text.size()),
                          &extent);
  }
  Rect b = Bounds();
  const TextBoxWidth width =
      GrowTextBox(extent.cx, b.Width(), fontHeight, b.left, tool_.state().selection.right);
  if (width.readOnly) SendMessageW(box, EM_SETREADONLY, TRUE, 0);
  b.right = b.left + width.width;
  SetBounds(b);
}

void CaptureTextBox::LeftDown(ui::Event& event) {
  HWND box = tool_.textBox();
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
  HWND box = tool_.textBox();
  if (!box) return;
  DWORD start = 0, end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (start != end) SendMessageW(box, EM_SETREADONLY, FALSE, 0);
}

void CaptureTextBox::MouseMoved() {
  if (!tool_.textBox()) return;
  const Rect b = Bounds();
  const Point inside =
      MoveTextBoxInside({b.left, b.top}, b.Width(), b.Height(), tool_.state().selection);
  if (inside != Point{b.left, b.top})
    SetBounds(Rect::FromSize(inside.x, inside.y, b.Width(), b.Height()));
}

}  // namespace lumenta::capture
