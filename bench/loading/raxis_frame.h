// The 3000 x 3000 R-AXIS frame the loading benchmarks read: pseudo-random codes with one
// overflow pixel in a thousand.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/byte_reader.h"

namespace kestrin::bench {

constexpr int32_t kRaxisSide = 3000;

// Writes the frame to `path`.
inline void write_raxis_frame(const std::string& path) {
  constexpr int32_t kRecordLength = 2048;
  auto put_f32be = [](uint8_t* p, float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    kestrin::put_u32be(p, u);
  };
  std::vector<uint8_t> b(size_t(kRecordLength) + size_t(kRaxisSide) * kRaxisSide * 2, 0);
  std::memcpy(b.data(), "RAXIS", 5);
  put_f32be(&b[292], 1.5418f);
  put_f32be(&b[344], 250.0f);
  kestrin::put_u32be(&b[768], kRaxisSide);
  kestrin::put_u32be(&b[772], kRaxisSide);
  put_f32be(&b[776], 0.1f);
  put_f32be(&b[780], 0.1f);
  kestrin::put_u32be(&b[784], kRecordLength);
  put_f32be(&b[800], 8.0f);
  uint32_t seed = 12345;
  for (size_t i = 0; i < size_t(kRaxisSide) * kRaxisSide; ++i) {
    seed = seed * 1664525u + 1013904223u;
    uint16_t code = uint16_t((seed >> 8) % 20000);
    if ((seed >> 4) % 1000 == 0) code = uint16_t(32768 + (seed >> 12) % 32768);
    kestrin::put_u16be(&b[kRecordLength + 2 * i], code);
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(b.data(), 1, b.size(), f) != b.size()) std::abort();
  std::fclose(f);
}

}  // namespace kestrin::bench
