// The service setting: the entry url of section service in key.ini, read with the ANSI profile
// functions like the keys beside it, and never written.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/credentials_win.h"
#include "app/local_service.h"
#include "app/local_service_win.h"
#include "app/recognition_win.h"

namespace lumenta {
namespace {

class KeyFile {
 public:
  explicit KeyFile(const std::string& content)
      : path_(std::filesystem::temp_directory_path() /
              (L"lumenta-key-" + std::to_wstring(GetCurrentProcessId()) + L".ini")) {
    std::ofstream(path_, std::ios::binary) << content;
  }
  ~KeyFile() { std::filesystem::remove(path_); }
  Text AnsiPath() const {
    const std::wstring wide = path_.wstring();
    return app::AnsiPath(std::u16string(wide.begin(), wide.end()));
  }
  std::string Content() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::filesystem::path path_;
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
    const Text setting = app::ConfiguredServiceSetting(file.AnsiPath());
    EXPECT_EQ(app::ServiceLocatorForSetting(setting)().base, base) << content;
    EXPECT_EQ(file.Content(), content);  // read, never written
  }
}

TEST(ServiceSetting, AMissingFileMeansTheCloudHost) {
  const Text setting = app::ConfiguredServiceSetting("Z:\\no\\such\\folder\\key.ini");
  EXPECT_EQ(setting, "");
  EXPECT_EQ(app::ServiceLocatorForSetting(setting)().base, "https://aip.baidubce.com");
}

TEST(ServiceSetting, LocalChoosesTheProgramsOwnService) {
  KeyFile file("[key]\r\nak=\r\nsk=\r\n[service]\r\nurl = Local \r\n");
  EXPECT_TRUE(app::IsLocalServiceSetting(app::ConfiguredServiceSetting(file.AnsiPath())));
}

}  // namespace
}  // namespace lumenta
