// The service setting in key.ini, read with the platform's profile functions.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "ocr/service_setting_win.h"

namespace lumenta {
namespace {

class KeyFile {
 public:
  explicit KeyFile(const std::string& content) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    path_ = std::wstring(folder) + L"lumenta-service-setting-" +
            std::to_wstring(GetCurrentProcessId()) + L".ini";
    std::ofstream(std::filesystem::path(path_), std::ios::binary) << content;
  }
  ~KeyFile() { DeleteFileW(path_.c_str()); }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

TEST(ServiceSetting, TheUrlEntryOfSectionServiceReplacesTheCloudHost) {
  const std::pair<const char*, const char*> cases[] = {
      {"[key]\r\nak=a\r\nsk=b\r\n", "https://aip.baidubce.com"},
      {"[key]\r\nak=a\r\n[service]\r\nurl=http://127.0.0.1:8080\r\n", "http://127.0.0.1:8080"},
      {"[service]\r\nurl = http://localhost:9/ \r\n", "http://localhost:9"},
      {"[service]\r\nurl=\r\n", "https://aip.baidubce.com"},
      {"[other]\r\nurl=http://wrong\r\n", "https://aip.baidubce.com"},
  };
  for (const auto& [content, base] : cases) {
    KeyFile file(content);
    EXPECT_EQ(ConfiguredServiceBase(file.path()), base) << content;
  }
}

TEST(ServiceSetting, AMissingFileMeansTheCloudHost) {
  EXPECT_EQ(ConfiguredServiceBase(L"Z:\\no\\such\\folder\\key.ini"), "https://aip.baidubce.com");
}

TEST(ServiceSetting, TheKeyFileLiesBesideTheProgram) {
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  std::wstring expected(program);
  expected = expected.substr(0, expected.find_last_of(L'\\') + 1) + L"key.ini";
  EXPECT_EQ(ProgramKeyFilePath(), expected);
}

TEST(ServiceSetting, ReadingNeverWritesTheFile) {
  KeyFile file("[key]\r\nak=a\r\n");
  (void)ConfiguredServiceBase(file.path());
  std::ifstream in(std::filesystem::path(file.path()), std::ios::binary);
  const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(content, "[key]\r\nak=a\r\n");
}

}  // namespace
}  // namespace lumenta
