// The message box of the native build, which has no display: the text goes to standard error.
#include <cstdio>

#include "ui/message_box.h"

namespace lumenta::ui {

void ShowSystemMessage(std::string_view text) {
  // "信息：" in GBK, like the text.
  std::fprintf(stderr, "\xD0\xC5\xCF\xA2\xA3\xBA%.*s\n", static_cast<int>(text.size()),
               text.data());
}

}  // namespace lumenta::ui
