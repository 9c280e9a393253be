#include "tests/app/word_standin_harness_win.h"

#include <objbase.h>
#include <windows.h>

#include <atomic>

#include "app/credentials_win.h"
#include "tests/app/word_standin/standin_identity.h"

namespace lumenta::testing {
namespace {

std::atomic<int> g_logSerial{0};

bool SetDefault(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LONG status =
      RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

std::wstring ClassKey() { return std::wstring(L"CLSID\\") + standin::kClsid; }

}  // namespace

std::wstring ProgramFolder() {
  const std::u16string program = app::ProgramPath();
  const std::wstring path(program.begin(), program.end());
  return path.substr(0, path.find_last_of(L'\\'));
}

bool WordStandIn::Register() {
  const std::wstring dll = ProgramFolder() + L"\\" + standin::kDllName;
  const std::wstring progIdKey = standin::kProgId;
  return SetDefault(progIdKey, nullptr, L"Word processor stand-in for the tests") &&
         SetDefault(progIdKey + L"\\CLSID", nullptr, standin::kClsid) &&
         SetDefault(ClassKey(), nullptr, L"Word processor stand-in for the tests") &&
         SetDefault(ClassKey() + L"\\ProgID", nullptr, progIdKey) &&
         SetDefault(ClassKey() + L"\\InprocServer32", nullptr, dll) &&
         SetDefault(ClassKey() + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
}

void WordStandIn::Unregister() {
  RegDeleteTreeW(HKEY_CLASSES_ROOT, standin::kProgId);
  RegDeleteKeyW(HKEY_CLASSES_ROOT, standin::kProgId);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey().c_str());
  RegDeleteKeyW(HKEY_CLASSES_ROOT, ClassKey().c_str());
}

bool WordStandIn::IsRegistered() {
  CLSID clsid;
  return SUCCEEDED(CLSIDFromProgID(standin::kProgId, &clsid));
}

void WordStandIn::SetWrap(bool on) {
  SetEnvironmentVariableW(standin::kWrapVariable, on ? L"1" : nullptr);
}

void WordStandIn::SetRunFails(bool on) {
  SetEnvironmentVariableW(standin::kRunFailsVariable, on ? L"1" : nullptr);
}

WordStandIn::WordStandIn() {
  const std::wstring dll = ProgramFolder() + L"\\" + standin::kDllName;
  module_ = LoadLibraryW(dll.c_str());
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  logPath_ = std::wstring(temp) + L"lumenta-word-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++g_logSerial) + L".log";
  DeleteFileW(logPath_.c_str());
  SetEnvironmentVariableW(standin::kLogVariable, logPath_.c_str());
  SetWrap(false);
  SetRunFails(false);
  ok_ = module_ != nullptr && Register();
}

WordStandIn::~WordStandIn() {
  Unregister();
  SetEnvironmentVariableW(standin::kLogVariable, nullptr);
  SetWrap(false);
  SetRunFails(false);
  DeleteFileW(logPath_.c_str());
  if (module_) FreeLibrary(static_cast<HMODULE>(module_));
}

std::vector<std::string> WordStandIn::Journal() const {
  std::vector<std::string> lines;
  if (module_) {
    auto flush = reinterpret_cast<standin::FlushJournalFunction>(reinterpret_cast<void*>(
        GetProcAddress(static_cast<HMODULE>(module_), standin::kFlushJournalExport)));
    if (flush) flush();
  }
  HANDLE file = CreateFileW(logPath_.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lines;
  std::string text;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    text.append(buffer, read);
  CloseHandle(file);
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

std::vector<std::string> WordStandIn::JournalLines(const std::string& prefix) const {
  std::vector<std::string> matching;
  for (std::string& line : Journal()) {
    if (line.rfind(prefix, 0) == 0) matching.push_back(std::move(line));
  }
  return matching;
}

long WordStandIn::LiveObjects() const {
  if (!module_) return -1;
  auto count = reinterpret_cast<standin::LiveObjectsFunction>(reinterpret_cast<void*>(
      GetProcAddress(static_cast<HMODULE>(module_), standin::kLiveObjectsExport)));
  return count ? count() : -1;
}

}  // namespace lumenta::testing
