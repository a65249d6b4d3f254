// Fuzz target: the BMP import's decode of a picture onto a mask of the size its header
// gives (when small).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "image/files/mask_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  int32_t w = 0, h = 0;
  kestrin::ImageMask mask;
  if (kestrin::bmp_picture_size(bytes, w, h) && w > 0 && h > 0 && w <= 512 && h <= 512) mask.resize(w, h);
  else mask.resize(4, 4);
  std::string error;
  kestrin::merge_red_pixels(bytes, mask, error);
  return 0;
}
