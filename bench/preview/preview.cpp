// bench/preview: showing a 6000 x 4000 photograph-like JPEG in the 231 x 250 preview box.
//   scaled:    MakePreview, as the picture box does it: libjpeg's DCT scaling to the smallest
//              size not below the shown size (1/8, 750 x 500), rows streamed into the
//              area-averaging scaler;
//   reference: a full decode (6000 x 4000 BGRA) followed by the same area averaging.
// Both run alternately in one process; the medians, their ratio (target: at least 4) and the
// heap high-water mark of each path are printed. The same scene is saved at two qualities, a
// web photograph's 75 and a camera's 92: DCT scaling still has to walk every Huffman code of
// the file, so the richer the file, the more of the work both paths share.
#include "image/preview.h"

#include <jpeglib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "bench/preview/counting_malloc.h"
#include "bench/support/figures.h"
#include "image/area_average.h"
#include "image/jpeg_decoder.h"

namespace {

using Clock = std::chrono::steady_clock;
using lumenta::image::Image;

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr int kBoxWidth = 231;
constexpr int kBoxHeight = 250;
constexpr int kRounds = 7;

// A picture with the make-up of a photograph: smooth colour fields and gradients, hard edges
// between regions, some fine texture and a little sensor noise in the brightness (not in the
// colour), saved with 4:2:0 chroma like a camera's file. White noise in every
// channel would be unlike any photograph and only measure the entropy decoder.
std::string MakePhotograph(int quality) {
  std::mt19937 rng(2026);
  std::uniform_int_distribution<int> noise(-3, 3);
  std::vector<unsigned char> row(static_cast<std::size_t>(kWidth) * 3);
  jpeg_compress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = kWidth;
  cinfo.image_height = kHeight;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const double fx = x / static_cast<double>(kWidth), fy = y / static_cast<double>(kHeight);
      const double wave = std::sin(fx * 23.0 + std::cos(fy * 7.0) * 3.0);
      const double texture = std::sin(x * 0.9 + std::sin(y * 0.13) * 4.0) *
                             std::sin(y * 0.7 + x * 0.05);  // fine, fabric-like detail
      const bool region = std::hypot(fx - 0.55, fy - 0.45) < 0.3 || (x / 700 + y / 500) % 3 == 0;
      const int light = noise(rng) + static_cast<int>(region ? 14 * texture : 4 * texture);
      const int r = static_cast<int>(region ? 190 - 70 * fy : 70 + 90 * wave * fy);
      const int g = static_cast<int>(region ? 120 + 50 * wave : 80 + 150 * fx * (1 - fy));
      const int b = static_cast<int>(region ? 60 + 40 * fx : 200 - 120 * fy + 30 * wave);
      row[3 * x] = static_cast<unsigned char>(std::clamp(r + light, 0, 255));
      row[3 * x + 1] = static_cast<unsigned char>(std::clamp(g + light, 0, 255));
      row[3 * x + 2] = static_cast<unsigned char>(std::clamp(b + light, 0, 255));
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&cinfo, &p, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return out;
}

struct Run {
  double seconds;
  std::size_t peakBytes;
  Image pixels;
};

template <typename F>
Run Measure(F&& work) {
  lumenta::bench::ResetHeapPeak();
  const std::size_t before = lumenta::bench::HeapInUse();
  const auto start = Clock::now();
  Image pixels = work();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return {seconds, lumenta::bench::HeapPeak() - before, std::move(pixels)};
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Every coefficient of every block read into memory (jpeg_read_coefficients: no inverse DCT, no
// upsampling, no colour conversion). Printed beside the two paths for scale; it is no bound on
// the preview, which keeps only the DC terms a 1/8 scale needs and never stores the rest (the
// whole-image coefficient arrays this one fills are tens of megabytes).
double EntropyDecodeSeconds(const std::string& jpeg) {
  const auto start = Clock::now();
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.data()),
               static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&cinfo, TRUE);
  jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&cinfo);
  const bool read = coefficients != nullptr;
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  return read ? seconds : 0;
}

struct Result {
  double scaledSeconds;
  double fullSeconds;
  double entropySeconds;
  std::size_t scaledPeak;
  std::size_t fullPeak;
};

