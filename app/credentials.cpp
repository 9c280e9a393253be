#include "app/credentials.h"

namespace lumenta::app {

std::string_view StripLeadingControlCodes(std::string_view name) {
  size_t start = 0;
  while (start < name.size()) {
    const auto code = static_cast<unsigned char>(name[start]);
    if (code < 1 || code > 32) break;
    ++start;
  }
  return name.substr(start);
}

std::u16string_view FolderOf(std::u16string_view programPath) {
  const size_t slash = programPath.find_last_of(u"\\/");
  return slash == std::u16string_view::npos ? std::u16string_view() : programPath.substr(0, slash);
}

std::u16string KeyFileInFolder(std::u16string_view folder) {
  std::u16string path(folder);
  path += u"\\key.ini";
  return path;
}

}  // namespace lumenta::app
