// Code-page conversion of the Windows builds: the system's own tables.
#include <windows.h>

#include "base/codepage.h"

namespace lumenta::codepage {

std::u16string ToUtf16(std::string_view bytes, unsigned codePage) {
  if (bytes.empty()) return {};
  const int n = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(codePage, 0, bytes.data(), n, nullptr, 0);
  if (needed <= 0) return {};
  std::u16string out(static_cast<size_t>(needed), u'\0');
  const int written = MultiByteToWideChar(codePage, 0, bytes.data(), n,
                                          reinterpret_cast<wchar_t*>(out.data()), needed);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return out;
}

std::string FromUtf16(std::u16string_view units, unsigned codePage) {
  if (units.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(units.data());
  const int n = static_cast<int>(units.size());
  const int needed = WideCharToMultiByte(codePage, 0, wide, n, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string out(static_cast<size_t>(needed), '\0');
  const int written =
      WideCharToMultiByte(codePage, 0, wide, n, out.data(), needed, nullptr, nullptr);
  out.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return out;
}

unsigned SystemAnsiCodePage() { return GetACP(); }

}  // namespace lumenta::codepage
