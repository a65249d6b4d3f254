// R-AXIS imaging-plate images (".img", ".stl", ".osc"; types 3, 6, 9): a big-endian header
// record, then big-endian 16-bit codes from the record length on, the whole image or a band
// of rows. The reader decodes a file's bytes; the writer puts codes into a copy of a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "image/formats/decoded_image.h"

namespace kestrin {

// Bytes of the header the program reads: everything up to and including the overflow
// ratio at offset 800. All fields are big-endian.
constexpr size_t kRaxisHeaderBytes = 804;

struct RaxisHeader {
  float wavelength = 0;     // offset 292, angstrom
  float camera_length = 0;  // 344, mm
  int32_t width = 0;        // 768
  int32_t height = 0;       // 772
  float pixel_x = 0;        // 776, mm
  float pixel_y = 0;        // 780, mm
  int32_t record_length = 0;  // 784: the pixel rows begin at this offset
  int32_t rows = 0;           // 788: rows stored when a start row is given
  int32_t start_row = 0;      // 792: 0 for a whole image
  float overflow_ratio = 0;   // 800
};

// The header fields; nullopt when `bytes` is shorter than kRaxisHeaderBytes.
std::optional<RaxisHeader> parse_raxis_header(std::span<const uint8_t> bytes);

// The wavelength, camera length and pixel sizes of a header, widened to double.
HeaderGeometry raxis_header_geometry(const RaxisHeader& h);

// The image with the header's geometry (given also when the layout is then refused). A file
// holding fewer pixel bytes than its header needs is refused, before anything is allocated;
// rows outside a band of rows stay zero.
DecodedImage decode_raxis_image(std::span<const uint8_t> bytes, const DecodeOptions& options, ImageData storage = {});

// Writes the codes of `image` into `name`: an existing file keeps its header, a new one is a
// copy of `source`. Refuses codes that do not fill the file's image exactly, without
// touching `name`. With `reverse_rows` the rows are flipped back. The file is replaced only
// when complete.
WriteResult save_rigaku_file(const ImageData& image, const std::string& source, const std::string& name,
                             bool reverse_rows);

}  // namespace kestrin
