#include "app/picture_sources.h"

namespace lumenta::app {

Text DroppedFileToLoad(std::string_view dropText) {
  const std::size_t end = dropText.find("\r\n");
  return Text(end == std::string_view::npos ? dropText : dropText.substr(0, end));
}

Text FolderWithSeparator(std::string_view folder) {
  if (folder.empty()) return Text();
  Text out(folder);
  // A last byte 0x5C ("\") may be the second byte of a GBK character (誠 is D5 5C), so only a
  // separator that stands on its own counts.
  bool endsWithSeparator = false;
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (c >= 0x81 && i + 1 < out.size()) {
      ++i;  // a double-byte character
      endsWithSeparator = false;
    } else {
      endsWithSeparator = c == '\\' || c == '/';
    }
  }
  if (!endsWithSeparator) out += '\\';
  return out;
}

}  // namespace lumenta::app
