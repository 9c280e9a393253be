#include "ui/window_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "base/codepage.h"
#include "base/text_encoders.h"
#include "ui/dpi_win.h"
#include "ui/message_loop_win.h"
#include "ui/picture_box_win.h"

namespace lumenta::ui {
namespace {

constexpr wchar_t kWindowClass[] = L"LumentaWindow";
constexpr wchar_t kPageClass[] = L"LumentaPage";
// Posted to a window when a drop has been received; the drop is delivered from the queue.
constexpr UINT kDeliverDropsMessage = WM_APP + 0x4C;
constexpr UINT_PTR kSubclassId = 0x4C55;

// Design texts are UTF-8: straight to UTF-16, so no character depends on GBK having it.
std::u16string Utf8ToUtf16(std::string_view utf8) {
  return codepage::ToUtf16(utf8, codepage::kUtf8);
}

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

COLORREF ToColorRef(Colour colour) { return RGB(colour.r, colour.g, colour.b); }

void ReportUnknown(const WindowDesign& design, std::string_view name) {
  std::string message =
      "Lumenta: window " + std::string(design.name) + " has no control " + std::string(name) + "\n";
  OutputDebugStringA(message.c_str());
}

// Reads a resource of type RCDATA from the program image; empty when it is not there.
ByteBuffer ResourceBytes(int number) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(number), MAKEINTRESOURCEW(10));
  if (resource == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return {};
  return ByteBuffer(static_cast<const char*>(bytes), SizeofResource(module, resource));
}

DWORD WindowStyle(const WindowDesign& design) {
  DWORD style = WS_CLIPSIBLINGS;
  switch (design.frame) {
    case Frame::kFixedSingle:
      style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
      break;
    case Frame::kResizable:
      style |= WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      break;
    case Frame::kNone:
      style |= WS_POPUP;
      break;
  }
  if (design.frame != Frame::kNone) {
    if (design.minimiseBox) style |= WS_MINIMIZEBOX;
    if (design.maximiseBox) style |= WS_MAXIMIZEBOX;
  }
  return style;
}

DWORD WindowExStyle(const WindowDesign& design) {
  DWORD style = WS_EX_CONTROLPARENT;
  if (design.topmost) style |= WS_EX_TOPMOST;
  if (design.inTaskBar) style |= WS_EX_APPWINDOW;
  return style;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Creation

Window::Window(const WindowDesign& design, std::vector<EventBinding> events)
    : design_(design), events_(std::move(events)) {}

Window::~Window() {
  if (handle_ != nullptr) DestroyWindow(handle_);
}

bool Window::RegisterClasses() {
  static const bool registered = [] {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW window{};
    window.cbSize = sizeof window;
    window.style = CS_DBLCLKS;
    window.lpfnWndProc = &Window::WindowProc;
    window.hInstance = instance;
    window.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window.lpszClassName = kWindowClass;
    const bool windowOk =
        RegisterClassExW(&window) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    WNDCLASSEXW page{};
    page.cbSize = sizeof page;
    page.lpfnWndProc = &Window::PageProc;
    page.hInstance = instance;
    page.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    page.lpszClassName = kPageClass;
    const bool pageOk =
        RegisterClassExW(&page) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    INITCOMMONCONTROLSEX common{sizeof common, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common);
    return windowOk && pageOk && RegisterPictureBoxClass();
  }();
  return registered;
}

std::unique_ptr<Window> Window::Create(const WindowDesign& design,
                                       std::vector<EventBinding> events) {
  std::vector<std::string_view> bound;
  bound.reserve(events.size());
  for (const EventBinding& binding : events) bound.push_back(binding.control);
  std::vector<std::string> problems = FindDesignProblems(design);
  for (std::string& problem : FindBindingProblems(design, bound)) {
    problems.push_back(std::move(problem));
  }
  if (!problems.empty()) {
    for (const std::string& problem : problems) {
      OutputDebugStringA(("Lumenta: " + problem + "\n").c_str());
    }
    return nullptr;
  }
  if (!RegisterClasses()) return nullptr;
  std::unique_ptr<Window> window(new Window(design, std::move(events)));
  if (!window->CreateNative()) return nullptr;
  Event created{*window, {}, EventKind::kCreated};
  window->Raise(created);
  return window;
}

void Window::LoadModal(const WindowDesign& design, std::vector<EventBinding> events) {
  std::unique_ptr<Window> window = Create(design, std::move(events));
  if (window) window->ShowModal();
}

bool Window::CreateNative() {
  const std::u16string title = Utf8ToUtf16(design_.title);
  const DWORD style = WindowStyle(design_);
  const DWORD exStyle = WindowExStyle(design_);
  handle_ = CreateWindowExW(exStyle, kWindowClass, Wide(title), style, design_.left, design_.top,
                            design_.width, design_.height, nullptr, nullptr,
                            GetModuleHandleW(nullptr), this);
  if (handle_ == nullptr) return false;
  dpi_ = DpiForWindow(handle_);
  PlaceWindow(design_.centred);

  controls_.resize(design_.controls.size());
  int nextId = design_.id * 1000 + 1;
  for (size_t i = 0; i < design_.controls.size(); ++i) {
    controls_[i].design = &design_.controls[i];
    controls_[i].id = nextId++;
  }
  for (size_t i = 0; i < controls_.size(); ++i) {
    if (!CreateControl(i)) {
      DestroyWindow(handle_);
      return false;
    }
  }
  LayoutControls();
  ApplyFonts();
  LoadIcons();
  return true;
}

void Window::PlaceWindow(bool centre) {
  const SIZE size = ScaledOuterSize({design_.width, design_.height}, WindowStyle(design_),
                                    WindowExStyle(design_), dpi_);
  int left = ScaleToDpi(design_.left, dpi_);
  int top = ScaleToDpi(design_.top, dpi_);
  if (centre) {
    // Centred on the work area of the monitor the window is on (the primary one at start).
    MONITORINFO monitor{sizeof monitor};
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (GetMonitorInfoW(MonitorFromWindow(handle_, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
      area = monitor.rcWork;
    }
    left = area.left + (area.right - area.left - size.cx) / 2;
    top = area.top + (area.bottom - area.top - size.cy) / 2;
  }
  SetWindowPos(handle_, nullptr, left, top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND Window::NativeParentOf(const ControlDesign& control, POINT& offset) const {
  offset = {0, 0};
  if (control.container.empty()) return handle_;
  const Control* container = Find(control.container);
  if (container == nullptr) return handle_;
  if (container->design->type == ControlType::kPageControl) {
    const size_t page = static_cast<size_t>(control.page - 1);
    if (page >= container->pages.size()) return container->handle;
    // Page geometry is relative to the page control; the page panel sits inside its tabs.
    const RECT panel = PanelRect(container->handle);
    offset = {-panel.left, -panel.top};
    return container->pages[page];
  }
  return container->handle;
}

RECT Window::PanelRect(HWND pageControl) const {
  RECT rect;
  GetClientRect(pageControl, &rect);
  TabCtrl_AdjustRect(pageControl, FALSE, &rect);
  return rect;
}

bool Window::CreateControl(size_t index) {
  Control& control = controls_[index];
  if (control.handle != nullptr || control.dialog || control.drop) return true;
  const ControlDesign& design = *control.design;
  // Containers first, whatever the order of the design.
  if (!design.container.empty()) {
    const ControlDesign* container = FindControl(design_, design.container);
    const size_t containerIndex = static_cast<size_t>(container - design_.controls.data());
    if (!CreateControl(containerIndex)) return false;
  }
  if (design.type == ControlType::kCommonDialog) {
    control.dialog = std::make_unique<CommonDialog>(design.dialog, handle_);
    control.dialog->SetFilter(Utf8ToAnsi(design.filter));
    control.dialog->SetDefaultExtension(Utf8ToAnsi(design.defaultExtension));
    return true;
  }
  if (design.type == ControlType::kDropTarget) {
    const std::string_view name = design.name;
    control.drop = DropTarget::Create(
        [this, name](DropKind kind, Text text) { QueueDrop(name, kind, std::move(text)); });
    return true;
  }

  const wchar_t* className = L"BUTTON";
  DWORD style = WS_CHILD;
  DWORD exStyle = 0;
  if (design.visible) style |= WS_VISIBLE;
  switch (design.type) {
    case ControlType::kButton:
      style |= WS_TABSTOP | BS_PUSHBUTTON;
      break;
    case ControlType::kEditBox:
      className = L"EDIT";
      style |= WS_TABSTOP | ES_LEFT;
      switch (design.edit) {
        case EditKind::kSingleLine:
          style |= ES_AUTOHSCROLL;
          break;
        case EditKind::kPassword:
          style |= ES_AUTOHSCROLL | ES_PASSWORD;
          break;
        case EditKind::kMultiLine:
          style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL;
          break;
      }
      break;
    case ControlType::kPictureBox:
      className = kPictureBoxClass;
      break;
    case ControlType::kGroupBox:
      style |= BS_GROUPBOX;
      exStyle |= WS_EX_CONTROLPARENT;
      break;
    case ControlType::kLabel:
    case ControlType::kTransparentLabel:
      className = L"STATIC";
      // One line, cut at the right edge: captions are designed to the width of the label.
      style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX;
      break;
    case ControlType::kRadioButton: {
      style |= BS_AUTORADIOBUTTON;
      // The first radio button of a container starts the set and is its tab stop.
      const bool first =
          std::none_of(design_.controls.data(), &design, [&](const ControlDesign& other) {
            return other.type == ControlType::kRadioButton && other.container == design.container &&
                   other.page == design.page;
          });
      if (first) style |= WS_GROUP | WS_TABSTOP;
      break;
    }
    case ControlType::kPageControl:
      // The tabs are a tab stop of their own (arrow keys then switch pages); the pages are
      // sibling windows laid over the tabs' display area, as in a property sheet, so that Tab
      // reaches both the tabs and the controls of the page shown. The tabs leave the pages'
      // area to them.
      className = WC_TABCONTROLW;
      style |= WS_TABSTOP | WS_CLIPSIBLINGS;
      break;
    case ControlType::kCommonDialog:
    case ControlType::kDropTarget:
      break;
  }
  if (design.type == ControlType::kEditBox || design.type == ControlType::kPictureBox) {
    if (design.border == Border::kSunken) exStyle |= WS_EX_CLIENTEDGE;
    if (design.border == Border::kSingle) style |= WS_BORDER;
  }

  POINT offset;
  HWND parent = NativeParentOf(design, offset);
  const std::u16string caption =
      design.type == ControlType::kPageControl ? std::u16string() : Utf8ToUtf16(design.caption);
  control.handle = CreateWindowExW(exStyle, className, Wide(caption), style, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                   GetModuleHandleW(nullptr), nullptr);
  if (control.handle == nullptr) return false;
  SetWindowSubclass(control.handle, &Window::ControlProc, kSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));

  switch (design.type) {
    case ControlType::kEditBox:
      SendMessageW(control.handle, EM_SETLIMITTEXT, 0, 0);  // no length limit
      if (design.edit == EditKind::kPassword) {
        SendMessageW(control.handle, EM_SETPASSWORDCHAR, L'*', 0);
      }
      break;
    case ControlType::kRadioButton:
      SendMessageW(control.handle, BM_SETCHECK, design.checked ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    case ControlType::kPictureBox:
      if (design.pictureResource != 0) {
        SetPictureBoxBytes(control.handle, ResourceBytes(design.pictureResource));
      }
      break;
    case ControlType::kPageControl: {
      // The tabs need their font before the page panels are placed inside them.
      SendMessageW(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(design)), FALSE);
      SetWindowPos(control.handle, nullptr, 0, 0, ScaleToDpi(design.bounds.width, dpi_),
                   ScaleToDpi(design.bounds.height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
      for (size_t page = 0; page < design.pages.size(); ++page) {
        std::u16string text = Utf8ToUtf16(design.pages[page]);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(Wide(text));
        SendMessageW(control.handle, TCM_INSERTITEMW, page, reinterpret_cast<LPARAM>(&item));
        HWND panel = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, L"",
                                     WS_CHILD | (page == 0 ? WS_VISIBLE : 0), 0, 0, 0, 0, parent,
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
        if (panel == nullptr) return false;
        // Above the tabs, and right after them in the Tab order.
        SetWindowPos(panel, control.pages.empty() ? control.handle : control.pages.back(), 0, 0, 0,
                     0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        control.pages.push_back(panel);
      }
      SendMessageW(control.handle, TCM_SETCURSEL, 0, 0);
      break;
    }
    default:
      break;
  }
  return true;
}

void Window::LayoutControls() {
  // Page controls first: their panels decide where the pages' controls go.
  for (int pass = 0; pass < 2; ++pass) {
    for (Control& control : controls_) {
      if (control.handle == nullptr) continue;
      const ControlDesign& design = *control.design;
      const bool pageControl = design.type == ControlType::kPageControl;
      if (pageControl != (pass == 0)) continue;
      POINT offset;
      NativeParentOf(design, offset);
      SetWindowPos(control.handle, nullptr, ScaleToDpi(design.bounds.left, dpi_) + offset.x,
                   ScaleToDpi(design.bounds.top, dpi_) + offset.y,
                   ScaleToDpi(design.bounds.width, dpi_), ScaleToDpi(design.bounds.height, dpi_),
                   SWP_NOZORDER | SWP_NOACTIVATE);
      if (pageControl) {
        // The pages cover the tabs' display area, in the coordinates of the tabs' parent.
        RECT panel = PanelRect(control.handle);
        MapWindowPoints(control.handle, GetParent(control.handle), reinterpret_cast<POINT*>(&panel),
                        2);
        for (HWND page : control.pages) {
          SetWindowPos(page, nullptr, panel.left, panel.top, panel.right - panel.left,
                       panel.bottom - panel.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
      }
    }
  }
}

HFONT Window::FontFor(const ControlDesign& control, int points) {
  FontDesign font = EffectiveFont(design_, control);
  // A size in points is a character height: points / 72 inch at 96 DPI.
  if (points > 0) font.height = -MulDiv(points, 96, 72);
  for (const auto& [known, handle] : fonts_) {
    if (known == font) return handle.get();
  }
  const std::u16string face = Utf8ToUtf16(font.face);
  LOGFONTW logical{};
  logical.lfHeight = ScaleToDpi(font.height, dpi_);
  logical.lfWeight = font.weight;
  logical.lfCharSet = static_cast<BYTE>(font.charset);
  logical.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logical.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logical.lfQuality = DEFAULT_QUALITY;
  logical.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpynW(logical.lfFaceName, Wide(face), LF_FACESIZE);
  fonts_.emplace_back(font, win::Font(CreateFontIndirectW(&logical)));
  return fonts_.back().second.get();
}

void Window::ApplyFonts() {
  for (Control& control : controls_) {
    if (control.handle == nullptr) continue;
    SendMessageW(control.handle, WM_SETFONT,
                 reinterpret_cast<WPARAM>(FontFor(*control.design, control.fontPoints)), TRUE);
  }
}

void Window::LoadIcons() {
  if (design_.iconResource == 0) return;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const auto load = [&](int metricX, int metricY) {
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(design_.iconResource),
                                         IMAGE_ICON, SystemMetricForDpi(metricX, dpi_),
                                         SystemMetricForDpi(metricY, dpi_), LR_DEFAULTCOLOR));
  };
  // The window takes the new icons before the old ones (after a DPI change) are destroyed.
  win::Icon big(load(SM_CXICON, SM_CYICON));
  win::Icon little(load(SM_CXSMICON, SM_CYSMICON));
  SendMessageW(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
  SendMessageW(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(little.get()));
  bigIcon_ = std::move(big);
  smallIcon_ = std::move(little);
}

HBRUSH Window::BrushFor(COLORREF colour) {
  auto found = brushes_.find(colour);
  if (found == brushes_.end()) {
    found = brushes_.emplace(colour, win::Brush(CreateSolidBrush(colour))).first;
  }
  return found->second.get();
}

// ---------------------------------------------------------------------------------------------
// Showing and loops

void Window::Show() {
  if (handle_ == nullptr) return;
  ShowWindow(handle_, SW_SHOW);
  SetForegroundWindow(handle_);
}

BOOL CALLBACK Window::CollectEnabledWindow(HWND other, LPARAM data) {
  auto* self = reinterpret_cast<Window*>(data);
  if (other != self->handle_ && IsWindowVisible(other) && IsWindowEnabled(other)) {
    self->disabled_.push_back(other);
  }
  return TRUE;
}

void Window::DisableOtherWindows() {
  disabled_.clear();
  EnumThreadWindows(GetCurrentThreadId(), &Window::CollectEnabledWindow,
                    reinterpret_cast<LPARAM>(this));
  for (HWND other : disabled_) EnableWindow(other, FALSE);
}

void Window::EnableOtherWindows() {
  for (HWND other : disabled_) {
    if (IsWindow(other)) EnableWindow(other, TRUE);
  }
  disabled_.clear();
}

void Window::ShowModal() {
  if (handle_ == nullptr) return;
  HWND previous = GetActiveWindow();
  modal_ = true;
  DisableOtherWindows();
  Show();
  MSG message;
  while (handle_ != nullptr) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: the modal window goes, the quit goes on to the outer loop.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got == -1) break;
    DispatchUiMessage(message);
  }
  if (handle_ != nullptr) DestroyWindow(handle_);
  EnableOtherWindows();
  modal_ = false;
  if (previous != nullptr && IsWindow(previous)) SetActiveWindow(previous);
}

int Window::RunMessageLoop() {
  MSG message;
  while (handle_ != nullptr) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return -1;
    DispatchUiMessage(message);
  }
  return 0;
}

void Window::Close() {
  if (handle_ != nullptr) SendMessageW(handle_, WM_CLOSE, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// Control operations

Window::Control* Window::Find(std::string_view name) {
  for (Control& control : controls_) {
    if (control.design->name == name) return &control;
  }
  ReportUnknown(design_, name);
  unknownLookups_.emplace_back(name);
  return nullptr;
}

const Window::Control* Window::Find(std::string_view name) const {
  return const_cast<Window*>(this)->Find(name);
}

Window::Control* Window::FindByHandle(HWND handle) {
  if (handle == nullptr) return nullptr;
  for (Control& control : controls_) {
    if (control.handle == handle) return &control;
  }
  return nullptr;
}

HWND Window::ControlHandle(std::string_view name) const {
  const Control* control = Find(name);
  return control != nullptr ? control->handle : nullptr;
}

int Window::ControlId(std::string_view name) const {
  const Control* control = Find(name);
  return control != nullptr ? control->id : 0;
}

std::string_view Window::ControlName(HWND handle) const {
  for (const Control& control : controls_) {
    if (control.handle == handle) return control.design->name;
  }
  return {};
}

Text Window::GetText(std::string_view name) const {
  HWND control = ControlHandle(name);
  if (control == nullptr) return {};
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  const int copied = GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return Utf16ToGbk(text);
}

void Window::SetText(std::string_view name, std::string_view text) {
  HWND control = ControlHandle(name);
  if (control == nullptr) return;
  const std::u16string wide = TextToUtf16(text);
  SetWindowTextW(control, Wide(wide));
}

void Window::SetTextColour(std::string_view name, Colour colour) {
  Control* control = Find(name);
  if (control == nullptr || control->handle == nullptr) return;
  control->textColour = colour;
  InvalidateRect(control->handle, nullptr, TRUE);
}

void Window::SetFontSize(std::string_view name, int points) {
  Control* control = Find(name);
  if (control == nullptr || control->handle == nullptr) return;
  control->fontPoints = points;
  SendMessageW(control->handle, WM_SETFONT,
               reinterpret_cast<WPARAM>(FontFor(*control->design, points)), TRUE);
}

void Window::AppendText(std::string_view name, std::string_view text) {
  HWND control = ControlHandle(name);
  if (control == nullptr) return;
  const std::u16string wide = TextToUtf16(text);
  const int length = GetWindowTextLengthW(control);
  SendMessageW(control, EM_SETSEL, length, length);
  SendMessageW(control, EM_SCROLLCARET, 0, 0);
  SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(Wide(wide)));
}

ByteBuffer Window::GetPicture(std::string_view name) const {
  return PictureBoxBytes(ControlHandle(name));
}

SharedBytes Window::SharePicture(std::string_view name) const {
  return SharedPictureBoxBytes(ControlHandle(name));
}

void Window::SetPicture(std::string_view name, ByteBuffer bytes) {
  SetPictureBoxBytes(ControlHandle(name), std::move(bytes));
}

bool Window::IsChecked(std::string_view name) const {
  HWND control = ControlHandle(name);
  return control != nullptr && SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Window::SetChecked(std::string_view name, bool checked) {
  Control* control = Find(name);
  if (control == nullptr || control->handle == nullptr) return;
  if (checked && control->design->type == ControlType::kRadioButton) {
    for (Control& other : controls_) {
      if (&other != control && other.design->type == ControlType::kRadioButton &&
          other.design->container == control->design->container &&
          other.design->page == control->design->page) {
        SendMessageW(other.handle, BM_SETCHECK, BST_UNCHECKED, 0);
      }
    }
  }
  SendMessageW(control->handle, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Window::FocusControl(std::string_view name) {
  Control* control = Find(name);
  if (control == nullptr || control->handle == nullptr) return;
  // A control on a hidden page cannot take the focus: show its page first.
  for (const ControlDesign* step = control->design; step != nullptr && !step->container.empty();) {
    Control* container = Find(step->container);
    if (container == nullptr) break;
    if (container->design->type == ControlType::kPageControl &&
        CurrentPage(container->design->name) != step->page) {
      SelectPage(container->design->name, step->page);
    }
    step = container->design;
  }
  SetFocus(control->handle);
}

int Window::CurrentPage(std::string_view name) const {
  const Control* control = Find(name);
  if (control == nullptr || control->design->type != ControlType::kPageControl) return 0;
  return static_cast<int>(SendMessageW(control->handle, TCM_GETCURSEL, 0, 0)) + 1;
}

void Window::SelectPage(std::string_view name, int page) {
  Control* control = Find(name);
  if (control == nullptr || control->design->type != ControlType::kPageControl) return;
  if (page < 1 || page > static_cast<int>(control->pages.size())) return;
  SendMessageW(control->handle, TCM_SETCURSEL, page - 1, 0);
  ShowPage(*control, page);
}

void Window::ShowPage(Control& control, int page) {
  // The focus leaves a page that goes out of sight for the tabs, as in a property sheet.
  HWND focus = GetFocus();
  ShowWindow(control.pages[static_cast<size_t>(page - 1)], SW_SHOW);
  for (size_t i = 0; i < control.pages.size(); ++i) {
    if (static_cast<int>(i) == page - 1) continue;
    if (focus != nullptr && IsChild(control.pages[i], focus)) SetFocus(control.handle);
    ShowWindow(control.pages[i], SW_HIDE);
  }
}

CommonDialog* Window::Dialog(std::string_view name) {
  Control* control = Find(name);
  return control != nullptr ? control->dialog.get() : nullptr;
}

DropTarget* Window::Drop(std::string_view name) {
  Control* control = Find(name);
  return control != nullptr ? control->drop.get() : nullptr;
}

// ---------------------------------------------------------------------------------------------
// Events

void Window::Bind(std::string_view control, EventKind kind, EventHandler handler) {
  events_.push_back({control, kind, std::move(handler)});
}

bool Window::HasHandler(std::string_view control, EventKind kind) const {
  return std::any_of(events_.begin(), events_.end(), [&](const EventBinding& binding) {
    return binding.kind == kind && binding.control == control;
  });
}

bool Window::Raise(Event& event) {
  // Handlers are copied out first: a handler may bind more handlers while it runs.
  std::vector<EventHandler> handlers;
  for (const EventBinding& binding : events_) {
    if (binding.kind == event.kind && binding.control == event.control && binding.handler) {
      handlers.push_back(binding.handler);
    }
  }
  for (EventHandler& handler : handlers) handler(event);
  return !handlers.empty();
}

void Window::RaiseSimple(std::string_view control, EventKind kind, int x, int y) {
  Event event{*this, control, kind, x, y};
  Raise(event);
}

void Window::QueueDrop(std::string_view control, DropKind kind, Text text) {
  drops_.push_back({control, kind, std::move(text)});
  if (handle_ != nullptr) PostMessageW(handle_, kDeliverDropsMessage, 0, 0);
}

void Window::DeliverDrops() {
  while (!drops_.empty()) {
    PendingDrop drop = std::move(drops_.front());
    drops_.pop_front();
    EventKind kind = EventKind::kFilesDropped;
    switch (drop.kind) {
      case DropKind::kFiles:
        kind = EventKind::kFilesDropped;
        break;
      case DropKind::kLink:
        kind = EventKind::kLinkDropped;
        break;
      case DropKind::kHtml:
        kind = EventKind::kHtmlDropped;
        break;
      case DropKind::kText:
        kind = EventKind::kTextDropped;
        break;
    }
    Event event{*this, drop.control, kind};
    event.text = std::move(drop.text);
    Raise(event);
  }
}

// ---------------------------------------------------------------------------------------------
// Window procedures

Window* WindowFromHandle(HWND handle) {
  if (handle == nullptr) return nullptr;
  wchar_t className[32] = {};
  if (GetClassNameW(handle, className, 32) == 0 || lstrcmpW(className, kWindowClass) != 0) {
    return nullptr;
  }
  return reinterpret_cast<Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
}

LRESULT CALLBACK Window::WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* window = static_cast<Window*>(create->lpCreateParams);
    window->handle_ = handle;
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  if (window == nullptr) return DefWindowProcW(handle, message, wParam, lParam);
  if (window->filter_) {
    const std::optional<LRESULT> result = window->filter_(message, wParam, lParam);
    // The end of the native window is always the runtime's to handle.
    if (result && message != WM_NCDESTROY) return *result;
  }
  return window->HandleMessage(message, wParam, lParam);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND handle = handle_;
  switch (message) {
    case WM_COMMAND:
      HandleCommand(wParam, lParam);
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        if (Control* control = FindByHandle(header->hwndFrom)) {
          const int page = static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0));
          if (page >= 0 && page < static_cast<int>(control->pages.size())) {
            ShowPage(*control, page + 1);
          }
        }
      }
      return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return HandleControlColour(message, reinterpret_cast<HDC>(wParam),
                                 reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(handle, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client,
               design_.background == Background::kWhite
                   ? static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))
                   : GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_SYSCOMMAND: {
      const WPARAM command = wParam & 0xFFF0;
      // The border and the missing buttons say it: these windows are not maximised or sized
      // by the user, whatever path the command takes (system menu, keyboard, double click).
      if (command == SC_MAXIMIZE && !design_.maximiseBox) return 0;
      if (command == SC_SIZE && design_.frame != Frame::kResizable) return 0;
      break;
    }
    case WM_NCLBUTTONDBLCLK:
      if (wParam == HTCAPTION && !design_.maximiseBox) return 0;
      break;
    case DM_GETDEFID:
      // Enter presses the button that has the focus, as in a dialog.
      if (const Control* focused = FindByHandle(GetFocus());
          focused != nullptr && focused->design->type == ControlType::kButton) {
        return MAKELRESULT(focused->id, DC_HASDEFID);
      }
      return 0;
    case WM_ACTIVATE:
      // As a dialog does: the focus goes back to the control that had it when the window was
      // left, or to the first control that takes it.
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(handle, focus)) lastFocus_ = focus;
      } else if (!HIWORD(wParam)) {
        HWND target = lastFocus_;
        if (target == nullptr || !IsChild(handle, target) || !IsWindowVisible(target) ||
            !IsWindowEnabled(target)) {
          target = GetNextDlgTabItem(handle, nullptr, FALSE);
        }
        SetFocus(target != nullptr ? target : handle);
      }
      return 0;
    case WM_DPICHANGED:
      HandleDpiChange(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE && design_.escapeCloses) {
        PostMessageW(handle, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      RaiseSimple({}, EventKind::kMouseMove, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONDOWN:
      RaiseSimple({}, EventKind::kLeftDown, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      RaiseSimple({}, EventKind::kLeftUp, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      RaiseSimple({}, EventKind::kDoubleClick, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case kDeliverDropsMessage:
      DeliverDrops();
      return 0;
    case WM_CLOSE:
      // Other windows come back before this one goes, so the activation returns to them.
      if (modal_) EnableOtherWindows();
      DestroyWindow(handle);
      return 0;
    case WM_DESTROY:
      RaiseSimple({}, EventKind::kDestroying);
      for (Control& control : controls_) {
        if (control.drop) control.drop->Revoke();
      }
      if (modal_) EnableOtherWindows();
      return 0;
    case WM_NCDESTROY: {
      const LRESULT result = DefWindowProcW(handle, message, wParam, lParam);
      OnNativeDestroyed();
      return result;
    }
    default:
      break;
  }
  return DefWindowProcW(handle, message, wParam, lParam);
}

void Window::HandleCommand(WPARAM wParam, LPARAM lParam) {
  HWND from = reinterpret_cast<HWND>(lParam);
  if (from == nullptr) {
    // Esc pressed on a control that does not take it (through the dialog navigation).
    if (LOWORD(wParam) == IDCANCEL && design_.escapeCloses) PostMessageW(handle_, WM_CLOSE, 0, 0);
    // Enter on a focused button (the navigation finds only the window's direct children by
    // number, so a button inside a page or group box comes without its handle).
    if (HIWORD(wParam) == BN_CLICKED) {
      for (Control& control : controls_) {
        if (control.id == LOWORD(wParam) && control.handle != nullptr) from = control.handle;
      }
    }
    if (from == nullptr) return;
  }
  Control* control = FindByHandle(from);
  if (control == nullptr) return;
  const std::string_view name = control->design->name;
  switch (HIWORD(wParam)) {
    case BN_CLICKED:
      if (control->design->type == ControlType::kButton ||
          control->design->type == ControlType::kRadioButton) {
        RaiseSimple(name, EventKind::kClick);
      }
      break;
    case EN_CHANGE:
      if (control->design->type == ControlType::kEditBox) {
        RaiseSimple(name, EventKind::kContentChanged);
      }
      break;
    default:
      break;
  }
}

LRESULT Window::HandleControlColour(UINT message, HDC dc, HWND from) {
  Control* control = FindByHandle(from);
  if (control != nullptr) {
    const ControlDesign& design = *control->design;
    const std::optional<Colour> text =
        control->textColour ? control->textColour : design.textColour;
    if (design.type == ControlType::kTransparentLabel) {
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, text ? ToColorRef(*text) : GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    if (text || design.backColour) {
      if (text) SetTextColor(dc, ToColorRef(*text));
      const COLORREF back = design.backColour            ? ToColorRef(*design.backColour)
                            : message == WM_CTLCOLOREDIT ? GetSysColor(COLOR_WINDOW)
                                                         : GetSysColor(COLOR_BTNFACE);
      SetBkColor(dc, back);
      return reinterpret_cast<LRESULT>(BrushFor(back));
    }
  }
  return DefWindowProcW(handle_, message, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(from));
}

void Window::HandleDpiChange(int dpi, const RECT* suggested) {
  if (dpi <= 0) return;
  dpi_ = dpi;
  // The old fonts stay alive until every control has its new one.
  std::vector<std::pair<FontDesign, win::Font>> old;
  old.swap(fonts_);
  if (suggested != nullptr) {
    SetWindowPos(handle_, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    RECT now;
    GetWindowRect(handle_, &now);
    const SIZE size = ScaledOuterSize({design_.width, design_.height}, WindowStyle(design_),
                                      WindowExStyle(design_), dpi_);
    SetWindowPos(handle_, nullptr, now.left, now.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // Fonts before geometry: the tabs' height depends on their font.
  ApplyFonts();
  LayoutControls();
  LoadIcons();
  InvalidateRect(handle_, nullptr, TRUE);
}

void Window::OnNativeDestroyed() {
  SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
  handle_ = nullptr;
  for (Control& control : controls_) {
    control.handle = nullptr;
    control.pages.clear();
    if (control.dialog) control.dialog->SetOwner(nullptr);
  }
  // The controls are gone: their fonts, brushes and the icons can go too.
  fonts_.clear();
  brushes_.clear();
  bigIcon_.reset();
  smallIcon_.reset();
  drops_.clear();
  if (modal_) EnableOtherWindows();
}

LRESULT CALLBACK Window::ControlProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR data) {
  auto* window = reinterpret_cast<Window*>(data);
  switch (message) {
    case WM_KEYDOWN:
      // Esc closes the window from any control inside it.
      if (wParam == VK_ESCAPE && window->design_.escapeCloses) {
        PostMessageW(window->handle_, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == VK_ESCAPE && window->design_.escapeCloses) return 0;
      break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK: {
      const std::string_view name = window->ControlName(handle);
      const EventKind kind = message == WM_MOUSEMOVE     ? EventKind::kMouseMove
                             : message == WM_LBUTTONDOWN ? EventKind::kLeftDown
                             : message == WM_LBUTTONUP   ? EventKind::kLeftUp
                                                         : EventKind::kDoubleClick;
      if (!name.empty() && window->HasHandler(name, kind)) {
        Event event{*window, name, kind, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        window->Raise(event);
        if (event.skipDefault) return 0;
      }
      break;
    }
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      // A group box passes its children's notifications on to the window, which handles them
      // for every control.
      if (window->FindByHandle(reinterpret_cast<HWND>(lParam)) != nullptr) {
        return SendMessageW(window->handle_, message, wParam, lParam);
      }
      break;
    case WM_NOTIFY:
      if (window->FindByHandle(reinterpret_cast<const NMHDR*>(lParam)->hwndFrom) != nullptr) {
        return SendMessageW(window->handle_, message, wParam, lParam);
      }
      break;
    case WM_ERASEBKGND:
      if (const Control* control = window->FindByHandle(handle);
          control != nullptr && control->design->type == ControlType::kGroupBox) {
        // A group box holds controls: it paints the background under them itself.
        RECT client;
        GetClientRect(handle, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(handle, &Window::ControlProc, kSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(handle, message, wParam, lParam);
}

LRESULT CALLBACK Window::PageProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
      HWND root = GetAncestor(handle, GA_ROOT);
      if (root != nullptr && root != handle) return SendMessageW(root, message, wParam, lParam);
      break;
    }
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(handle, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    default:
      break;
  }
  return DefWindowProcW(handle, message, wParam, lParam);
}

}  // namespace lumenta::ui
