// Fuzz target: the type test's tag parse followed by the floating-point TIFF decoder.
#include "fuzz/reader_fuzz_support.h"
#include "image/formats/tiff.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const kestrin::DecodeOptions options = kestrin::fuzz::options_for(bytes);
  kestrin::TiffTags tags;
  kestrin::LogLines lines;
  kestrin::sniff_tiff_type(bytes, tags, lines);
  kestrin::fuzz::decode_lent([&](kestrin::ImageData storage) {
    return kestrin::decode_tiff_float_image(bytes, tags, options, std::move(storage));
  });
  return 0;
}
