// The message box of the Windows builds.
#include <windows.h>

#include "base/text_encoders.h"
#include "ui/message_box.h"

namespace lumenta::ui {

void ShowSystemMessage(std::string_view text) {
  const std::u16string message = TextToUtf16(text);
  // "信息：" (information:) as UTF-16.
  static const wchar_t kTitle[] = {0x4FE1, 0x606F, 0xFF1A, 0};
  MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(message.c_str()), kTitle,
              MB_OK | MB_TASKMODAL);
}

}  // namespace lumenta::ui
