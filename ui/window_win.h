#pragma once
// A live window made from a design (ui/design.h), with its controls addressed by name.
//
//   auto window = ui::Window::Create(MainWindowDesign(), MainWindowEvents());
//   window->SetText("编辑框1", key);                  // edit box text, GBK
//   window->AppendText("编辑框_识别结果", line);      // caret to the end, scrolled, inserted
//   ByteBuffer picture = window->GetPicture("图片框1");
//   if (window->IsChecked("单选框_普通")) ...
//   window->Dialog("通用对话框1")->Show();
//   ui::Window::LoadModal(SponsorWindowDesign());     // returns when the window is closed
//
// Events are bound by (control name, event kind); the name "" means the window itself. Handlers
// are plain functions of the program (or any callable) that receive the Event. An operation on a
// name the window does not have does nothing (reads give empty results); it is reported to the
// debugger output, since it is a mistake in the program.
//
// Native windows: the runtime keeps its Window object in the GWLP_USERDATA slot of the top-level
// window and subclasses every control (SetWindowSubclass). A window that needs messages of its
// own (painting, cursors, raw mouse input) sets a message filter instead of replacing the window
// procedure. Esc closes a window whose design says so, whichever control has the focus.
//
// Threading: everything runs on the user-interface thread that created the window.
#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "ui/common_dialog_win.h"
#include "ui/design.h"
#include "ui/drop_target_win.h"
#include "win/com_win.h"
#include "win/gdi_win.h"

namespace lumenta::ui {

class Window;

enum class EventKind {
  kCreated,         // window: once, after the window and all its controls exist
  kDestroying,      // window: about to be destroyed (its controls still exist)
  kClick,           // button or radio button pressed
  kContentChanged,  // edit box: its text changed
  kMouseMove,       // window or control; x, y in its client coordinates
  kLeftDown,
  kLeftUp,
  kDoubleClick,
  kFilesDropped,  // drop target: text = the path, or every path followed by CR LF
  kLinkDropped,   // drop target: text = the address
  kHtmlDropped,   // drop target: text = the HTML clipboard text
  kTextDropped,   // drop target: text = the text
};

struct Event {
  Window& window;
  std::string_view control;  // empty: the window itself
  EventKind kind;
  int x = 0;
  int y = 0;
  Text text;
  // A handler of a control's mouse event sets this to keep the control's own handling of the
  // message from running.
  bool skipDefault = false;
};

using EventHandler = std::function<void(Event& event)>;

struct EventBinding {
  std::string_view control;  // empty: the window
  EventKind kind;
  EventHandler handler;
};

// Sees each message of a top-level window before the runtime handles it: a value is the
// message's result and ends it there; std::nullopt passes it on to the runtime's handling.
using MessageFilter = std::function<std::optional<LRESULT>(UINT message, WPARAM, LPARAM)>;

class Window {
 public:
  // Creates the window (hidden) and every control in its start state, binds `events` and raises
  // the created event. The design must outlive the window. nullptr when the design has problems
  // (FindDesignProblems) or the system refuses the window.
  [[nodiscard]] static std::unique_ptr<Window> Create(const WindowDesign& design,
                                                      std::vector<EventBinding> events = {});
  // Creates the window from its design, shows it modally and returns when it has been closed;
  // the window is destroyed by then.
  static void LoadModal(const WindowDesign& design, std::vector<EventBinding> events = {});

  // Destroys the native window if it is still open.
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // Shows the window and makes it the active window.
  void Show();
  // Shows the window modally: every other window of the thread is disabled until this one is
  // closed; returns when it is closed (the window is destroyed by then).
  void ShowModal();
  // Runs the message loop until this window is closed; returns 0, or the exit code of a
  // WM_QUIT that arrived first.
  int RunMessageLoop();
  // Closes the window as its close button does.
  void Close();
  [[nodiscard]] bool IsOpen() const { return handle_ != nullptr; }

  [[nodiscard]] HWND handle() const { return handle_; }
  [[nodiscard]] const WindowDesign& design() const { return design_; }
  [[nodiscard]] int dpi() const { return dpi_; }

  // The native window of a control (nullptr for unknown names and invisible components).
  [[nodiscard]] HWND ControlHandle(std::string_view name) const;
  // The names asked for that the design lacks, in the order they were asked for. Every control
  // operation on such a name does nothing (and says so on the debugger's output); the tests look
  // here so that a misspelt name fails them.
  [[nodiscard]] const std::vector<std::string>& UnknownLookups() const { return unknownLookups_; }
  // The control's numeric identifier (unique within the program), or 0.
  [[nodiscard]] int ControlId(std::string_view name) const;
  // The name of the control with this native window, or "".
  [[nodiscard]] std::string_view ControlName(HWND control) const;

