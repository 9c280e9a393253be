#pragma once
// What the program does for its command line: the desktop program, or command-line recognition
// (Lumenta.exe --recognize PICTURE [--service URL]) with the very flow the 识别 button runs.
#include <optional>
#include <string>
#include <vector>

#include "ocr/recognition_command.h"
#include "ocr/recognition_flow.h"

namespace lumenta::app {

// Chooses from the arguments (without the program name); `request` serves the flow. The service
// address is read at start: --service, else [service] url of key.ini, else the cloud host.
// Returns the process exit code.
int RunFromCommandLine(const std::vector<std::u16string>& arguments, WebRequestFunction request);

// Command-line recognition: the keys of key.ini beside the program, the picture file's bytes,
// one run of the flow; the lines on standard output (UTF-8), a reason on standard error.
int RunRecognitionCommand(const ProgramArguments& arguments, WebRequestFunction request);

// The whole content of a file, or nothing when it cannot be read.
[[nodiscard]] std::optional<ByteBuffer> ReadWholeFile(const std::u16string& path);

}  // namespace lumenta::app
