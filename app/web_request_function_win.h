#pragma once
// The request function of the recognition flow in the program: WebRequest with the url, the
// method, the body text and the extra headers, every other parameter omitted. The status text
// comes back beside the body for the command line's reasons; the flow itself never reads it.
#include "ocr/recognition_flow.h"

namespace lumenta::app {

[[nodiscard]] WebRequestFunction WebRequestFunctionForProgram();

}  // namespace lumenta::app
