#pragma once
// A bounded pool of Tesseract instances. One instance recognises one picture at a time; the
// pool hands each request an idle one, creates another while fewer than `capacity` exist, and
// otherwise makes the request wait. That bounds memory and CPU whatever the number of clients.
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

struct Pix;
namespace tesseract {
class TessBaseAPI;
}

namespace lumenta::ocrd {

class EnginePool {
 public:
  EnginePool(std::string tessdata, std::string languages, int capacity, int pageSegmentation = 4);
  ~EnginePool();
  EnginePool(const EnginePool&) = delete;
  EnginePool& operator=(const EnginePool&) = delete;

  // Creates the first instance, so that missing language data shows at start-up.
  [[nodiscard]] bool Start(std::string& error);

  // The text lines of `picture` in reading order, cleaned (CleanLine), empty lines left out.
  // False when the engine failed.
  [[nodiscard]] bool Recognize(Pix* picture, std::vector<std::string>& lines);

  int capacity() const { return capacity_; }

 private:
  struct EngineDeleter {
    void operator()(tesseract::TessBaseAPI* api) const;
  };
  using Engine = std::unique_ptr<tesseract::TessBaseAPI, EngineDeleter>;

  [[nodiscard]] Engine CreateEngine(std::string& error) const;
  [[nodiscard]] Engine Acquire();
  void Release(Engine engine);

  const std::string tessdata_;
  const std::string languages_;
  const int capacity_;
  const int pageSegmentation_;

  std::mutex mutex_;
  std::condition_variable idleChanged_;
  std::vector<Engine> idle_;
  int created_ = 0;
};

}  // namespace lumenta::ocrd
