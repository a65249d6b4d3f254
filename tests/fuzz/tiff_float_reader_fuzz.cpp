// Fuzz target: the type test's tag parse followed by the floating-point TIFF decoder.
#include "fuzz/reader_fuzz_support.h"
#include "image/formats/tiff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  kestrin::fuzz::begin_run(bytes);
  kestrin::TiffTags tags;
  kestrin::parse_tiff_tags(bytes, tags);
  static kestrin::ImageStore store;
  kestrin::decode_tiff_float_image(store, bytes, tags);
  return 0;
}
