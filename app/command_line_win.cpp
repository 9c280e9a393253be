#include "app/command_line_win.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "app/credentials.h"
#include "app/credentials_win.h"
#include "app/local_service_win.h"
#include "app/recognition_win.h"
#include "app/startup_win.h"
#include "base/text_encoders.h"
#include "win/console_streams_win.h"
#include "win/scoped_handle_win.h"

namespace lumenta::app {
namespace {

// --service, else [service] url of key.ini; "local" for either is the program's own service.
ServiceLocator Service(const ProgramArguments& arguments) {
  if (arguments.hasService) return ServiceLocatorForSetting(arguments.service);
  return ServiceLocatorForSetting(ConfiguredServiceSetting(AnsiPath(KeyFilePath())));
}

}  // namespace

std::optional<ByteBuffer> ReadWholeFile(const std::u16string& path) {
  const win::KernelHandle file(CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()),
                                           GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      size.QuadPart > (1LL << 30)) {  // a picture of more than 1 GiB is no picture
    return std::nullopt;
  }
  ByteBuffer bytes(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
    if (!ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr)) return std::nullopt;
    if (read == 0) break;  // the file became shorter while it was read
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

int RunRecognitionCommand(const ProgramArguments& arguments, WebRequestFunction request) {
  const std::optional<ByteBuffer> picture = ReadWholeFile(arguments.picturePath);
  const std::string path = AnsiToUtf8(Utf16ToGbk(arguments.picturePath)).TakeString();
  if (!picture || picture->empty()) {
    console::WriteStandardError("no picture: " + path +
                                (picture ? " is empty\n" : " cannot be read\n"));
    return kExitUsage;
  }
  const Text keyFile = AnsiPath(KeyFilePath());
  CommandLineWindow window(ReadProfileEntry(keyFile, kKeySection, kApiKeyEntry),
                           ReadProfileEntry(keyFile, kKeySection, kSecretKeyEntry), *picture);
  RecognitionFlow flow(window, std::move(request), Service(arguments));
  flow.CheckAndRecognize();
  const CommandOutcome outcome = RecognitionOutcome(flow.lastReport(), flow.serviceBase());
  if (!console::WriteStandardOutput(outcome.standardOutput) && outcome.exitCode == kExitText) {
    return kExitRequestFailed;  // the text came back but could not be delivered
  }
  console::WriteStandardError(outcome.standardError);
  return outcome.exitCode;
}

int RunFromCommandLine(const std::vector<std::u16string>& arguments, WebRequestFunction request) {
  const ProgramArguments parsed = ParseProgramArguments(arguments);
  switch (parsed.mode) {
    case ProgramArguments::Mode::kRecognize:
      return RunRecognitionCommand(parsed, std::move(request));
    case ProgramArguments::Mode::kUsage:
      console::WriteStandardOutput(RecognitionUsage());
      return kExitText;
    case ProgramArguments::Mode::kBad:
      console::WriteStandardError(parsed.error + "\n" + RecognitionUsage());
      return kExitUsage;
    case ProgramArguments::Mode::kWindow:
      break;
  }
  SetRecognitionService(Service(parsed), std::move(request));
  return RunDesktopProgram();
}

}  // namespace lumenta::app
