// The background filter written out literally: each window copied in row-major order and
// partially sorted by the bubble passes, as the reference of the fast filter.
#pragma once

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "analysis/rank_filter.h"

namespace kestrin::test {

// R of Percent for N samples, truncated toward zero and kept inside the window.
inline int64_t literal_rank(int64_t n, int32_t percent) {
  const double r = double(percent - 50) * double(n) / 100.0;
  return std::clamp<int64_t>(int64_t(r) + n / 2, 0, n - 1);
}

inline std::vector<uint16_t> literal_rank_filter(const std::vector<uint16_t>& src, int32_t W, int32_t H, int32_t size,
                                                 int32_t step, int32_t percent) {
  std::vector<uint16_t> dst = src;
  const int32_t h = size / 2, k = (size - 1) / (step + 1) + 1;
  const int64_t rank = literal_rank(int64_t(k) * k, percent);
  std::vector<uint16_t> window;
  for (int32_t y = h; y <= H - 1 - h; ++y)
    for (int32_t x = h; x <= W - 1 - h; ++x) {
      window.clear();
      for (int32_t i = 0; i < k; ++i)
        for (int32_t j = 0; j < k; ++j) window.push_back(src[size_t(x - h + j * (step + 1)) + size_t(W) * size_t(y - h + i * (step + 1))]);
      partial_sort_codes(window, rank);
      dst[size_t(x) + size_t(W) * size_t(y)] = window[size_t(rank)];
    }
  return dst;
}

// Codes around `centre` spread by `spread`, some far outliers among them.
inline std::vector<uint16_t> random_codes(int32_t W, int32_t H, uint32_t seed, int32_t centre, int32_t spread) {
  std::mt19937 rng(seed);
  std::vector<uint16_t> v(size_t(W) * size_t(H));
  for (uint16_t& c : v) {
    const int32_t r = int32_t(rng() % 1000);
    c = r < 20 ? uint16_t(rng() % 65536) : uint16_t(std::clamp<int32_t>(centre + int32_t(rng() % uint32_t(2 * spread + 1)) - spread, 0, 65535));
  }
  return v;
}

}  // namespace kestrin::test
