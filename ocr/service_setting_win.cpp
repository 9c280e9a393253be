#include "ocr/service_setting_win.h"

#include <windows.h>

#include <vector>

#include "ocr/recognition_flow.h"
#include "ocr/text_encoders.h"

namespace lumenta {

std::wstring ProgramKeyFilePath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return L"key.ini";
    if (length < path.size()) {
      std::wstring file(path.data(), length);
      return file.substr(0, file.find_last_of(L"\\/") + 1) + L"key.ini";
    }
    path.resize(path.size() * 2);  // a long path (\\?\ form): try again with more room
  }
}

Text ConfiguredServiceBase(const std::wstring& keyFilePath) {
  // The wide function reads the file's bytes in the system code page; an address is ASCII.
  wchar_t value[2048] = {};
  GetPrivateProfileStringW(L"service", L"url", L"", value, 2048, keyFilePath.c_str());
  return ServiceBaseFromSetting(Utf16ToGbk(reinterpret_cast<const char16_t*>(value)));
}

}  // namespace lumenta
