#include "tools/ocrd/tesseract_engine.h"

#include <leptonica/allheaders.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include "tools/ocrd/line_text.h"

namespace lumenta::ocrd {
namespace {

struct PixRelease {
  void operator()(Pix* pix) const { pixDestroy(&pix); }
};

// The picture as a Leptonica image of 32 bits per pixel (0xRRGGBB00 words).
std::unique_ptr<Pix, PixRelease> ToPix(const RgbImage& picture) {
  std::unique_ptr<Pix, PixRelease> pix(pixCreate(picture.width, picture.height, 32));
  if (!pix) return nullptr;
  l_uint32* data = pixGetData(pix.get());
  const l_int32 wordsPerLine = pixGetWpl(pix.get());
  for (int y = 0; y < picture.height; ++y) {
    const std::uint8_t* in = picture.Row(y);
    l_uint32* out = data + static_cast<std::size_t>(y) * wordsPerLine;
    for (int x = 0; x < picture.width; ++x, in += 3) {
      out[x] = (l_uint32{in[0]} << 24) | (l_uint32{in[1]} << 16) | (l_uint32{in[2]} << 8);
    }
  }
  return pix;
}

class TesseractEngine final : public Engine {
 public:
  explicit TesseractEngine(std::unique_ptr<tesseract::TessBaseAPI> api) : api_(std::move(api)) {}
  ~TesseractEngine() override { api_->End(); }

  bool Recognize(const RgbImage& picture, std::vector<std::string>& lines) override {
    lines.clear();
    auto pix = ToPix(picture);
    if (!pix) return false;
    api_->SetImage(pix.get());
    const bool recognised = api_->Recognize(nullptr) == 0;
    if (recognised) {
      std::unique_ptr<tesseract::ResultIterator> it(api_->GetIterator());
      if (it && !it->Empty(tesseract::RIL_TEXTLINE)) {
        do {
          std::unique_ptr<char[]> text(it->GetUTF8Text(tesseract::RIL_TEXTLINE));
          if (!text) continue;
          std::string line = CleanLine(text.get());
          if (!line.empty()) lines.push_back(std::move(line));
        } while (it->Next(tesseract::RIL_TEXTLINE));
      }
    }
    api_->Clear();
    return recognised;
  }

 private:
  std::unique_ptr<tesseract::TessBaseAPI> api_;
};

}  // namespace

std::unique_ptr<Engine> CreateTesseractEngine(const TesseractSettings& settings,
                                              std::string& error) {
  auto api = std::make_unique<tesseract::TessBaseAPI>();
  // Tesseract's diagnostics ("Estimating resolution as ...") would break the one-line-per-request
  // log: they go nowhere.
  api->SetVariable("debug_file", "/dev/null");
  if (api->Init(settings.tessdata.empty() ? nullptr : settings.tessdata.c_str(),
                settings.languages.c_str(), tesseract::OEM_LSTM_ONLY) != 0) {
    error = "Tesseract could not load the languages \"" + settings.languages + "\"" +
            (settings.tessdata.empty() ? std::string() : " from " + settings.tessdata);
    api->End();
    return nullptr;
  }
  api->SetVariable("debug_file", "/dev/null");
  api->SetPageSegMode(static_cast<tesseract::PageSegMode>(settings.pageSegmentation));
  return std::make_unique<TesseractEngine>(std::move(api));
}

}  // namespace lumenta::ocrd
