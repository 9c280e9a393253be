#include "tools/ocrd/engine_pool.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include "tools/ocrd/line_text.h"

namespace lumenta::ocrd {

void EnginePool::EngineDeleter::operator()(tesseract::TessBaseAPI* api) const {
  api->End();
  delete api;
}

EnginePool::EnginePool(std::string tessdata, std::string languages, int capacity,
                       int pageSegmentation)
    : tessdata_(std::move(tessdata)),
      languages_(std::move(languages)),
      capacity_(capacity > 0 ? capacity : 1),
      pageSegmentation_(pageSegmentation) {}

EnginePool::~EnginePool() = default;

EnginePool::Engine EnginePool::CreateEngine(std::string& error) const {
  Engine api(new tesseract::TessBaseAPI);
  // Tesseract's diagnostics ("Estimating resolution as ...") would break the one-line-per-request
  // log: they go nowhere.
  api->SetVariable("debug_file", "/dev/null");
  if (api->Init(tessdata_.empty() ? nullptr : tessdata_.c_str(), languages_.c_str(),
                tesseract::OEM_LSTM_ONLY) != 0) {
    error = "Tesseract could not load the languages \"" + languages_ + "\"" +
            (tessdata_.empty() ? std::string() : " from " + tessdata_);
    return nullptr;
  }
  api->SetVariable("debug_file", "/dev/null");
  api->SetPageSegMode(static_cast<tesseract::PageSegMode>(pageSegmentation_));
  return api;
}

bool EnginePool::Start(std::string& error) {
  Engine engine = CreateEngine(error);
  if (!engine) return false;
  std::lock_guard lock(mutex_);
  ++created_;
  idle_.push_back(std::move(engine));
  return true;
}

EnginePool::Engine EnginePool::Acquire() {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (!idle_.empty()) {
      Engine engine = std::move(idle_.back());
      idle_.pop_back();
      return engine;
    }
    if (created_ < capacity_) {
      ++created_;
      lock.unlock();
      std::string error;
      Engine engine = CreateEngine(error);
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

void EnginePool::Release(Engine engine) {
  {
    std::lock_guard lock(mutex_);
    if (engine) {
      idle_.push_back(std::move(engine));
    } else {
      --created_;  // a failed engine is dropped; a new one may be made in its place
    }
  }
  idleChanged_.notify_one();
}

bool EnginePool::Recognize(Pix* picture, std::vector<std::string>& lines) {
  lines.clear();
  Engine engine = Acquire();
  if (!engine) return false;
  engine->SetImage(picture);
  const bool recognised = engine->Recognize(nullptr) == 0;
  if (recognised) {
    std::unique_ptr<tesseract::ResultIterator> it(engine->GetIterator());
    if (it && !it->Empty(tesseract::RIL_TEXTLINE)) {
      do {
        std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
        if (!text) continue;
        std::string line = CleanLine(text.get());
        if (!line.empty()) lines.push_back(std::move(line));
      } while (it->Next(tesseract::RIL_TEXTLINE));
    }
  }
  engine->Clear();
  Release(std::move(engine));
  return recognised;
}

}  // namespace lumenta::ocrd
