// Fuzz target: the Bruker decoder. Inputs whose last byte is odd are padded with zeros to a
// whole frame, so the pixel path is reached without multi-megabyte inputs.
#include <vector>

#include "fuzz/reader_fuzz_support.h"
#include "image/formats/bruker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> bytes(data, data + size);
  if (size > 0 && (data[size - 1] & 1)) bytes.resize(kestrin::kBrukerDataOffset + 2 * 1024 * 1024, 0);
  kestrin::fuzz::decode_lent([&](kestrin::ImageData storage) {
    return kestrin::decode_bruker_image(bytes, std::move(storage));
  });
  return 0;
}
