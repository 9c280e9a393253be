#include "image/png_decoder.h"

#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <cstring>

namespace lumenta::image {
namespace {

constexpr std::size_t kIdatPiece = 1024;

// Everything the libpng run shares with its callbacks: plain data only, because libpng reports
// errors with longjmp and nothing with a destructor may live across that jump.
struct PngJob {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t offset;
  Image* image;     // filled once the header is known; owned by the caller
  png_bytep* rows;  // row pointers, malloc'd inside the run
  int rowsDone;     // rows complete in their final form (last interlace pass)
};

// Kept out of RunLibpng so that no temporary with a destructor is ever made in the frame that
// holds the jump target.
bool CreateImage(PngJob* job, png_uint_32 width, png_uint_32 height) {
  *job->image = Image::Create(static_cast<int>(width), static_cast<int>(height));
  return !job->image->empty();
}

[[noreturn]] void OnPngError(png_structp png, png_const_charp) { std::longjmp(png_jmpbuf(png), 1); }

void OnPngWarning(png_structp, png_const_charp) {}

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
  if (count > job->size - job->offset) png_error(png, "truncated");
  std::memcpy(out, job->data + job->offset, count);
  job->offset += count;
}

// The one function that holds libpng's jump target. Returns true when every row decoded.
bool RunLibpng(PngJob* job) {
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::free(job->rows);
    job->rows = nullptr;
    return false;
  }
  png_set_read_fn(png, job, ReadFromMemory);
  png_set_user_limits(png, kMaxSide, kMaxSide);
  // Compressed data is taken in small pieces, so that a file that breaks off still yields
  // every row whose data arrived (by default libpng asks for 8 KiB at a time).
  png_set_compression_buffer_size(png, kIdatPiece);
  png_read_info(png, info);

  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0, interlace = 0;
  png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
  if (!SizeAllowed(width, height)) png_error(png, "size");

  const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
  if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (hasTrns) png_set_tRNS_to_alpha(png);
  if (bitDepth == 16) png_set_scale_16(png);
  if (!(colorType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
  if (!(colorType & PNG_COLOR_MASK_ALPHA) && !hasTrns) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(png);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) png_error(png, "layout");

  if (!CreateImage(job, width, height)) png_error(png, "memory");
  job->rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * height));
  if (!job->rows) png_error(png, "memory");
  for (png_uint_32 y = 0; y < height; ++y) job->rows[y] = job->image->Row(static_cast<int>(y));

  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 y = 0; y < height; ++y) {
      png_read_row(png, job->rows[y], nullptr);
      if (pass == passes - 1) job->rowsDone = static_cast<int>(y) + 1;
    }
  }
  // The chunks after the pixels (text, time, the end marker) do not change the picture, so
  // they are not read.
  png_destroy_read_struct(&png, &info, nullptr);
  std::free(job->rows);
  job->rows = nullptr;
  return true;
}

// Where libpng may read up to: the whole file, or the start of the first chunk other than
// IDAT that claims more data than the file still holds. libpng allocates whatever length such a
// chunk header states before it finds the data missing (its length check is only a warning):
// a 60-byte file claiming a 1.4 GB text chunk took seconds and nearly 2 GB. Ending the data at
// that header gives the same outcome, a file that breaks off there, without the allocation.
// IDAT data is streamed, never allocated whole, so a cut-off IDAT still yields its rows.
std::size_t ReadableSize(const std::uint8_t* data, std::size_t size) {
  std::size_t at = 8;  // after the signature; a shorter input is returned whole
  while (at <= size && size - at >= 8) {
    const std::uint32_t length = static_cast<std::uint32_t>(data[at]) << 24 |
                                 static_cast<std::uint32_t>(data[at + 1]) << 16 |
                                 static_cast<std::uint32_t>(data[at + 2]) << 8 | data[at + 3];
    const bool idat = std::memcmp(data + at + 4, "IDAT", 4) == 0;
    const std::uint64_t end = std::uint64_t{at} + 12 + length;  // header, data, CRC
    if (end > size) return idat ? size : at;
    at = static_cast<std::size_t>(end);
  }
  return size;
}

}  // namespace

Image DecodePng(std::string_view bytes) {
  Image image;
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  PngJob job{data, ReadableSize(data, bytes.size()), 0, &image, nullptr, 0};
  if (RunLibpng(&job)) return image;
  if (image.empty() || job.rowsDone == 0) return Image();
  // Rows below the break may hold pixels of earlier interlace passes only: clear them so the
  // picture shows just what decoded completely.
  for (int y = job.rowsDone; y < image.height(); ++y) {
    std::memset(image.Row(y), 0, image.stride());
  }
  return image;
}

}  // namespace lumenta::image
