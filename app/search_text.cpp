#include "app/search_text.h"

namespace lumenta::app {
namespace {

constexpr char16_t kDocumentName[] = u"vorel.docx";

// A lead byte of 0x80 or above starts a two-byte character (a lone one at the end stays one).
size_t CharacterLength(std::string_view text, size_t at) {
  return static_cast<unsigned char>(text[at]) >= 0x80 && at + 1 < text.size() ? 2 : 1;
}

bool IsBlank(std::string_view character) { return character == " " || character == "\xA1\xA1"; }

}  // namespace

Text TrimSearchText(std::string_view text) {
  text = AsText(text);
  size_t begin = 0;
  size_t end = 0;  // end of the last character that is not blank
  bool seenContent = false;
  for (size_t at = 0; at < text.size();) {
    const size_t length = CharacterLength(text, at);
    if (!IsBlank(text.substr(at, length))) {
      if (!seenContent) begin = at;
      seenContent = true;
      end = at + length;
    }
    at += length;
  }
  return seenContent ? Text(text.substr(begin, end - begin)) : Text();
}

std::u16string DocumentPathIn(std::u16string_view directory) {
  std::u16string path(directory);
  if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path += u'\\';
  if (path.empty()) path = u".\\";
  return path + kDocumentName;
}

}  // namespace lumenta::app
