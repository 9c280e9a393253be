#include "base/text_encoders.h"
#include "fuzz/fuzz_input.h"

using namespace lumenta;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  for (unsigned cp : {936u, 65001u}) {
    const ByteBuffer wide = CodePageToUtf16(input, cp);
    fuzz::Require(wide.empty() || (wide.size() % 2 == 0 && wide.size() >= 4 &&
                                   wide[wide.size() - 1] == 0 && wide[wide.size() - 2] == 0));
    const ByteBuffer back = Utf16ToCodePage(wide.view(), cp);
    fuzz::Require(back.view().find('\0') == std::string_view::npos);
  }
  // Text that came out of UTF-8 goes back to UTF-8 and comes out the same.
  const Text gbk = Utf8ToAnsi(input);
  fuzz::Require(Utf8ToAnsi(AnsiToUtf8(gbk).view()) == gbk);
  const ByteBuffer wide = CodePageToUtf16(input, 65001);
  const ByteBuffer utf8 = Utf16ToCodePage(wide.view(), 65001);
  fuzz::Require(Utf16ToCodePage(CodePageToUtf16(utf8.view(), 65001).view(), 65001) == utf8);
  return 0;
}