bool Compare(const std::string& jpeg, const lumenta::image::Placement& fit, Result& result) {
  std::vector<double> scaled, full, entropy;
  result.scaledPeak = result.fullPeak = 0;
  for (int round = 0; round < kRounds; ++round) {
    Run a =
        Measure([&] { return lumenta::image::MakePreview(jpeg, kBoxWidth, kBoxHeight).pixels; });
    Run b = Measure([&] {
      const Image picture = lumenta::image::DecodeJpeg(jpeg);
      return lumenta::image::ScaleAreaAverage(picture, fit.width, fit.height);
    });
    if (a.pixels.width() != fit.width || b.pixels.width() != fit.width) return false;
    scaled.push_back(a.seconds);
    full.push_back(b.seconds);
    entropy.push_back(EntropyDecodeSeconds(jpeg));
    result.scaledPeak = std::max(result.scaledPeak, a.peakBytes);
    result.fullPeak = std::max(result.fullPeak, b.peakBytes);
  }
  result.scaledSeconds = Median(scaled);
  result.fullSeconds = Median(full);
  result.entropySeconds = Median(entropy);
  return result.entropySeconds > 0;
}

}  // namespace

int main() {
  const lumenta::image::Placement fit =
      lumenta::image::FitPicture(kWidth, kHeight, kBoxWidth, kBoxHeight);
  const int eighths = lumenta::image::JpegScaleAtLeast(kWidth, kHeight, fit.width, fit.height);
  std::printf("%d x %d JPEG in the %d x %d box: shown at %d x %d; DCT scale %d/8 decodes %d x %d\n",
              kWidth, kHeight, kBoxWidth, kBoxHeight, fit.width, fit.height, eighths,
              lumenta::image::JpegScaledSize(kWidth, eighths),
              lumenta::image::JpegScaledSize(kHeight, eighths));
  std::printf(
      "times are medians of %d alternating runs; heap = high-water mark above the start\n\n",
      kRounds);
  std::printf("%-9s %-8s %-44s %10s %10s\n", "quality", "file", "path", "time", "heap");
  bool met = true;
  for (int quality : {75, 92}) {
    const std::string jpeg = MakePhotograph(quality);
    Result r{};
    if (!Compare(jpeg, fit, r)) {
      std::fprintf(stderr, "a path did not give the preview size\n");
      return 1;
    }
    char size[32];
    std::snprintf(size, sizeof size, "%.1f MB", jpeg.size() / 1e6);
    std::printf("%-9d %-8s %-44s %7.1f ms %7.1f MB\n", quality, size,
                "DCT-scaled decode + area averaging (preview)", r.scaledSeconds * 1e3,
                r.scaledPeak / 1e6);
    std::printf("%-9s %-8s %-44s %7.1f ms %7.1f MB\n", "", "",
                "full decode + area averaging (reference)", r.fullSeconds * 1e3, r.fullPeak / 1e6);
    const double ratio = r.fullSeconds / r.scaledSeconds;
    std::printf(
        "%-9s %-8s speed-up %.1fx (target: at least 4x, %s); preview heap %.2f%% of the "
        "reference's\n\n",
        "", "", ratio, ratio >= 4 ? "met" : "missed", 100.0 * r.scaledPeak / r.fullPeak);
    std::printf("%-9s %-8s %-44s %7.1f ms\n\n", "", "", "all coefficients read into memory",
                r.entropySeconds * 1e3);
    const std::string id = "jpeg_q" + std::to_string(quality);
    lumenta::bench::PrintFigure(
        "preview", {.id = id,
                    .what = "6000 x 4000 JPEG (quality " + std::to_string(quality) + ", " + size +
                            ") shown in the 231 x 250 preview: DCT-scaled decode + area averaging",
                    .value = r.scaledSeconds * 1e3,
                    .reference = "full decode + the same area averaging",
                    .referenceValue = r.fullSeconds * 1e3,
                    .ratio = ratio,
                    .ratioMeaning = "reference / ours",
                    .target = "at least 4 times faster",
                    .met = ratio >= 4});
    char note[400];
    std::snprintf(note, sizeof note,
                  "preview heap %.1f MB against %.1f MB for the full decode; for scale, reading "
                  "every coefficient into memory (jpeg_read_coefficients) takes %.1f ms",
                  r.scaledPeak / 1e6, r.fullPeak / 1e6, r.entropySeconds * 1e3);
    lumenta::bench::PrintNote("preview", id, note);
    met = met && ratio >= 4;
  }
  std::printf("target %s for both files\n", met ? "met" : "not met");
  return 0;
}
