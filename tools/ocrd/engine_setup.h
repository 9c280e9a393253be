#pragma once
// Everything an engine needs that is loaded once per process (ONNX Runtime and the PP-OCR models,
// or nothing for Tesseract), made from the command line's options, and the factory the engine
// pool makes each worker's engine with.
#include <string>

#include "tools/ocrd/engine.h"
#include "tools/ocrd/options.h"

namespace lumenta::ocrd {

// The default places of the models folder and of ONNX Runtime: beside the program.
[[nodiscard]] std::string DefaultModelsFolder(const std::string& programFolder);
[[nodiscard]] std::string DefaultOnnxRuntime(const std::string& programFolder);

// A factory for the workers' engines of the kind the options name. Null, with a reason that
// names the missing piece, when the library or a model cannot be loaded. `description` says
// what was loaded, for the service's first log line.
[[nodiscard]] EngineFactory MakeEngineFactory(const Options& options, unsigned processors,
                                              std::string& description, std::string& error);

}  // namespace lumenta::ocrd
