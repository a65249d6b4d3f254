// The zeroed vector: fresh storage reads as zeros whether it comes from the heap or, for
// large blocks, straight from the system, and a new vector after writes is zero again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "base/uninit_vector.h"

namespace kestrin {
namespace {

bool all_zero(const ZeroedVector<uint8_t>& v) {
  return std::all_of(v.begin(), v.end(), [](uint8_t b) { return b == 0; });
}

TEST(ZeroedVector, FreshStorageIsZeroOnBothPaths) {
  // Below and above the size from which blocks are mapped from the system.
  for (size_t n : {size_t(0), size_t(1), size_t(4097), (size_t(4) << 20) - 1, size_t(4) << 20, size_t(9) << 20}) {
    ZeroedVector<uint8_t> v(n);
    ASSERT_EQ(v.size(), n);
    EXPECT_TRUE(all_zero(v)) << n;
    std::fill(v.begin(), v.end(), uint8_t(7));
    ZeroedVector<uint8_t> copy = v;
    EXPECT_TRUE(std::all_of(copy.begin(), copy.end(), [](uint8_t b) { return b == 7; })) << n;
    // A new vector in place of the written one, as the mask makes on clearing.
    v = {};
    v = ZeroedVector<uint8_t>(n);
    EXPECT_TRUE(all_zero(v)) << n;
    EXPECT_TRUE(v == std::vector<uint8_t>(n, 0)) << n;
  }
}

}  // namespace
}  // namespace kestrin
