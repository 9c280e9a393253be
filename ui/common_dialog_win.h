#pragma once
// The common dialog component (通用对话框): an invisible part of a window that shows the system's
// open-file or save-file dialog. Its properties are set by the code that uses it; the file name
// is kept between uses and changes only when the user confirms a choice.
//
// The dialog itself runs behind a seam so that tests can answer it; the default is the real
// GetOpenFileNameW / GetSaveFileNameW.
#include <windows.h>

#include <functional>
#include <optional>

#include "base/text.h"
#include "ui/design.h"

namespace lumenta::ui {

// What one showing of the dialog is asked to do (texts in GBK).
struct FileDialogRequest {
  DialogKind kind = DialogKind::kOpenFile;
  HWND owner = nullptr;
  Text title;             // empty: the system's title
  Text filter;            // "text|pattern|text|pattern"
  int filterIndex = 1;    // 1-based entry preselected
  Text initialFolder;     // empty: the system's choice
  Text fileName;          // file name shown at start
  Text defaultExtension;  // appended when the user types a name without one; "." optional
};

// The confirmed file name, or nothing when the user cancelled.
using FileDialogRunner = std::function<std::optional<Text>(const FileDialogRequest&)>;

// Replaces the dialog (an empty function restores the system's); returns the previous one.
FileDialogRunner SetFileDialogRunner(FileDialogRunner runner);

// The system's dialog: modal to the owner; does not change the current directory.
[[nodiscard]] std::optional<Text> RunSystemFileDialog(const FileDialogRequest& request);

class CommonDialog {
 public:
  CommonDialog(DialogKind kind, HWND owner) : kind_(kind), owner_(owner) {}

  // Shows the dialog modally. True when the user confirmed a file: fileName() is then the
  // chosen name. On cancel nothing changes.
  [[nodiscard]] bool Show();

  DialogKind kind() const { return kind_; }
  const Text& fileName() const { return fileName_; }
  void SetFileName(Text name) { fileName_ = std::move(name); }
  const Text& filter() const { return filter_; }
  void SetFilter(Text filter) { filter_ = std::move(filter); }
  int filterIndex() const { return filterIndex_; }
  void SetFilterIndex(int index) { filterIndex_ = index; }
  const Text& initialFolder() const { return initialFolder_; }
  void SetInitialFolder(Text folder) { initialFolder_ = std::move(folder); }
  const Text& title() const { return title_; }
  void SetTitle(Text title) { title_ = std::move(title); }
  const Text& defaultExtension() const { return defaultExtension_; }
  void SetDefaultExtension(Text extension) { defaultExtension_ = std::move(extension); }
  HWND owner() const { return owner_; }
  void SetOwner(HWND owner) { owner_ = owner; }

 private:
  DialogKind kind_;
  HWND owner_;
  Text title_;
  Text filter_;
  int filterIndex_ = 1;
  Text initialFolder_;
  Text fileName_;
  Text defaultExtension_;
};

}  // namespace lumenta::ui
