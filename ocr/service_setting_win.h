#pragma once
// The OCR service's base address as configured: the optional entry `url` of section `service` in
// key.ini beside the program (read at start, never written).
#include <string>

#include "ocr/text.h"

namespace lumenta {

// "<folder of the program file>\key.ini".
[[nodiscard]] std::wstring ProgramKeyFilePath();

// The base address for the file at `keyFilePath`: its [service] url, cleaned by
// ServiceBaseFromSetting; the cloud service's host when the file or the entry is missing.
[[nodiscard]] Text ConfiguredServiceBase(const std::wstring& keyFilePath);

}  // namespace lumenta
