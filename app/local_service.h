#pragma once
// The rules of the program's own OCR service (lumenta-ocrd.exe beside the program), which the
// program starts when key.ini's [service] url says "local": what it needs beside it, how its
// address is read from what it prints, and the messages a user sees when it cannot start.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"

namespace lumenta::app {

// "local" in any case, with blanks around it.
[[nodiscard]] bool IsLocalServiceSetting(std::string_view setting);

inline constexpr char kLocalServiceProgram[] = "lumenta-ocrd.exe";

// The files the service cannot recognise without, relative to the program's folder, in the order
// they are reported: the program, ONNX Runtime, then the models it loads (the angle classifier
// is not used by default).
[[nodiscard]] const std::vector<std::string>& LocalServiceFiles();

// How long a start may take before the program gives up on it.
inline constexpr int kLocalServiceStartLimitMs = 15000;

// The port of a service that has printed "ocrd listening on http://127.0.0.1:PORT" as a whole
// line (ended by a line feed, perhaps after a carriage return); nothing before that.
[[nodiscard]] std::optional<int> ListeningPort(std::string_view output);

// The service's address for that port.
[[nodiscard]] Text LocalServiceBase(int port);

// The messages (GBK) for a start that could not be made: files missing (names as listed above),
// the service ending before it listened (with the reason it printed, if any), no answer within
// the limit, and the system refusing to run it (with the system's error code).
[[nodiscard]] Text MissingFilesMessage(const std::vector<std::string>& missing);
[[nodiscard]] Text ServiceEndedMessage(std::string_view output);
[[nodiscard]] Text ServiceTooSlowMessage();
[[nodiscard]] Text ServiceNotRunMessage(unsigned long systemError);

}  // namespace lumenta::app
