// The rules of the program's own OCR service: the setting that chooses it, the address read from
// what it prints, and the messages a user sees when it cannot start.
#include "app/local_service.h"

#include <gtest/gtest.h>

#include "base/text_encoders.h"

namespace lumenta::app {
namespace {

TEST(LocalServiceSetting, IsTheWordLocalInAnyCaseWithBlanksAround) {
  const std::pair<const char*, bool> cases[] = {
      {"local", true},
      {"LOCAL", true},
      {" Local\t", true},
      {"", false},
      {"locale", false},
      {"loca", false},
      {"http://local", false},
      {"lo cal", false},
      {"http://127.0.0.1:8080", false},
  };
  for (const auto& [setting, local] : cases)
    EXPECT_EQ(IsLocalServiceSetting(setting), local) << setting;
}

TEST(LocalServiceOutput, ThePortComesFromTheWholeListeningLine) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"ocrd listening on http://127.0.0.1:49152\n", 49152},
      {"ocrd listening on http://127.0.0.1:8080\r\n", 8080},  // the Windows runtime's line end
      {"warming up\nocrd listening on http://127.0.0.1:1\nocrd: 2 engine(s)\n", 1},
      {"ocrd listening on http://127.0.0.1:4915", std::nullopt},  // still being written
      {"", std::nullopt},
      {"ocrd: cannot listen on 127.0.0.1 port 0\n", std::nullopt},
      {"ocrd listening on http://127.0.0.1:\n", std::nullopt},
      {"ocrd listening on http://127.0.0.1:0\n", std::nullopt},
      {"ocrd listening on http://127.0.0.1:65536\n", std::nullopt},
      {"ocrd listening on http://127.0.0.1:80x\n", std::nullopt},
      {"ocrd listening on http://0.0.0.0:8080\n", std::nullopt},  // not on loopback: not ours
      {"  ocrd listening on http://127.0.0.1:8080\n", std::nullopt},
  };
  for (const auto& [output, port] : cases) EXPECT_EQ(ListeningPort(output), port) << output;
  EXPECT_EQ(LocalServiceBase(49152), "http://127.0.0.1:49152");
}

TEST(LocalServiceMessages, NameWhatIsMissingOrWhyTheServiceEnded) {
  EXPECT_EQ(AnsiToUtf8(MissingFilesMessage({"onnxruntime.dll", "models\\ppocr_keys_v1.txt"})),
            "本地识别服务无法启动，程序目录中缺少：onnxruntime.dll、models\\ppocr_keys_v1.txt");
  const std::pair<const char*, const char*> ended[] = {
      {"ocrd: the PP-OCR models cannot be used: C:\\L\\models\\a.onnx cannot be loaded\r\n",
       "本地识别服务无法启动：the PP-OCR models cannot be used: C:\\L\\models\\a.onnx cannot be "
       "loaded"},
      {"something\nocrd: first\nlater words\n", "本地识别服务无法启动：first"},
      {"a crash report\n\n", "本地识别服务无法启动：a crash report"},
      {"", "本地识别服务启动后立即退出了。"},
      {"\r\n \n", "本地识别服务启动后立即退出了。"},
  };
  for (const auto& [output, message] : ended) {
    EXPECT_EQ(AnsiToUtf8(ServiceEndedMessage(output)), message) << output;
  }
  EXPECT_EQ(AnsiToUtf8(ServiceTooSlowMessage()), "本地识别服务在 15 秒内没有启动。");
  EXPECT_EQ(AnsiToUtf8(ServiceNotRunMessage(5)), "无法运行 lumenta-ocrd.exe（错误 5）。");
}

TEST(LocalServiceFiles, AreTheProgramItsRuntimeAndTheModelsItLoads) {
  const std::vector<std::string>& files = LocalServiceFiles();
  ASSERT_FALSE(files.empty());
  EXPECT_EQ(files.front(), "lumenta-ocrd.exe");
  EXPECT_NE(std::find(files.begin(), files.end(), "onnxruntime.dll"), files.end());
}

}  // namespace
}  // namespace lumenta::app
