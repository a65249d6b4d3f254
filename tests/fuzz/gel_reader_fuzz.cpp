// Fuzz target: the GEL decoder on arbitrary bytes.
#include "fuzz/reader_fuzz_support.h"
#include "image/formats/tiff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const kestrin::DecodeOptions options = kestrin::fuzz::options_for(bytes);
  kestrin::fuzz::decode_lent([&](kestrin::ImageData storage) {
    return kestrin::decode_gel_image(bytes, options, std::move(storage));
  });
  return 0;
}
