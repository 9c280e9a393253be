#include "tools/ocrd/engine_pool.h"

namespace lumenta::ocrd {

EnginePool::EnginePool(EngineFactory factory, int capacity)
    : factory_(std::move(factory)), capacity_(capacity > 0 ? capacity : 1) {}

EnginePool::~EnginePool() = default;

bool EnginePool::Start(std::string& error) {
  std::unique_ptr<Engine> engine = factory_(error);
  if (!engine) return false;
  std::lock_guard lock(mutex_);
  ++created_;
  idle_.push_back(std::move(engine));
  return true;
}

std::unique_ptr<Engine> EnginePool::Acquire() {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (!idle_.empty()) {
      std::unique_ptr<Engine> engine = std::move(idle_.back());
      idle_.pop_back();
      return engine;
    }
    if (created_ < capacity_) {
      ++created_;
      lock.unlock();
      std::string error;
      std::unique_ptr<Engine> engine = factory_(error);
      if (!engine) {
        lock.lock();
        --created_;
        idleChanged_.notify_one();
      }
      return engine;
    }
    idleChanged_.wait(lock);
  }
}

void EnginePool::Release(std::unique_ptr<Engine> engine) {
  {
    std::lock_guard lock(mutex_);
    idle_.push_back(std::move(engine));
  }
  idleChanged_.notify_one();
}

bool EnginePool::Recognize(const RgbImage& picture, std::vector<std::string>& lines) {
  lines.clear();
  std::unique_ptr<Engine> engine = Acquire();
  if (!engine) return false;
  const bool recognised = engine->Recognize(picture, lines);
  Release(std::move(engine));
  return recognised;
}

}  // namespace lumenta::ocrd
