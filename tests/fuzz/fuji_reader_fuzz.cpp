// Fuzz target: the Fuji header parser, then the pixel decoder with the parsed header applied
// to the store (the input serves as both the header text and the pixel bytes).
#include <string_view>

#include "fuzz/reader_fuzz_support.h"
#include "image/formats/fuji.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  kestrin::fuzz::begin_run(bytes);
  kestrin::FujiHeader h;
  std::string error;
  if (!kestrin::parse_fuji_header(std::string_view(reinterpret_cast<const char*>(data), size), 16, h, error)) return 0;
  static kestrin::ImageStore store;
  store.ImageWidth = h.width;
  store.ImageHeight = h.height;
  store.BitsPerPixel = h.bits;
  store.BytesPerPixel = h.bytes_per_pixel;
  store.Latitude = h.latitude;
  kestrin::decode_fuji_image(store, bytes);
  return 0;
}
