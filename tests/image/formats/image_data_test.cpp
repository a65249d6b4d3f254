// Image data tables and statistics for the overflow and Fuji laws.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "image/formats/image_data.h"

namespace kestrin {
namespace {

struct CodeCase {
  int code;
  double intensity;
};

TEST(OverflowTables, BoundaryCodesWithRatio8) {
  ImageData s;
  build_overflow_tables(s, 8.0f);
  const CodeCase cases[] = {{0, 0}, {1, 1}, {32767, 32767}, {32768, 0}, {32769, 8}, {40000, 57856}, {65535, 262136}};
  for (auto c : cases) EXPECT_EQ(s.intensity_table[c.code], c.intensity) << c.code;
  EXPECT_EQ(s.LinearSaturation, 262136);
  EXPECT_EQ(s.LogSaturation, 10000);
  // Codes 0 and 32768 have intensity 0 and log value 0; the top code is full scale.
  EXPECT_EQ(s.log_table[0], 0.0);
  EXPECT_EQ(s.log_table[32768], 0.0);
  EXPECT_DOUBLE_EQ(s.log_table[65535], 10000.0);
  EXPECT_DOUBLE_EQ(s.log_table[32767], std::log(32767.0) * 10000.0 / std::log(32767.0 * 8.0));
}

TEST(OverflowTables, RatioKeepsSinglePrecisionValue) {
  ImageData s;
  const float ratio = 1.1f;  // not exactly 1.1 as a double
  build_overflow_tables(s, ratio);
  EXPECT_EQ(s.intensity_table[32768 + 10], 10 * static_cast<double>(ratio));
  EXPECT_NE(s.intensity_table[32768 + 10], 10 * 1.1);
}

TEST(OverflowTables, BadRatiosNeverGiveNaN) {
  for (float ratio : {0.0f, -3.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    ImageData s;
    build_overflow_tables(s, ratio);
    for (int c = 0; c < kCodeCount; ++c) {
      ASSERT_TRUE(std::isfinite(s.intensity_table[c])) << ratio << " " << c;
      ASSERT_TRUE(std::isfinite(s.log_table[c])) << ratio << " " << c;
    }
    EXPECT_EQ(s.OverflowRatio, 1.0f);
  }
}

TEST(OverflowTables, HugeRatioSaturatesInsteadOfOverflowing) {
  ImageData s;
  build_overflow_tables(s, 1e9f);
  EXPECT_EQ(s.LinearSaturation, std::numeric_limits<int32_t>::max());
}

TEST(FujiTables, LawAndSaturation) {
  ImageData s;
  build_fuji_tables(s, 8, 4.0);
  EXPECT_EQ(s.intensity_table[0], 1.0);
  EXPECT_DOUBLE_EQ(s.intensity_table[128], std::pow(10.0, 128 * 4.0 / 256));
  EXPECT_EQ(s.log_table[200], 200.0);
  EXPECT_EQ(s.LogSaturation, 255);
  EXPECT_EQ(s.LinearSaturation, static_cast<int32_t>(std::nearbyint(std::pow(10.0, 255 * 4.0 / 256) + 0.5)));
  build_fuji_tables(s, 16, 5.0);
  EXPECT_EQ(s.LogSaturation, 65535);
}

TEST(FujiTables, EntriesBeyondTheRangeDoNotKeepAnEarlierImage) {
  ImageData a, b;
  build_overflow_tables(a, 8.0f);  // an earlier image of another kind
  build_fuji_tables(a, 8, 4.0);
  build_fuji_tables(b, 8, 4.0);  // fresh store
  EXPECT_EQ(a.intensity_table, b.intensity_table);
  EXPECT_EQ(a.log_table, b.log_table);
  EXPECT_EQ(a.intensity_table[40000], a.intensity_table[255]);
  EXPECT_EQ(a.OverflowRatio, 1.0f);
}

TEST(Statistics, StrictComparisonAgainstStoredRoundedValues) {
  ImageData s;
  build_overflow_tables(s, 8.0f);
  s.set_size(4, 1, 2);
  // 2.5 rounds to 2 (half to even); 32768 has intensity 0.
  s.intensity_table[7] = 2.5;
  s.image_codes = {5, 7, 32768, 40000};
  scan_statistics(s);
  EXPECT_EQ(s.LinearMax, 57856);
  EXPECT_EQ(s.LogMax, round_saturated(s.log_table[40000]));
  EXPECT_EQ(s.LinearMin, 0);
  EXPECT_EQ(s.LogMin, 0);

  // A later pixel with a smaller unrounded intensity than the first can still replace
  // the stored, rounded maximum.
  s.intensity_table[1] = 10.4;
  s.intensity_table[2] = 10.2;
  s.image_codes = {1, 2, 1, 1};
  scan_statistics(s);
  EXPECT_EQ(s.LinearMax, 10);
}

TEST(Encoding, InverseOfOverflowLaw) {
  EXPECT_EQ(encode_overflow_intensity(0.0, 8.0f), 0);
  EXPECT_EQ(encode_overflow_intensity(32767.0, 8.0f), 32767);
  EXPECT_EQ(encode_overflow_intensity(57856.0, 8.0f), 40000);
  EXPECT_EQ(encode_overflow_intensity(1e12, 8.0f), 65535);
  EXPECT_EQ(encode_overflow_intensity(std::nan(""), 8.0f), 0);
}

}  // namespace
}  // namespace kestrin
