#pragma once
// The click on 按钮_查找 ("docx查找"): looks for the text of 编辑框_识别结果 in "vorel.docx" of the
// current working directory through the word processor and colours every match red.
#include "app/word_automation_win.h"
#include "ui/window_win.h"

namespace lumenta::app {

// Runs one search with `word` for the result box of `main`. A click that arrives while a search
// waits for the word processor (the wait keeps processing messages) is ignored.
void SearchDocument(WordAutomation& word, ui::Window& main);

// Handler of the click on 按钮_查找: SearchDocument with the program's WordAutomation.
void SearchDocumentClicked(ui::Event& event);

// The messages of the search.
inline constexpr char kEnterSearchTextMessage[] =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xD2\xAA\xB2\xE9\xD5\xD2\xB5\xC4\xC4\xDA\xC8\xDD\xA3\xA1";  // 请输入要查找的内容！
inline constexpr char kNotFoundMessage[] =
    "\xCE\xB4\xD5\xD2\xB5\xBD\xD6\xB8\xB6\xA8\xB5\xC4\xC4\xDA\xC8\xDD\xA3\xA1";  // 未找到指定的内容！

}  // namespace lumenta::app
