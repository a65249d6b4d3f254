// Fuzz target: the ring-mask file reader; conversion errors are its answer to bad cells.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/convert.h"
#include "image/files/ring_mask_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kestrin::RingList rings;
  try {
    kestrin::read_ring_mask_text(std::string_view(reinterpret_cast<const char*>(data), size), rings);
  } catch (const kestrin::ConversionError&) {
  }
  return 0;
}
