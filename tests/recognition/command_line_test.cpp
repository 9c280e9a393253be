// Lumenta.exe --recognize under Wine against the local OCR service that ctest started beside
// this program (LUMENTA_OCRD_URL): the program is run as a child process with its standard
// output and error redirected, as a script would run it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/text_encoders.h"
#include "program_run_win.h"
#include "text_picture_win.h"

namespace lumenta {
namespace {

using testing::ProgramRun;
using testing::Quoted;

// Runs the program with `arguments` (already quoted) and collects what it writes.
ProgramRun RunProgram(const std::wstring& arguments) {
  return testing::RunProgram(std::filesystem::path(LUMENTA_BINARY_DIR "/Lumenta.exe"), arguments);
}

class CommandLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* url = std::getenv("LUMENTA_OCRD_URL");
    ASSERT_NE(url, nullptr);
    service_ = std::wstring(url, url + std::strlen(url));
    folder_ = std::filesystem::temp_directory_path() /
              ("lumenta-cli-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::wstring SavePicture(const std::wstring& name, const ByteBuffer& bytes) {
    const std::filesystem::path path = folder_ / name;
    std::ofstream(path, std::ios::binary) << bytes.view();
    return path.wstring();
  }

  std::wstring service_;
  std::filesystem::path folder_;
};

TEST_F(CommandLineTest, PrintsTheLinesOfARenderedPictureAsUtf8) {
  const std::wstring picture = SavePicture(
      L"图片.bmp", testing::RenderTextBmp({u"命令行识别中文", u"The command line reads it."}));
  const ProgramRun run =
      RunProgram(L"--recognize " + Quoted(picture) + L" --service " + Quoted(service_));
  EXPECT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_EQ(run.out, "命令行识别中文\nThe command line reads it.\n");
  EXPECT_EQ(run.err, "");
}

TEST_F(CommandLineTest, TheSamplePictureGivesItsTwoLines) {
  const ProgramRun run = RunProgram(
      L"--recognize " + Quoted(std::filesystem::path(LUMENTA_SOURCE_DIR "/res/sample.png")) +
      L" --service " + Quoted(service_));
  std::ifstream text(LUMENTA_SOURCE_DIR "/res/sample.txt", std::ios::binary);
  const std::string expected((std::istreambuf_iterator<char>(text)),
                             std::istreambuf_iterator<char>());
  EXPECT_EQ(run.exitCode, 0u) << run.err;
  EXPECT_EQ(run.out, expected);
}

TEST_F(CommandLineTest, FailuresExitNonZeroWithAShortReason) {
  const std::wstring text = SavePicture(L"notes.txt", ByteBuffer("these are no pixels"));
  const std::wstring empty = SavePicture(L"empty.png", ByteBuffer());
  struct Case {
    std::wstring arguments;
    DWORD exitCode;
    const char* reason;
  };
  const Case cases[] = {
      {L"--recognize " + Quoted((folder_ / L"missing.png").wstring()) + L" --service " +
           Quoted(service_),
       2, "no picture: "},
      {L"--recognize " + Quoted(empty) + L" --service " + Quoted(service_), 2, "is empty"},
      {L"--recognize " + Quoted(text) + L" --service " + Quoted(service_), 4,
       "service error 216201: image format error"},
      // Nothing listens on port 9 of the loopback: the token request fails.
      {L"--recognize " + Quoted(text) + L" --service http://127.0.0.1:9", 3,
       "request failed: token request to http://127.0.0.1:9: "},
      {L"--recognize", 2, "--recognize needs a value"},
      {L"--bogus", 2, "unknown argument --bogus"},
  };
  for (const Case& c : cases) {
    const ProgramRun run = RunProgram(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(CommandLineTest, HelpGoesToStandardOutput) {
  const ProgramRun run = RunProgram(L"--help");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(run.out.rfind("usage: Lumenta.exe --recognize PICTURE", 0), 0u) << run.out;
}

}  // namespace
}  // namespace lumenta
