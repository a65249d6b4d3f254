// Fuji BAS2000, BAS2500, MAC-to-BAS and BA100 imaging plates: a positional text header
// (".inf") and raw big-endian pixels (".img") with a logarithmic intensity law.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "image/image_store.h"

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

// Reads the ".inf" header into the store (type, size, bit depth, reading conditions,
// texts) and the pixel sizes into the integration parameters unless they are locked.
// 0 on success, 1 on failure (logged).
int read_information_file(ImageStore& store, const std::string& inf_path);

// Reads the pixels of the ".img" with the size and law the header set. 0 on success,
// 1 on failure (logged).
int read_fuji_file(ImageStore& store, const std::string& img_path);
int decode_fuji_image(ImageStore& store, std::span<const uint8_t> bytes);

// Writes the codes of `image` to `name` with the bit depth and size of the header beside
// it: the header `inf_source` is first copied to `name` with the extension ".inf" unless
// that file exists. Rows are flipped back under VerticalReverse. 0 on success, 1 on failure.
int save_fuji_file(const ImageStore& image, const std::string& inf_source, const std::string& name);

}  // namespace kestrin