  // The whole text of an edit box (or the caption of another control), GBK.
  [[nodiscard]] Text GetText(std::string_view name) const;
  // Replaces the text of an edit box (or the caption of another control).
  void SetText(std::string_view name, std::string_view text);
  // Appends to an edit box: the caret goes after the last character and is scrolled into view,
  // then the text is inserted at the caret.
  void AppendText(std::string_view name, std::string_view text);

  // The picture bytes of a picture box, exactly as they were stored.
  [[nodiscard]] ByteBuffer GetPicture(std::string_view name) const;
  // The same bytes without copying them (never null); a later SetPicture does not change them.
  [[nodiscard]] SharedBytes SharePicture(std::string_view name) const;
  // Stores picture bytes unchanged (an empty buffer clears the box) and repaints the box.
  void SetPicture(std::string_view name, ByteBuffer bytes);

  [[nodiscard]] bool IsChecked(std::string_view name) const;
  // Checking a radio button unchecks the others of its container.
  void SetChecked(std::string_view name, bool checked);

  // Run-time changes of a control's look: the text colour of an edit box or label, and the size
  // of a control's font in points (its face and weight stay as designed).
  void SetTextColour(std::string_view name, Colour colour);
  void SetFontSize(std::string_view name, int points);

  // Gives the keyboard focus to a control (its page is shown first if it is hidden).
  void FocusControl(std::string_view name);

  // The 1-based page shown by a page control, or 0.
  [[nodiscard]] int CurrentPage(std::string_view name) const;
  // Shows a page of a page control, as a click on its tab does.
  void SelectPage(std::string_view name, int page);

  // The components of the window (nullptr for unknown names).
  [[nodiscard]] CommonDialog* Dialog(std::string_view name);
  [[nodiscard]] DropTarget* Drop(std::string_view name);

  // Replaces the window's message filter (an empty one removes it). The filter sees every
  // message from its setting on, up to WM_NCDESTROY, which the runtime handles whatever the
  // filter answers.
  void SetMessageFilter(MessageFilter filter) { filter_ = std::move(filter); }

  // Binds one more handler; handlers of one event run in the order they were bound.
  void Bind(std::string_view control, EventKind kind, EventHandler handler);
  // Runs the handlers bound to the event's control and kind; false when there are none.
  bool Raise(Event& event);
  [[nodiscard]] bool HasHandler(std::string_view control, EventKind kind) const;

 private:
  struct Control {
    const ControlDesign* design = nullptr;
    int id = 0;
    HWND handle = nullptr;
    std::vector<HWND> pages;  // page control: one panel per page
    std::unique_ptr<CommonDialog> dialog;
    win::ComPtr<DropTarget> drop;
    std::optional<Colour> textColour;  // set at run time, over the design's
    int fontPoints = 0;                // set at run time: the font's size in points (0: design)
  };
  struct PendingDrop {
    std::string_view control;
    DropKind kind;
    Text text;
  };

  Window(const WindowDesign& design, std::vector<EventBinding> events);
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK ControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  static LRESULT CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM);
  static bool RegisterClasses();
  static BOOL CALLBACK CollectEnabledWindow(HWND other, LPARAM data);

  bool CreateNative();
  bool CreateControl(size_t index);
  void PlaceWindow(bool centre);
  void LayoutControls();
  void ApplyFonts();
  void LoadIcons();
  HFONT FontFor(const ControlDesign& control, int points = 0);
  HBRUSH BrushFor(COLORREF colour);
  HWND NativeParentOf(const ControlDesign& control, POINT& offset) const;
  RECT PanelRect(HWND pageControl) const;
  void ShowPage(Control& control, int page);
  void DisableOtherWindows();
  void EnableOtherWindows();
  void RaiseSimple(std::string_view control, EventKind kind, int x = 0, int y = 0);
  void QueueDrop(std::string_view control, DropKind kind, Text text);
  void DeliverDrops();

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleControlColour(UINT message, HDC dc, HWND control);
  void HandleCommand(WPARAM wParam, LPARAM lParam);
  void HandleDpiChange(int dpi, const RECT* suggested);
  void OnNativeDestroyed();

  Control* Find(std::string_view name);
  const Control* Find(std::string_view name) const;
  Control* FindByHandle(HWND handle);

  const WindowDesign& design_;
  std::vector<EventBinding> events_;
  MessageFilter filter_;
  std::vector<Control> controls_;  // in design order
  HWND handle_ = nullptr;
  int dpi_ = 96;
  mutable std::vector<std::string> unknownLookups_;  // see UnknownLookups
  std::vector<std::pair<FontDesign, win::Font>> fonts_;
  std::map<COLORREF, win::Brush> brushes_;
  win::Icon bigIcon_;
  win::Icon smallIcon_;
  HWND lastFocus_ = nullptr;
  bool modal_ = false;
  std::vector<HWND> disabled_;
  std::deque<PendingDrop> drops_;
};

// The runtime window whose native top-level window is `handle` (nullptr for other windows).
[[nodiscard]] Window* WindowFromHandle(HWND handle);

}  // namespace lumenta::ui
