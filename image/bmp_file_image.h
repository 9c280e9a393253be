#pragma once
// The BMP file image of a device-independent bitmap, as the clipboard picture source stores it:
//   - the two headers (bmp_headers.h): the rows start at 54 + 4 x the colour-table entries, and
//     the information header is as given;
//   - the colour table: 2, 16 or 256 entries for 1, 4 or 8 bits per pixel; for 16, 24 or 32
//     bits none, unless the header names a colour count, then that many;
//   - the pixel rows as given.
#include <cstdint>
#include <optional>
#include <string_view>

#include "base/text.h"
#include "image/bmp_headers.h"

namespace lumenta::image {

// How many colour-table entries the file image carries for `header` (see above).
[[nodiscard]] std::uint32_t ColourTableEntries(const DibHeader& header);

// The bytes of the rows of `header`'s bitmap: each row padded to four bytes, |height| rows.
[[nodiscard]] std::uint64_t DibPixelBytes(const DibHeader& header);

// The file image. `colourTable` holds 4-byte entries (blue, green, red, zero), at least
// ColourTableEntries of them; `pixels` the rows. Nothing when the table is too short or the
// image would not fit a BMP file's 32-bit size field.
[[nodiscard]] std::optional<ByteBuffer> MakeBmpFileImage(const DibHeader& header,
                                                         std::string_view colourTable,
                                                         std::string_view pixels);

}  // namespace lumenta::image
