#include "ui/common_dialog_win.h"

#include <commdlg.h>

#include <string>
#include <utility>
#include <vector>

#include "base/text_encoders.h"

namespace lumenta::ui {
namespace {

FileDialogRunner& Runner() {
  static FileDialogRunner runner;
  return runner;
}

// Room for a long path typed or chosen in the dialog (the system's limit for a path).
constexpr size_t kFileBufferChars = 32768;

const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

}  // namespace

FileDialogRunner SetFileDialogRunner(FileDialogRunner runner) {
  return std::exchange(Runner(), std::move(runner));
}

std::optional<Text> RunSystemFileDialog(const FileDialogRequest& request) {
  // The filter as the dialog wants it: each text and pattern ends in a zero, the list in two.
  std::u16string filter;
  for (const FilterEntry& entry : SplitDialogFilter(request.filter)) {
    filter += entry.text;
    filter += u'\0';
    filter += entry.pattern;
    filter += u'\0';
  }
  filter += u'\0';
  const bool hasFilter = filter.size() > 1;

  std::vector<wchar_t> file(kFileBufferChars, L'\0');
  const std::u16string start = TextToUtf16(request.fileName);
  for (size_t i = 0; i < start.size() && i + 1 < file.size(); ++i) {
    file[i] = static_cast<wchar_t>(start[i]);
  }
  const std::u16string title = TextToUtf16(request.title);
  const std::u16string folder = TextToUtf16(request.initialFolder);
  std::u16string extension = TextToUtf16(request.defaultExtension);
  if (!extension.empty() && extension.front() == u'.') extension.erase(0, 1);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = request.owner;
  dialog.lpstrFilter = hasFilter ? Wide(filter) : nullptr;
  dialog.nFilterIndex =
      hasFilter ? static_cast<DWORD>(request.filterIndex < 1 ? 1 : request.filterIndex) : 0;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrInitialDir = folder.empty() ? nullptr : Wide(folder);
  dialog.lpstrTitle = title.empty() ? nullptr : Wide(title);
  dialog.lpstrDefExt = extension.empty() ? nullptr : Wide(extension);
  // The current directory stays where it is: other operations look for files in it.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
  BOOL confirmed;
  if (request.kind == DialogKind::kOpenFile) {
    dialog.Flags |= OFN_FILEMUSTEXIST;
    confirmed = GetOpenFileNameW(&dialog);
  } else {
    dialog.Flags |= OFN_OVERWRITEPROMPT;
    confirmed = GetSaveFileNameW(&dialog);
  }
  if (!confirmed) return std::nullopt;
  file.back() = L'\0';
  return Utf16ToGbk(reinterpret_cast<const char16_t*>(file.data()));
}

bool CommonDialog::Show() {
  FileDialogRequest request;
  request.kind = kind_;
  request.owner = owner_;
  request.title = title_;
  request.filter = filter_;
  request.filterIndex = filterIndex_;
  request.initialFolder = initialFolder_;
  request.fileName = fileName_;
  request.defaultExtension = defaultExtension_;
  // A copy of the runner: it may replace itself while the dialog is up.
  FileDialogRunner runner = Runner();
  std::optional<Text> chosen = runner ? runner(request) : RunSystemFileDialog(request);
  if (!chosen) return false;
  fileName_ = std::move(*chosen);
  return true;
}

}  // namespace lumenta::ui
