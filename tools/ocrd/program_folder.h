#pragma once
// The folder the running program was started from (UTF-8), where the service looks for its
// models and for ONNX Runtime unless told otherwise. Empty when the system does not say.
#include <string>

namespace lumenta::ocrd {

[[nodiscard]] std::string ProgramFolder();

}  // namespace lumenta::ocrd
