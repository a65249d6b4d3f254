// Fuzz target: the gel decoder on arbitrary bytes.
#include "fuzz/reader_fuzz_support.h"
#include "image/formats/tiff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  kestrin::fuzz::begin_run(bytes);
  static kestrin::ImageStore store;
  kestrin::decode_gel_image(store, bytes);
  return 0;
}
