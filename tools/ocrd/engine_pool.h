#pragma once
// A bounded pool of engines. One engine recognises one picture at a time; the pool hands each
// request an idle one, makes another while fewer than `capacity` exist, and otherwise makes the
// request wait. That bounds memory and CPU whatever the number of clients.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "tools/ocrd/engine.h"

namespace lumenta::ocrd {

class EnginePool {
 public:
  EnginePool(EngineFactory factory, int capacity);
  ~EnginePool();
  EnginePool(const EnginePool&) = delete;
  EnginePool& operator=(const EnginePool&) = delete;

  // Makes the first engine, so that missing models or language data show at start-up.
  [[nodiscard]] bool Start(std::string& error);

  // Engine::Recognize on an idle engine. False when no engine could be made or it failed.
  [[nodiscard]] bool Recognize(const RgbImage& picture, std::vector<std::string>& lines);

  int capacity() const { return capacity_; }

 private:
  [[nodiscard]] std::unique_ptr<Engine> Acquire();
  void Release(std::unique_ptr<Engine> engine);

  const EngineFactory factory_;
  const int capacity_;

  std::mutex mutex_;
  std::condition_variable idleChanged_;
  std::vector<std::unique_ptr<Engine>> idle_;
  int created_ = 0;
};

}  // namespace lumenta::ocrd
