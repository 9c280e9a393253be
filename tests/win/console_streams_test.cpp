// Standard output of the program when it is redirected: UTF-8 bytes reach the handle unchanged.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "win/console_streams_win.h"

namespace lumenta {
namespace {

// Points a standard handle at a pipe for the length of a test; a thread drains the pipe, so
// the text written may be larger than the pipe holds.
class RedirectedStream {
 public:
  explicit RedirectedStream(DWORD which) : which_(which), previous_(GetStdHandle(which)) {
    CreatePipe(&read_, &write_, nullptr, 4096);
    SetStdHandle(which_, write_);
    reader_ = std::thread([this] {
      char buffer[4096];
      DWORD n = 0;
      while (ReadFile(read_, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes_.append(buffer, n);
    });
  }
  ~RedirectedStream() {
    Collected();
    SetStdHandle(which_, previous_);
    CloseHandle(read_);
  }
  const std::string& Collected() {
    if (write_) {
      CloseHandle(write_);
      write_ = nullptr;
      reader_.join();
    }
    return bytes_;
  }

 private:
  DWORD which_;
  HANDLE previous_;
  HANDLE read_ = nullptr;
  HANDLE write_ = nullptr;
  std::thread reader_;
  std::string bytes_;
};

TEST(ConsoleStreams, RedirectedOutputGetsTheUtf8BytesUnchanged) {
  const std::string text = "图片里的文字，一键识别出来。\nLumenta turns pictures into text.\n";
  RedirectedStream out(STD_OUTPUT_HANDLE);
  ASSERT_TRUE(console::WriteStandardOutput(text));
  ASSERT_TRUE(console::WriteStandardOutput(""));
  EXPECT_EQ(out.Collected(), text);
}

TEST(ConsoleStreams, ErrorsGoToTheirOwnStream) {
  RedirectedStream out(STD_OUTPUT_HANDLE);
  RedirectedStream error(STD_ERROR_HANDLE);
  ASSERT_TRUE(console::WriteStandardError("service error 216201: image format error\n"));
  EXPECT_EQ(error.Collected(), "service error 216201: image format error\n");
  EXPECT_EQ(out.Collected(), "");
}

TEST(ConsoleStreams, OutputLargerThanThePipeIsWrittenWhole) {
  std::string text;
  for (int i = 0; i < 300000; ++i) text += "行" + std::to_string(i) + "\n";
  RedirectedStream out(STD_OUTPUT_HANDLE);
  ASSERT_TRUE(console::WriteStandardOutput(text));
  EXPECT_EQ(out.Collected(), text);
}

}  // namespace
}  // namespace lumenta
