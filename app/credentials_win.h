#pragma once
// Loading and saving the two keys of the main window (编辑框1, 编辑框2) from and to key.ini.
#include <string>
#include <string_view>

#include "base/text.h"
#include "ui/window_win.h"

namespace lumenta::app {

// The full path of the running program file.
[[nodiscard]] std::u16string ProgramPath();
// key.ini in the folder of the program file (not the current directory).
[[nodiscard]] std::u16string KeyFilePath();

// A path as the ANSI functions take it: in the system's ANSI code page, or, when the path has
// characters that code page lacks, with its folder in the short (8.3) form, which has none.
[[nodiscard]] Text AnsiPath(const std::u16string& path);

// One entry read with the private-profile reader into a 10,240-character buffer (at most 10,239
// characters come back). File, section and key lose their leading codes 1 to 32 first; if one of
// them is then empty the result is empty and the file is not touched. Missing file, section or
// entry: empty.
[[nodiscard]] Text ReadProfileEntry(std::string_view file, std::string_view section,
                                    std::string_view key);
// Writes one entry (creating the file and the section when missing); false when the write failed.
[[nodiscard]] bool WriteProfileEntry(std::string_view file, std::string_view section,
                                     std::string_view key, std::string_view value);

// Fills 编辑框1 from "ak" and then 编辑框2 from "sk" of `file`.
void LoadKeys(ui::Window& main, std::string_view file);
// Writes "ak" from 编辑框1, then "sk" from 编辑框2; false when either write failed. The boxes
// keep their text either way.
[[nodiscard]] bool SaveKeys(const ui::Window& main, std::string_view file);
// SaveKeys, then, when it failed, the message "保存失败，请检查程序目录是否可写！". A good save
// stays silent.
void SaveKeysOrReport(const ui::Window& main, std::string_view file);

// Handler of the click on 按钮_保存key: saves the keys to KeyFilePath().
void SaveKeysClicked(ui::Event& event);

}  // namespace lumenta::app
