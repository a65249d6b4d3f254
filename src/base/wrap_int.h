// The platform's conversion of a double to a 32-bit integer, as the processor performs it.
#pragma once

#include <cmath>
#include <cstdint>

namespace kestrin {

// Rounds to nearest (ties to even) into a 64-bit integer and keeps its low 32 bits, so
// 2^32 + 5 gives 5 and 2^31 gives -2^31. NaN, the infinities and values outside the
// 64-bit range give 0 (the low half of the processor's "integer indefinite").
inline int32_t RoundToInt32Wrapped(double d) {
  double r = std::nearbyint(d);  // the default rounding mode: to nearest, ties to even
  if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) return 0;
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(r))));
}

}  // namespace kestrin
