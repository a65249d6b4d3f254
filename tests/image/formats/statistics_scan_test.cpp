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

// Where every law's rounded intensity rises with the code (the TIFF laws and linear GEL), the
// lowest and highest code give the statistics of the pixel-by-pixel rule; the other laws have
// codes that share a rounded intensity or fall back, and are not taken for such.
TEST(StatisticsScan, LowestAndHighestCodeSufficeWhereRoundedIntensitiesRise) {
  struct Law {
    const char* name;
    void (*build)(ImageData&);
    bool rises;
  };
  const Law laws[] = {
      {"TIFF 16", [](ImageData& s) { build_tiff_tables(s, 16); }, true},
      {"TIFF 8", [](ImageData& s) { build_tiff_tables(s, 8); }, true},
      {"float TIFF", [](ImageData& s) { build_float_tiff_tables(s); }, true},
      {"linear GEL", [](ImageData& s) { build_gel_tables(s, 16, false, 1.0); }, true},
      {"square-root GEL", [](ImageData& s) { build_gel_tables(s, 16, true, 0.37); }, false},
      {"overflow", [](ImageData& s) { build_overflow_tables(s, 1.0f); }, false},
      {"Fuji", [](ImageData& s) { build_fuji_tables(s, 16, 4.0); }, false},
  };
  std::mt19937 rng(3);
  for (const Law& law : laws) {
    ImageData s;
    law.build(s);
    EXPECT_EQ(rounded_intensities_increase(s.intensity_table), law.rises) << law.name;
    if (!law.rises) continue;
    for (int round = 0; round < 8; ++round) {
      s.set_size(40 + int(rng() % 300), 1, 2);
      const int base = int(rng() % 65000), spread = 1 + int(rng() % 536);
      for (auto& c : s.image_codes) c = uint16_t(base + int(rng() % spread));
      if (round % 4 == 0) s.image_codes[rng() % s.image_codes.size()] = uint16_t(round == 0 ? 0 : 65535);
      CodeRange range;
      range.add(s.image_codes.data(), s.image_codes.size() / 2);
      CodeRange rest;
      rest.add(s.image_codes.data() + s.image_codes.size() / 2, s.image_codes.size() - s.image_codes.size() / 2);
      range.merge(rest);
      scan_statistics(s, range);
      EXPECT_EQ((Stats{s.LinearMin, s.LinearMax, s.LogMin, s.LogMax}), reference(s)) << law.name << round;
    }
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
