#include "win/wide_win.h"

#include "base/codepage.h"
#include "base/text.h"
#include "base/text_encoders.h"

namespace lumenta::win {

std::wstring WideFromText(std::string_view gbk) { return Wide(TextToUtf16(gbk)); }

std::wstring WideFromUtf8(std::string_view utf8) {
  return Wide(codepage::ToUtf16(AsText(utf8), codepage::kUtf8));
}

}  // namespace lumenta::win
