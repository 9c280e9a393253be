#pragma once
// A recognition engine: reads the text lines of one picture at a time. The service keeps a pool
// of them (engine_pool.h), one per worker; an engine is never used by two threads at once.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/ocrd/rgb_image.h"

namespace lumenta::ocrd {

class Engine {
 public:
  virtual ~Engine() = default;

  // The text lines of `picture` (UTF-8) in reading order, cleaned (CleanLine), empty lines left
  // out. False when the engine failed.
  [[nodiscard]] virtual bool Recognize(const RgbImage& picture,
                                       std::vector<std::string>& lines) = 0;
};

// Makes one engine; null with the reason in `error`.
using EngineFactory = std::function<std::unique_ptr<Engine>(std::string& error)>;

}  // namespace lumenta::ocrd
