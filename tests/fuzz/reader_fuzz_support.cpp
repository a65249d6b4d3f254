// Reader fuzz set-up.
#include "fuzz/reader_fuzz_support.h"

namespace kestrin::fuzz {

DecodeOptions options_for(std::span<const uint8_t> data) {
  DecodeOptions options;
  options.reverse_rows = !data.empty() && (data[0] & 1);
  options.name = "fuzz.img";
  return options;
}

}  // namespace kestrin::fuzz
