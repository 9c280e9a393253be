#include "tests/support/picture_fixtures.h"

#include <jpeglib.h>
#include <png.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

#include "image/image.h"

namespace lumenta::image::testing {
namespace {

void Put16(Bytes& out, unsigned v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(Bytes& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

[[noreturn]] void PngWriteFailed(png_structp, png_const_charp message) {
  std::fprintf(stderr, "test PNG writer: %s\n", message);
  std::abort();
}

void PngAppend(png_structp png, png_bytep data, png_size_t length) {
  static_cast<Bytes*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void PngFlush(png_structp) {}

}  // namespace

std::string Describe(int width, int height, const std::vector<std::uint32_t>& argb) {
  std::string out = std::to_string(width) + "x" + std::to_string(height) + ":";
  char hex[16];
  for (std::size_t i = 0; i < argb.size(); ++i) {
    if (i > 0 && width > 0 && i % width == 0) out += " /";
    std::snprintf(hex, sizeof hex, " %08X", argb[i]);
    out += hex;
  }
  return out;
}

std::string Describe(const Image& image) {
  std::vector<std::uint32_t> argb;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) argb.push_back(image.Pixel(x, y));
  }
  return Describe(image.width(), image.height(), argb);
}

Bytes WritePng(const PngSpec& spec) {
  Bytes out;
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngWriteFailed, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_write_fn(png, &out, PngAppend, PngFlush);
  png_set_IHDR(png, info, spec.width, spec.height, spec.bitDepth, spec.colorType,
               spec.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (const auto& c : spec.palette) palette.push_back(png_color{c[0], c[1], c[2]});
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!spec.paletteAlpha.empty()) {
    png_set_tRNS(png, info, spec.paletteAlpha.data(), static_cast<int>(spec.paletteAlpha.size()),
                 nullptr);
  } else if (spec.hasTransparentColour) {
    png_color_16 colour{};
    colour.gray = spec.transparentGrey;
    colour.red = spec.transparentRgb[0];
    colour.green = spec.transparentRgb[1];
    colour.blue = spec.transparentRgb[2];
    png_set_tRNS(png, info, nullptr, 0, &colour);
  }
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (const auto& row : spec.rows) {
    rows.push_back(reinterpret_cast<png_bytep>(const_cast<char*>(row.data())));
  }
  png_write_image(png, rows.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes WriteJpeg(const JpegSpec& spec) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);  // the default error handler ends the test program
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = spec.width;
  cinfo.image_height = spec.height;
  cinfo.input_components = spec.components;
  cinfo.in_color_space = static_cast<J_COLOR_SPACE>(spec.colourSpace);
  jpeg_set_defaults(&cinfo);
  if (spec.storedSpace >= 0)
    jpeg_set_colorspace(&cinfo, static_cast<J_COLOR_SPACE>(spec.storedSpace));
  if (spec.components == 4) cinfo.write_Adobe_marker = spec.adobeMarker;
  jpeg_set_quality(&cinfo, spec.quality, TRUE);
  // Full-resolution chroma: flat colours come back within a step or two.
  for (int c = 0; c < cinfo.num_components; ++c) {
    cinfo.comp_info[c].h_samp_factor = 1;
    cinfo.comp_info[c].v_samp_factor = 1;
  }
  if (spec.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  const std::size_t stride = static_cast<std::size_t>(spec.width) * spec.components;
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(
        const_cast<char*>(spec.samples.data() + stride * cinfo.next_scanline));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return out;
}

Bytes WriteBlockJpeg(int width, int height, int block, const std::vector<std::uint32_t>& colours,
                     bool progressive) {
  JpegSpec spec;
  spec.width = width;
  spec.height = height;
  spec.components = 3;
  spec.colourSpace = JCS_RGB;
  spec.progressive = progressive;
  const int columns = (width + block - 1) / block;
  spec.samples.resize(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = colours[((y / block) * columns + x / block) % colours.size()];
      char* p = &spec.samples[(static_cast<std::size_t>(y) * width + x) * 3];
      p[0] = static_cast<char>(c >> 16);
      p[1] = static_cast<char>(c >> 8);
      p[2] = static_cast<char>(c);
    }
  }
  return WriteJpeg(spec);
}

Bytes PadRows(const std::vector<Bytes>& rows) {
  Bytes out;
  for (const auto& row : rows) {
    out += row;
    out.append((4 - row.size() % 4) % 4, '\0');
  }
  return out;
}

Bytes WriteBmp(const BmpSpec& spec) {
  Bytes header;
  if (spec.headerSize == 12) {
    Put32(header, 12);
    Put16(header, spec.width);
    Put16(header, spec.height);
    Put16(header, 1);
    Put16(header, spec.bits);
  } else {
    Put32(header, spec.headerSize);
    Put32(header, static_cast<std::uint32_t>(spec.width));
    Put32(header, static_cast<std::uint32_t>(spec.height));
    Put16(header, 1);
    Put16(header, spec.bits);
    Put32(header, spec.compression);
    Put32(header, static_cast<std::uint32_t>(spec.pixels.size()));
    Put32(header, 2835);
    Put32(header, 2835);
    Put32(header, spec.coloursUsed);
    Put32(header, 0);
    if (spec.headerSize >= 52) {
      for (int i = 0; i < 3; ++i) Put32(header, spec.masks[i]);
    }
    if (spec.headerSize >= 56) Put32(header, spec.masks[3]);
    // The rest of a longer header (colour space, end points, gamma, intent, profile) is zero,
    // except the colour-space type "sRGB" of version 4 and 5 headers.
    if (spec.headerSize >= 108) Put32(header, 0x73524742);
    header.resize(spec.headerSize, '\0');
    if (spec.masksAfterHeader) {
      const int count = spec.compression == 6 ? 4 : 3;
      for (int i = 0; i < count; ++i) Put32(header, spec.masks[i]);
    }
  }
  for (std::uint32_t c : spec.palette) {
    header += static_cast<char>(c & 0xFF);
    header += static_cast<char>((c >> 8) & 0xFF);
    header += static_cast<char>((c >> 16) & 0xFF);
    if (spec.headerSize != 12) header += '\0';
  }
  if (!spec.fileHeader) return header + spec.pixels;
  const std::uint32_t offset = spec.pixelOffset >= 0
                                   ? static_cast<std::uint32_t>(spec.pixelOffset)
                                   : static_cast<std::uint32_t>(14 + header.size());
  Bytes out = "BM";
  Put32(out, static_cast<std::uint32_t>(14 + header.size() + spec.pixels.size()));
  Put32(out, 0);
  Put32(out, offset);
  out += header;
  if (offset > out.size()) out.resize(offset, '\0');
  return out + spec.pixels;
}

Bytes LzwEncode(const std::vector<std::uint8_t>& indices, int minCodeSize) {
  Bytes out;
  std::uint32_t buffer = 0;
  int bits = 0;
  int width = minCodeSize + 1;
  const int clear = 1 << minCodeSize;
  int next = clear + 2;
  std::map<std::pair<int, int>, int> table;
  const auto emit = [&](int code) {
    buffer |= static_cast<std::uint32_t>(code) << bits;
    bits += width;
    while (bits >= 8) {
      out += static_cast<char>(buffer & 0xFF);
      buffer >>= 8;
      bits -= 8;
    }
  };
  // The decoder widens its codes once its table reaches the next power of two; it adds an
  // entry one code later than this side, so the check uses the count before this side's add.
  const auto widen = [&] {
    if (next == (1 << width) && width < 12) ++width;
  };
  emit(clear);
  if (!indices.empty()) {
    int current = indices[0];
    for (std::size_t i = 1; i < indices.size(); ++i) {
      const int k = indices[i];
      const auto found = table.find({current, k});
      if (found != table.end()) {
        current = found->second;
        continue;
      }
      emit(current);
      widen();
      table[{current, k}] = next++;
      if (next == 4096) {
        emit(clear);
        table.clear();
        width = minCodeSize + 1;
        next = clear + 2;
      }
      current = k;
    }
    emit(current);
    widen();
  }
  emit(clear + 1);
  if (bits > 0) out += static_cast<char>(buffer & 0xFF);
  return out;
}

Bytes SubBlocks(std::string_view data) {
  Bytes out;
  while (!data.empty()) {
    const std::size_t n = std::min<std::size_t>(255, data.size());
    out += static_cast<char>(n);
    out += data.substr(0, n);
    data.remove_prefix(n);
  }
  out += '\0';
  return out;
}

namespace {

int TableBits(std::size_t colours) {
  int bits = 1;
  while ((std::size_t{1} << bits) < colours) ++bits;
  return bits;
}

void PutPalette(Bytes& out, const std::vector<std::uint32_t>& palette) {
  for (std::uint32_t c : palette) {
    out += static_cast<char>(c >> 16);
    out += static_cast<char>(c >> 8);
    out += static_cast<char>(c);
  }
}

}  // namespace

Bytes WriteGif(const GifSpec& spec) {
  Bytes out = spec.version;
  Put16(out, spec.screenWidth);
  Put16(out, spec.screenHeight);
  const bool global = !spec.globalPalette.empty();
  out +=
      static_cast<char>(global ? 0x80 | 0x70 | (TableBits(spec.globalPalette.size()) - 1) : 0x70);
  out += '\0';  // background index
  out += '\0';  // aspect ratio
  if (global) PutPalette(out, spec.globalPalette);
  out += spec.blocksBefore;
  if (spec.transparent >= 0) {
    out += "\x21\xF9\x04\x01";
    Put16(out, 10);
    out += static_cast<char>(spec.transparent);
    out += '\0';
  }
  out += '\x2C';
  Put16(out, spec.left);
  Put16(out, spec.top);
  Put16(out, spec.width);
  Put16(out, spec.height);
  const bool local = !spec.localPalette.empty();
  out += static_cast<char>((local ? 0x80 | (TableBits(spec.localPalette.size()) - 1) : 0) |
                           (spec.interlaced ? 0x40 : 0));
  if (local) PutPalette(out, spec.localPalette);

  std::vector<std::uint8_t> stored = spec.indices;
  if (spec.interlaced) {
    stored.clear();
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
      for (int y = kStart[pass]; y < spec.height; y += kStep[pass]) {
        const auto row = spec.indices.begin() + static_cast<std::ptrdiff_t>(y) * spec.width;
        stored.insert(stored.end(), row, row + spec.width);
      }
    }
  }
  const std::size_t colours = local ? spec.localPalette.size() : spec.globalPalette.size();
  const int minCodeSize = spec.minCodeSize ? spec.minCodeSize : std::max(2, TableBits(colours));
  out += static_cast<char>(minCodeSize);
  out += SubBlocks(LzwEncode(stored, minCodeSize));
  if (spec.trailer) out += '\x3B';
  return out;
}

Bytes WriteIcon(int type, const std::vector<IconEntry>& entries) {
  Bytes out;
  Put16(out, 0);
  Put16(out, type);
  Put16(out, static_cast<unsigned>(entries.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
  for (const auto& e : entries) {
    out += static_cast<char>(e.width >= 256 ? 0 : e.width);
    out += static_cast<char>(e.height >= 256 ? 0 : e.height);
    out += '\0';  // colour count
    out += '\0';
    Put16(out, type == 2 ? 3 : 1);  // hot spot x for a cursor, planes for an icon
    Put16(out, type == 2 ? 5 : e.bitCount);
    Put32(out, static_cast<std::uint32_t>(e.data.size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(e.data.size());
  }
  for (const auto& e : entries) out += e.data;
  return out;
}

Bytes IconBitmap(int width, int height, int bits, const std::vector<std::uint32_t>& pixels,
                 const std::vector<std::uint32_t>& palette, const std::vector<std::uint8_t>& mask) {
  BmpSpec spec;
  spec.width = width;
  spec.height = height * 2;
  spec.bits = bits;
  spec.palette = palette;
  if (bits <= 8 && spec.palette.size() > (std::size_t{1} << bits)) spec.palette.resize(1 << bits);
  if (bits <= 8 && spec.palette.size() < (std::size_t{1} << bits)) {
    spec.coloursUsed = static_cast<std::uint32_t>(spec.palette.size());
  }
  spec.fileHeader = false;
  std::vector<Bytes> rows, maskRows;
  for (int y = height - 1; y >= 0; --y) {  // bottom-up
    Bytes row((static_cast<std::size_t>(width) * bits + 7) / 8, '\0');
    Bytes maskRow((static_cast<std::size_t>(width) + 7) / 8, '\0');
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
      if (bits == 32) {
        for (int k = 0; k < 4; ++k) row[4 * x + k] = static_cast<char>(p >> (8 * k));
      } else if (bits == 8) {
        row[x] = static_cast<char>(p);
      } else if (bits == 4) {
        row[x / 2] = static_cast<char>(row[x / 2] | p << ((x & 1) ? 0 : 4));
      } else {
        row[x / 8] = static_cast<char>(row[x / 8] | (p & 1) << (7 - x % 8));
      }
      if (!mask.empty() && mask[static_cast<std::size_t>(y) * width + x]) {
        maskRow[x / 8] = static_cast<char>(maskRow[x / 8] | 0x80 >> (x % 8));
      }
    }
    rows.push_back(row);
    maskRows.push_back(maskRow);
  }
  spec.pixels = PadRows(rows) + PadRows(maskRows);
  return WriteBmp(spec);
}

Bytes PcxEncode(std::string_view line) {
  Bytes out;
  for (std::size_t i = 0; i < line.size();) {
    std::size_t run = 1;
    while (i + run < line.size() && run < 63 && line[i + run] == line[i]) ++run;
    const auto value = static_cast<std::uint8_t>(line[i]);
    if (run > 1 || value >= 0xC0) out += static_cast<char>(0xC0 | run);
    out += line[i];
    i += run;
  }
  return out;
}

Bytes WritePcx(const PcxSpec& spec) {
  const int bytesPerLine =
      spec.bytesPerLine ? spec.bytesPerLine : ((spec.width * spec.bits + 15) / 16) * 2;
  Bytes out;
  out += '\x0A';
  out += static_cast<char>(spec.version);
  out += '\x01';
  out += static_cast<char>(spec.bits);
  Put16(out, 0);
  Put16(out, 0);
  Put16(out, spec.width - 1);
  Put16(out, spec.height - 1);
  Put16(out, 72);
  Put16(out, 72);
  out.append(reinterpret_cast<const char*>(spec.headerPalette.data()), 48);
  out += '\0';
  out += static_cast<char>(spec.planes);
  Put16(out, bytesPerLine);
  Put16(out, 1);
  out.resize(128, '\0');
  out += spec.rawData;
  for (const auto& row : spec.rows) {
    for (int p = 0; p < spec.planes; ++p) {
      Bytes plane = row.substr(std::min(row.size(), static_cast<std::size_t>(p) * bytesPerLine),
                               bytesPerLine);
      plane.resize(bytesPerLine, '\0');
      out += PcxEncode(plane);
    }
  }
  if (!spec.palette.empty()) {
    out += '\x0C';
    for (std::uint32_t c : spec.palette) {
      out += static_cast<char>(c >> 16);
      out += static_cast<char>(c >> 8);
      out += static_cast<char>(c);
    }
    out.append(3 * (256 - spec.palette.size()), '\0');
  }
  return out;
}

void SaveFuzzSeed(std::string_view target, std::string_view name, std::string_view bytes) {
#ifndef _WIN32
  std::string file;
  for (char c : name) file += std::isalnum(static_cast<unsigned char>(c)) || c == '.' ? c : '-';
  const auto save = [](std::string_view folderName, const std::string& file,
                       std::string_view content) {
    const std::filesystem::path folder =
        std::filesystem::path(LUMENTA_BINARY_DIR) / "fuzz-seeds" / std::string(folderName);
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::ofstream(folder / file, std::ios::binary)
        .write(content.data(), static_cast<std::streamsize>(content.size()));
  };
  save(target, file, bytes);
  // Every picture is also a seed of the preview target, shown in a 231 x 250 box (the first
  // four bytes of its input give the box size).
  if (target != "fuzz_preview") {
    save("fuzz_preview", std::string(target) + "-" + file,
         std::string("\xE7\x00\xFA\x00", 4) + std::string(bytes));
  }
#else
  (void)target;
  (void)name;
  (void)bytes;
#endif
}

}  // namespace lumenta::image::testing
