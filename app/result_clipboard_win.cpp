#include "app/result_clipboard_win.h"

#include <cstring>
#include <string>

#include "base/text.h"
#include "base/text_encoders.h"
#include "win/clipboard_win.h"

namespace lumenta::app {

bool CopyTextToClipboard(HWND owner, std::string_view gbk) {
  const std::string text(AsText(gbk));
  const std::u16string wide = TextToUtf16(text);
  win::ClipboardSession clipboard(owner);
  if (!clipboard.open()) return false;
  EmptyClipboard();
  const bool ansi = clipboard.Place(CF_TEXT, text.c_str(), text.size() + 1);
  const bool unicode =
      clipboard.Place(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
  return ansi && unicode;
}

}  // namespace lumenta::app
