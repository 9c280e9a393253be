#pragma once
// Window designs as data. A design lists a window's properties and, for each control, its type,
// name, container, page, geometry, caption and type-specific properties; the Windows runtime
// (ui/window_win.h) turns a design into a live window. Designs are plain tables so that they can
// be read like the description of the window and checked without a display.
//
// Names and captions are UTF-8 string literals in the source; the runtime converts them for
// display. Geometry is in pixels at 96 DPI, relative to the client area of the container (the
// window, a group box, or the page control); the runtime scales it by the window's DPI.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumenta::ui {

// The control types of the UI toolkit (the words in brackets are the system's own type names).
enum class ControlType {
  kButton,            // 按钮: push button, one click event
  kEditBox,           // 编辑框: single-line, password or multi-line text box
  kPictureBox,        // 图片框: holds the bytes of an image file and shows the picture
  kGroupBox,          // 分组框: captioned frame that contains other controls
  kLabel,             // 标签: static caption on the window's background
  kTransparentLabel,  // 透明标签: caption drawn without background, in its own colour
  kRadioButton,       // 单选框: one of a set; the radio buttons of one container form one set
  kPageControl,       // 高级选择夹: tab control whose pages own controls
  kCommonDialog,      // 通用对话框: invisible; shows the system open or save file dialog
  kDropTarget,  // 拖放对象: invisible; receives files, text and links dropped on the window
};

struct Colour {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kRed{255, 0, 0};

// Left, top, width, height.
struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const Bounds&, const Bounds&) = default;
};

enum class EditKind {
  kSingleLine,
  kPassword,   // single-line, every character shown as "*"
  kMultiLine,  // several lines with a vertical scroll bar; Enter starts a new line
};

enum class Border {
  kNone,
  kSingle,  // single-line frame
  kSunken,  // sunken three-dimensional edge
};

enum class DialogKind { kOpenFile, kSaveFile };

// A font. A zero height means the font of the window (FontDesign of the WindowDesign), whose own
// zero fields fall back to the toolkit's default font.
struct FontDesign {
  std::string_view face;  // empty: the toolkit's default face
  int height = 0;         // logical height at 96 DPI; negative: character height
  int weight = 400;
  int charset = 134;  // GB2312_CHARSET
  friend bool operator==(const FontDesign&, const FontDesign&) = default;
};

// The toolkit's default font: SimSun 9 pt (height -12 at 96 DPI), normal weight, GB2312.
inline constexpr std::string_view kDefaultFontFace = "SimSun";
inline constexpr int kDefaultFontHeight = -12;

struct ControlDesign {
  ControlType type = ControlType::kButton;
  std::string_view name;       // the system's name of the control, unique within its window
  std::string_view container;  // name of the containing group box or page control; empty: window
  int page = 0;                // for children of a page control: the 1-based page that owns them
  Bounds bounds;
  std::string_view caption;  // caption or start text (UTF-8)
  bool visible = true;

  // Edit boxes.
  EditKind edit = EditKind::kSingleLine;
  // Edit boxes and picture boxes.
  Border border = Border::kNone;
  // Text colour of edit boxes and (transparent) labels; background colour of edit boxes. Unset:
  // the system colours.
  std::optional<Colour> textColour;
  std::optional<Colour> backColour;
  // Picture boxes: number of the RCDATA resource of the program whose bytes the box holds from
  // the start; 0: the box starts empty.
  int pictureResource = 0;
  // Radio buttons: checked at start.
  bool checked = false;
  // Font; height 0: the window's font.
  FontDesign font;
  // Page controls: the captions of the pages, in order; the first page is shown at start.
  std::vector<std::string_view> pages;
  // Common dialogs.
  DialogKind dialog = DialogKind::kOpenFile;
  std::string_view filter;            // "text|pattern|text|pattern", UTF-8
  std::string_view defaultExtension;  // e.g. ".bmp"
};

enum class Frame {
  kFixedSingle,  // single border with title bar, not resizable
  kResizable,    // sizing border with title bar
  kNone,         // no border and no title bar
};

enum class Background { kButtonFace, kWhite };

struct WindowDesign {
  int id = 0;              // the window's identifier, unique within the program
  std::string_view name;   // what the program calls the window (for messages and logs)
  std::string_view title;  // UTF-8
  int width = 0;           // outer size at 96 DPI
  int height = 0;
  int left = 0;  // position when not centred
  int top = 0;
  Frame frame = Frame::kFixedSingle;
  bool minimiseBox = true;
  bool maximiseBox = false;
  bool centred = true;
  bool topmost = false;
  bool escapeCloses = true;
  bool inTaskBar = true;
  Background background = Background::kButtonFace;
  int iconResource = 0;  // resource number of the window's own icon; 0: the default icon
  FontDesign font;       // default font of the window's controls
  std::vector<ControlDesign> controls;
};

// The problems that make a design unusable: a missing or repeated control name, a container that
// does not exist or cannot hold controls, a page number that does not fit the page control, a
// negative size. Empty when the design is sound. The runtime refuses to create a window from a
// design with problems.
[[nodiscard]] std::vector<std::string> FindDesignProblems(const WindowDesign& design);

// The problems of binding events to the controls named `bound`: a name the design lacks (the
// empty name stands for the window itself). The runtime refuses to create a window whose events
// are bound to controls it would not have.
[[nodiscard]] std::vector<std::string> FindBindingProblems(
    const WindowDesign& design, const std::vector<std::string_view>& bound);

// The control of `design` called `name`, or nullptr.
[[nodiscard]] const ControlDesign* FindControl(const WindowDesign& design, std::string_view name);

// `value` (pixels at 96 DPI) at `dpi`, rounded to the nearest pixel, halves away from zero.
[[nodiscard]] int ScaleToDpi(int value, int dpi);

// The font a control is created with at 96 DPI: its own, else the window's, else the toolkit's
// default, field by field.
[[nodiscard]] FontDesign EffectiveFont(const WindowDesign& window, const ControlDesign& control);

// Splits a dialog filter "text|pattern|text|pattern" into its entries (UTF-16, the units of the
// GBK text after conversion, so a GBK trail byte 0x7C never splits a character). A trailing text
// without a pattern is dropped; empty parts are kept as they are.
struct FilterEntry {
  std::u16string text;
  std::u16string pattern;
};
[[nodiscard]] std::vector<FilterEntry> SplitDialogFilter(std::string_view gbkFilter);

}  // namespace lumenta::ui
