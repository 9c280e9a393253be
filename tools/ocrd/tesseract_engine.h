#pragma once
// The Tesseract engine (LSTM, the given languages, one column of lines by default).
#include <memory>
#include <string>

#include "tools/ocrd/engine.h"

namespace lumenta::ocrd {

struct TesseractSettings {
  std::string tessdata;  // empty: Tesseract's own default
  std::string languages = "chi_sim+eng";
  int pageSegmentation = 4;
};

// Null with the reason in `error` when Tesseract cannot load the languages.
[[nodiscard]] std::unique_ptr<Engine> CreateTesseractEngine(const TesseractSettings& settings,
                                                            std::string& error);

}  // namespace lumenta::ocrd
