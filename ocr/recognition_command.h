#pragma once
// Command-line recognition: Lumenta.exe --recognize PICTURE [--service URL] runs the recognition
// flow without a window, with the keys of key.ini, and prints the recognised lines as UTF-8.
// This part parses the arguments and turns a run's report into output and an exit code; the
// Windows entry point reads the files and writes to the console.
#include <string>
#include <vector>

#include "base/text.h"
#include "ocr/recognition_flow.h"

namespace lumenta {

enum RecognitionExitCode : int {
  kExitText = 0,           // text came back
  kExitNoText = 1,         // the service answered, with no line of text
  kExitUsage = 2,          // bad arguments, or no picture
  kExitRequestFailed = 3,  // a request got no answer (statusText tells why)
  kExitServiceError = 4,   // the service answered with an error object
};

struct ProgramArguments {
  enum class Mode { kWindow, kRecognize, kUsage, kBad } mode = Mode::kWindow;
  std::u16string picturePath;
  bool hasService = false;
  Text service;       // --service URL (ASCII in practice; GBK otherwise)
  std::string error;  // for kBad, UTF-8
};

// The arguments after the program name. None, or a first argument that is no option, leaves the
// program the desktop program it always was (a file handed over by "Open with" starts the window);
// --service URL without --recognize opens the window pointed at that service.
[[nodiscard]] ProgramArguments ParseProgramArguments(const std::vector<std::u16string>& arguments);

[[nodiscard]] std::string RecognitionUsage();

struct CommandOutcome {
  int exitCode = kExitText;
  std::string standardOutput;  // UTF-8
  std::string standardError;   // UTF-8
};

// The output of a finished run: each recognised line followed by a line end on standard output;
// when none came back, the reason on standard error (never the keys: URLs are named by their
// base address only).
[[nodiscard]] CommandOutcome RecognitionOutcome(const RecognitionReport& report,
                                                const Text& serviceBase);

// The window of a command-line run: the general mode selected, the keys and the picture given,
// the appended lines kept in the report; nothing is shown.
class CommandLineWindow : public RecognitionWindow {
 public:
  CommandLineWindow(Text apiKey, Text secretKey, ByteBuffer picture)
      : apiKey_(std::move(apiKey)),
        secretKey_(std::move(secretKey)),
        picture_(std::make_shared<const ByteBuffer>(std::move(picture))) {}
  bool GeneralModeChecked() override { return true; }
  bool AccurateModeChecked() override { return false; }
  Text ApiKey() override { return apiKey_; }
  Text SecretKey() override { return secretKey_; }
  SharedBytes PictureBytes() override { return picture_; }
  void ClearResult() override { result_.clear(); }
  void AppendResult(const Text& item) override { result_ += item; }
  void ShowMessage(const Text& message) override { messages_.push_back(message); }
  void ShowBusy(bool) override {}
  const Text& result() const { return result_; }
  const std::vector<Text>& messages() const { return messages_; }

 private:
  Text apiKey_;
  Text secretKey_;
  SharedBytes picture_;
  Text result_;
  std::vector<Text> messages_;
};

}  // namespace lumenta
