#include "app/credentials_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/credentials.h"
#include "app/main_window_controls.h"
#include "base/codepage.h"
#include "ui/message_box.h"

namespace lumenta::app {

std::u16string ProgramPath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  while (true) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length);
    }
    // Truncated: long paths can be up to 32,767 characters.
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::u16string KeyFilePath() { return KeyFileInFolder(FolderOf(ProgramPath())); }

Text AnsiPath(const std::u16string& path) {
  const unsigned codePage = codepage::SystemAnsiCodePage();
  const auto* wide = reinterpret_cast<const wchar_t*>(path.c_str());
  BOOL lost = FALSE;
  const int needed = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide,
                                         static_cast<int>(path.size()), nullptr, 0, nullptr, &lost);
  if (needed > 0 && !lost) {
    Text bytes(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, static_cast<int>(path.size()),
                        bytes.data(), needed, nullptr, nullptr);
    return bytes;
  }
  // The file itself may not exist yet: shorten its folder, which does.
  const std::u16string_view folder = FolderOf(path);
  const std::u16string name(path.substr(folder.size()));
  const std::u16string folderText(folder);
  const auto* folderWide = reinterpret_cast<const wchar_t*>(folderText.c_str());
  const DWORD shortLength = GetShortPathNameW(folderWide, nullptr, 0);
  if (shortLength == 0) return codepage::FromUtf16(path, codePage);
  std::vector<wchar_t> shortFolder(shortLength);
  GetShortPathNameW(folderWide, shortFolder.data(), shortLength);
  std::u16string shortened(reinterpret_cast<const char16_t*>(shortFolder.data()));
  shortened += name;
  return codepage::FromUtf16(shortened, codePage);
}

Text ReadProfileEntry(std::string_view file, std::string_view section, std::string_view key) {
  const std::string fileName(StripLeadingControlCodes(file));
  const std::string sectionName(StripLeadingControlCodes(section));
  const std::string keyName(StripLeadingControlCodes(key));
  if (fileName.empty() || sectionName.empty() || keyName.empty()) return {};
  std::vector<char> buffer(kProfileBufferChars, '\0');
  const DWORD length =
      GetPrivateProfileStringA(sectionName.c_str(), keyName.c_str(), "", buffer.data(),
                               static_cast<DWORD>(buffer.size()), fileName.c_str());
  return Text(buffer.data(), std::min<size_t>(length, buffer.size() - 1));
}

bool WriteProfileEntry(std::string_view file, std::string_view section, std::string_view key,
                       std::string_view value) {
  const std::string fileName(file);
  const std::string sectionName(section);
  const std::string keyName(key);
  const std::string valueText(AsText(value));
  return WritePrivateProfileStringA(sectionName.c_str(), keyName.c_str(), valueText.c_str(),
                                    fileName.c_str()) != FALSE;
}

void LoadKeys(ui::Window& main, std::string_view file) {
  main.SetText(main_window::kApiKeyBox, ReadProfileEntry(file, kKeySection, kApiKeyEntry));
  main.SetText(main_window::kSecretKeyBox, ReadProfileEntry(file, kKeySection, kSecretKeyEntry));
}

bool SaveKeys(const ui::Window& main, std::string_view file) {
  // Both entries are written even when the first write fails: the second may still succeed
  // (a file that became writable), and the order stays "ak" then "sk".
  const bool apiKeySaved =
      WriteProfileEntry(file, kKeySection, kApiKeyEntry, main.GetText(main_window::kApiKeyBox));
  const bool secretKeySaved = WriteProfileEntry(file, kKeySection, kSecretKeyEntry,
                                                main.GetText(main_window::kSecretKeyBox));
  return apiKeySaved && secretKeySaved;
}

void SaveKeysOrReport(const ui::Window& main, std::string_view file) {
  if (!SaveKeys(main, file)) ui::ShowMessage(kSaveFailedMessage);
}

void SaveKeysClicked(ui::Event& event) { SaveKeysOrReport(event.window, AnsiPath(KeyFilePath())); }

}  // namespace lumenta::app
