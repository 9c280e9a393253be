#include "image/jpeg_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace lumenta::image {
namespace {

// A file with more scans than this is refused: each scan of a progressive file revisits every
// coefficient, so a small file with thousands of tiny scans would keep the decoder busy for
// minutes. Real encoders write about ten.
constexpr int kMaxScans = 500;
// The coefficient buffers of a progressive picture at the size limit need about 512 MB; beyond
// that libjpeg stops with an error instead of asking for more.
constexpr long kMaxLibjpegMemory = 768L << 20;

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void OnJpegError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (corrupt data the library can step over, data ending early) are not errors: the
// library goes on and gives what it can.
void OnJpegMessage(j_common_ptr, int) {}
void OnJpegOutput(j_common_ptr) {}

void LimitScans(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
    cinfo->err->error_exit(cinfo);
  }
}

inline std::uint8_t Mul255(unsigned a, unsigned b) {
  const unsigned t = a * b + 128;
  return static_cast<std::uint8_t>((t + (t >> 8)) >> 8);
}

// CMYK samples to BGRA. Adobe applications store the samples inverted (0 is full ink), and the
// Adobe marker tells such files apart; YCCK always comes from them.
void CmykToBgra(const JSAMPLE* cmyk, std::uint8_t* bgra, JDIMENSION width, bool inverted) {
  for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgra += 4) {
    unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    bgra[0] = Mul255(y, k);
    bgra[1] = Mul255(m, k);
    bgra[2] = Mul255(c, k);
    bgra[3] = 255;
  }
}

struct JpegJob {
  const std::uint8_t* data;
  std::size_t size;
  JpegRowSink* sink;
  int rowsDone;
};

// The one function that holds libjpeg's jump target; everything in its frame is plain data.
void RunLibjpeg(JpegJob* job) {
  jpeg_decompress_struct cinfo;
  ErrorManager errors;
  jpeg_progress_mgr progress;
  cinfo.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = OnJpegError;
  errors.base.emit_message = OnJpegMessage;
  errors.base.output_message = OnJpegOutput;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return;
  }
  jpeg_create_decompress(&cinfo);
  progress.progress_monitor = LimitScans;
  cinfo.progress = &progress;
  cinfo.mem->max_memory_to_use = kMaxLibjpegMemory;
  jpeg_mem_src(&cinfo, job->data, static_cast<unsigned long>(job->size));
  jpeg_read_header(&cinfo, TRUE);
  if (!SizeAllowed(cinfo.image_width, cinfo.image_height)) {
    jpeg_destroy_decompress(&cinfo);
    return;
  }
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  int eighths = job->sink->ChooseScale(static_cast<int>(cinfo.image_width),
                                       static_cast<int>(cinfo.image_height));
  if (eighths < 1 || eighths > 8) eighths = 8;
  cinfo.scale_num = static_cast<unsigned>(eighths);
  cinfo.scale_denom = 8;
  jpeg_start_decompress(&cinfo);
  const JDIMENSION width = cinfo.output_width;
  if (!job->sink->Begin(static_cast<int>(width), static_cast<int>(cinfo.output_height))) {
    jpeg_destroy_decompress(&cinfo);
    return;
  }
  // Rows from libjpeg's own pool: released with the decompressor, whichever way it ends.
  JSAMPARRAY samples =
      (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, width * 4, 1);
  JSAMPARRAY converted = cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                           JPOOL_IMAGE, width * 4, 1)
                              : samples;
  const bool inverted = cinfo.saw_Adobe_marker;
  while (cinfo.output_scanline < cinfo.output_height) {
    const int y = static_cast<int>(cinfo.output_scanline);
    JSAMPROW direct = cmyk ? nullptr : job->sink->RowDestination(y);
    if (jpeg_read_scanlines(&cinfo, direct ? &direct : samples, 1) != 1) break;
    if (cmyk) CmykToBgra(samples[0], converted[0], width, inverted);
    job->sink->Row(y, direct ? direct : converted[0]);
    job->rowsDone = y + 1;
  }
  // Whatever follows the last row (more markers, trailing bytes) does not change the picture.
  jpeg_destroy_decompress(&cinfo);
}

class ImageSink final : public JpegRowSink {
 public:
  int ChooseScale(int, int) noexcept override { return 8; }
  bool Begin(int width, int height) noexcept override {
    image_ = Image::Create(width, height);
    return !image_.empty();
  }
  std::uint8_t* RowDestination(int y) noexcept override { return image_.Row(y); }
  void Row(int y, const std::uint8_t* bgra) noexcept override {
    if (bgra != image_.Row(y)) std::memcpy(image_.Row(y), bgra, image_.stride());
  }
  Image Take() { return std::move(image_); }

 private:
  Image image_;
};

}  // namespace

int DecodeJpegRows(std::string_view bytes, JpegRowSink& sink) {
  if (bytes.size() < 2) return 0;
  JpegJob job{reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), &sink, 0};
  RunLibjpeg(&job);
  return job.rowsDone;
}

Image DecodeJpeg(std::string_view bytes) {
  ImageSink sink;
  if (DecodeJpegRows(bytes, sink) == 0) return Image();
  return sink.Take();
}

int JpegScaledSize(int size, int eighths) {
  return static_cast<int>((static_cast<long long>(size) * eighths + 7) / 8);
}

int JpegScaleAtLeast(int width, int height, int minWidth, int minHeight) {
  for (int eighths = 1; eighths < 8; ++eighths) {
    if (JpegScaledSize(width, eighths) >= minWidth &&
        JpegScaledSize(height, eighths) >= minHeight) {
      return eighths;
    }
  }
  return 8;
}

}  // namespace lumenta::image
