// The platform's double -> 32-bit integer conversion: nearest with ties to even into 64
// bits, low 32 bits kept; NaN, infinities and values beyond 64 bits give 0.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "base/wrap_int.h"

namespace kestrin {
namespace {

TEST(RoundToInt32Wrapped, TableOfCases) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  struct Row {
    double d;
    int32_t v;
  };
  const Row rows[] = {
      {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {-0.5, 0},
      {2147483647.0, INT32_MAX}, {2147483648.0, INT32_MIN}, {-2147483649.0, INT32_MAX},
      {4294967296.0, 0}, {4294967301.0, 5}, {1e10, 1410065408},
      {1e20, 0}, {-1e20, 0}, {1e300, 0}, {-1e300, 0},
      {9223372036854775808.0, 0},             // 2^63: just outside
      {-9223372036854775808.0, 0},            // -2^63: inside, low 32 bits are 0
      {9223372036854774784.0, -1024},         // the largest double below 2^63
      {-9223372036854774784.0, 1024},
      {kInf, 0}, {-kInf, 0}, {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const Row& r : rows) EXPECT_EQ(RoundToInt32Wrapped(r.d), r.v) << r.d;
}

}  // namespace
}  // namespace kestrin
