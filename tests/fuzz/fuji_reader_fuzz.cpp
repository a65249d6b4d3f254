// Fuzz target: the Fuji header parser and pixel decoder, the input serving as both the
// header text and the pixel bytes.
#include <string_view>

#include "fuzz/reader_fuzz_support.h"
#include "image/formats/fuji.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const kestrin::DecodeOptions options = kestrin::fuzz::options_for(bytes);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  kestrin::fuzz::decode_lent([&](kestrin::ImageData storage) {
    return kestrin::decode_fuji_image(text, bytes, options, std::move(storage));
  });
  return 0;
}
