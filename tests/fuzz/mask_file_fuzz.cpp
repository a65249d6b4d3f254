// Fuzz target: a ".bgz" file added to a mask of the size its header gives (when small), and
// written back.
#include <cstddef>
#include <cstdint>
#include <span>

#include "base/byte_reader.h"
#include "image/files/mask_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  const kestrin::ByteReader r(bytes);
  const auto w = r.i32le(0), h = r.i32le(4);
  kestrin::ImageMask mask;
  mask.resize(w && *w > 0 && *w <= 300 ? *w : 13, h && *h > 0 && *h <= 300 ? *h : 7);
  kestrin::merge_mask_file(bytes, mask);
  kestrin::encode_mask_file(mask);
  return 0;
}
