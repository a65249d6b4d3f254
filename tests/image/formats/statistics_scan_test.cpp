// The statistics scan against a slow pixel-by-pixel reference, on tables whose rounding
// makes the log value of an extreme depend on the pixel order, and on plain tables.
#include <gtest/gtest.h>

#include <random>

#include "image/formats/image_data.h"

namespace kestrin {
namespace {

struct Stats {
  int32_t lin_min, lin_max, log_min, log_max;
  bool operator==(const Stats&) const = default;
};

// The rule written out: running values start at 0 and the saturation; a pixel whose intensity
// is strictly beyond the stored, rounded value replaces it and the log value.
Stats reference(const ImageData& s) {
  Stats r{s.LinearSaturation, 0, s.LogSaturation, 0};
  for (uint16_t c : s.image_codes) {
    const double v = s.intensity_table[c];
    if (v > r.lin_max) r = {r.lin_min, round_saturated(v), r.log_min, round_saturated(s.log_table[c])};
    if (v < r.lin_min) r = {round_saturated(v), r.lin_max, round_saturated(s.log_table[c]), r.log_max};
  }
  return r;
}

TEST(StatisticsScan, MatchesThePixelByPixelRule) {
  std::mt19937 rng(11);
  for (int round = 0; round < 24; ++round) {
    ImageData s;
    switch (round % 4) {
      case 0: build_overflow_tables(s, 1.0f); break;
      case 1: build_overflow_tables(s, 1.1f); break;
      case 2: build_gel_tables(s, 16, true, 0.37); break;
      default: build_float_tiff_tables(s); break;
    }
    // Neighbouring codes round to the same intensity with different log values.
    const int n = 50 + int(rng() % 400);
    s.set_size(n, 1, 2);
    const int base = int(rng() % 65000);
    const int spread = 1 + int(rng() % 600);
    for (auto& c : s.image_codes) c = uint16_t(base + int(rng() % spread));
    if (round % 3 == 0) s.image_codes[rng() % n] = uint16_t(rng());
    scan_statistics(s);
    EXPECT_EQ((Stats{s.LinearMin, s.LinearMax, s.LogMin, s.LogMax}), reference(s)) << round;
  }
}

TEST(StatisticsScan, EmptyAndAllZeroImages) {
  ImageData s;
  build_overflow_tables(s, 1.0f);
  s.set_size(3, 2, 2);
  scan_statistics(s);
  EXPECT_EQ((Stats{s.LinearMin, s.LinearMax, s.LogMin, s.LogMax}), reference(s));
  EXPECT_EQ(s.LinearMax, 0);
  EXPECT_EQ(s.LinearMin, 0);
  s.image_codes.clear();
  scan_statistics(s);
  EXPECT_EQ(s.LinearMin, 32767);
  EXPECT_EQ(s.LogMin, 10000);
}

}  // namespace
}  // namespace kestrin
