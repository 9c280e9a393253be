#include "ocr/recognition_command.h"

#include "base/text_encoders.h"
#include "ocr/service_error.h"

namespace lumenta {
namespace {

std::string Utf8(const Text& text) { return AnsiToUtf8(text).TakeString(); }

std::string Utf8(const std::u16string& text) { return AnsiToUtf8(Utf16ToGbk(text)).TakeString(); }

std::string ServiceErrorLine(const ServiceError& error) {
  std::string line = "service error " + Utf8(error.code);
  if (!error.message.empty()) line += ": " + Utf8(error.message);
  return line;
}

}  // namespace

std::string RecognitionUsage() {
  return "usage: Lumenta.exe --recognize PICTURE [--service URL]\n"
         "       Lumenta.exe [--service URL]\n"
         "  Recognises the text of PICTURE with the keys of key.ini and prints its lines as\n"
         "  UTF-8. --service replaces the service's base address (default " +
         std::string(kDefaultServiceBase) +
         ", or the entry url of section service in key.ini).\n"
         "  Exit codes: 0 text, 1 no text, 2 bad arguments or no picture, 3 request failed,\n"
         "  4 service error.\n"
         "  Without --recognize the main window opens (using URL when given).\n";
}

ProgramArguments ParseProgramArguments(const std::vector<std::u16string>& arguments) {
  ProgramArguments parsed;
  if (arguments.empty() || arguments[0].rfind(u"--", 0) != 0) return parsed;
  auto bad = [&parsed](std::string error) {
    parsed.mode = ProgramArguments::Mode::kBad;
    parsed.error = std::move(error);
    return parsed;
  };
  bool recognize = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::u16string& name = arguments[i];
    if (name == u"--help" || name == u"-h" || name == u"/?") {
      parsed.mode = ProgramArguments::Mode::kUsage;
      return parsed;
    }
    if (name != u"--recognize" && name != u"--service") {
      return bad("unknown argument " + Utf8(name));
    }
    if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
      return bad(Utf8(name) + " needs a value");
    }
    const std::u16string& value = arguments[++i];
    if (name == u"--recognize") {
      if (recognize) return bad("--recognize takes one picture");
      recognize = true;
      parsed.picturePath = value;
    } else {
      parsed.hasService = true;
      parsed.service = Utf16ToGbk(value);
    }
  }
  // --service alone opens the window pointed at that service.
  parsed.mode = recognize ? ProgramArguments::Mode::kRecognize : ProgramArguments::Mode::kWindow;
  return parsed;
}

CommandOutcome RecognitionOutcome(const RecognitionReport& report, const Text& serviceBase) {
  CommandOutcome outcome;
  if (!report.lines.empty()) {
    for (const Text& line : report.lines) outcome.standardOutput += Utf8(line) + "\n";
    return outcome;
  }
  if (!report.serviceProblem.empty()) {
    outcome.exitCode = kExitRequestFailed;
    outcome.standardError = "request failed: " + Utf8(report.serviceProblem) + "\n";
    return outcome;
  }
  const std::string where = Utf8(serviceBase);
  if (report.token.empty()) {
    if (report.tokenAnswer.body.empty()) {
      outcome.exitCode = kExitRequestFailed;
      outcome.standardError = "request failed: token request to " + where + ": " +
                              Utf8(report.tokenAnswer.statusText) + "\n";
    } else if (auto error = FindServiceError(Utf8ToAnsi(report.tokenAnswer.body))) {
      outcome.exitCode = kExitServiceError;
      outcome.standardError = ServiceErrorLine(*error) + " (token request)\n";
    } else {
      outcome.exitCode = kExitServiceError;
      outcome.standardError = "service error: the answer to the token request holds no token\n";
    }
    return outcome;
  }
  if (report.recognitionAnswer.body.empty()) {
    outcome.exitCode = kExitRequestFailed;
    outcome.standardError = "request failed: recognition request to " + where + ": " +
                            Utf8(report.recognitionAnswer.statusText) + "\n";
  } else if (auto error = FindServiceError(report.recognitionAnswer.body)) {
    outcome.exitCode = kExitServiceError;
    outcome.standardError = ServiceErrorLine(*error) + "\n";
  } else {
    outcome.exitCode = kExitNoText;
    outcome.standardError = "no text was recognised\n";
  }
  return outcome;
}

}  // namespace lumenta
