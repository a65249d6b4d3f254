// Fuji BAS2000, BAS2500, MAC-to-BAS and BA100 imaging plates: a positional text header
// (".inf") and raw big-endian pixels (".img") with a logarithmic intensity law.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "image/formats/decoded_image.h"

namespace kestrin {

// What the ".inf" header declares.
struct FujiHeader {
  int32_t type = kTypeBA100;
  bool ba100 = false;
  int bits = 16;
  int bytes_per_pixel = 2;
  int32_t width = 0;
  int32_t height = 0;
  int32_t sensitivity = 0;
  double latitude = 0.0;
  double pixel_x = 0.0;  // mm; BA100 gives one size for both axes
  double pixel_y = 0.0;
  std::string info1;
  std::string info2;
};

// Parses the header text. `prior_bits` stays the bit depth when the bits line names none of
// 8, 10, 16. False with the conversion message in `error` when a numeric line is not a number.
bool parse_fuji_header(std::string_view text, int prior_bits, FujiHeader& h, std::string& error);

// The image from its header text and pixel bytes: the header's kind, reading conditions and
// pixel sizes (given also when its size is then refused), then the pixels by its size and
// bit depth. `options.prior_bits` is the depth kept when the header names none.
DecodedImage decode_fuji_image(std::string_view header_text, std::span<const uint8_t> pixels,
                               const DecodeOptions& options, ImageData storage = {});

// The same with the header read from `inf_path` (exact name, else a unique match without
// case); a header that cannot be read ends the decode with its "open error." line.
DecodedImage read_fuji_image(const std::string& inf_path, std::span<const uint8_t> pixels, const DecodeOptions& options,
                             ImageData storage = {});

// Writes the codes of `image` to `name` with the bit depth and size of the header beside
// it: the header `inf_source` is first copied to `name` with the extension ".inf" unless
// that file exists. With `reverse_rows` the rows are flipped back.
WriteResult save_fuji_file(const ImageData& image, const std::string& inf_source, const std::string& name,
                           bool reverse_rows);

}  // namespace kestrin
