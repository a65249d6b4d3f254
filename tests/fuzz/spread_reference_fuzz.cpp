// Fuzz target: the spread reference reader on arbitrary text, for an image size taken from
// the first two bytes; every limit it accepts lies inside the row, and it never reads more
// limits than the image has rows.
#include <cstdlib>
#include <string_view>

#include "image/image_spread.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int32_t height = data[0] + 1, width = data[1] + 1;
  const std::string_view text(reinterpret_cast<const char*>(data) + 2, size - 2);
  const kestrin::SpreadReference ref = kestrin::parse_spread_reference(text, height, width);
  if (ref.limits.size() > size_t(height)) std::abort();
  if (ref.error.empty() && ref.limits.size() != size_t(height)) std::abort();
  for (int32_t limit : ref.limits)
    if (limit < 0 || limit >= width) std::abort();
  return 0;
}
