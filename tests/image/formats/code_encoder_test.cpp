// Intensities back to codes: every law's decode of the encoded value is the value (or the
// nearest intensity the law has), and the ends clamp instead of wrapping.
#include "image/formats/code_encoder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kestrin {
namespace {

struct Case {
  double value;
  uint16_t code;
};

TEST(CodeEncoder, OverflowLawRoundsClampsAndSetsBit15) {
  ImageData img;
  build_overflow_tables(img, 8.0f);
  for (const int32_t type : {kTypeRaxis, kTypeRigaku, kTypeRaxisCS, kTypeHipic, kTypeBruker}) {
    const CodeEncoder e(img, type);
    const Case cases[] = {{-3, 0},          {0.5, 0},       {1.5, 2},         {32767, 32767},
                          {40000, 37768},   {32767.4, 36864}, {1e12, 65535},  {std::nan(""), 0}};
    for (const Case& c : cases) EXPECT_EQ(e.encode(c.value), c.code) << type << " " << c.value;
    EXPECT_EQ(e.encode_truncating(12.9), 12);
    EXPECT_EQ(e.encode_truncating(40000), 37768);
  }
}

TEST(CodeEncoder, TiffIsTheIdentityClampedToSixteenBits) {
  ImageData img;
  build_tiff_tables(img, 16);
  const CodeEncoder e(img, kTypeTiff);
  const Case cases[] = {{-1, 0}, {40000.5, 40000}, {40001.5, 40002}, {65535, 65535}, {70000, 65535}};
  for (const Case& c : cases) EXPECT_EQ(e.encode(c.value), c.code) << c.value;
  EXPECT_EQ(e.encode_truncating(300.7), 300);
  EXPECT_EQ(e.encode_truncating(40000.7), 40001);
}

// Fuji, GEL and floating-point TIFF tables: the nearest code of the table.
TEST(CodeEncoder, TableLawsGiveTheNearestCode) {
  struct Law {
    int32_t type;
    void (*build)(ImageData&);
  };
  const Law laws[] = {
      {kTypeBAS2500, [](ImageData& i) { build_fuji_tables(i, 16, 4.0); }},
      {kTypeBAS2000, [](ImageData& i) { build_fuji_tables(i, 10, 5.0); }},
      {kTypeGel, [](ImageData& i) { build_gel_tables(i, 16, true, 0.01); }},
      {kTypeFloatTiff, [](ImageData& i) { build_float_tiff_tables(i); }},
  };
  for (const Law& law : laws) {
    ImageData img;
    law.build(img);
    const CodeEncoder e(img, law.type);
    const CodeTable& t = img.intensity_table;
    for (const uint16_t c : {uint16_t(0), uint16_t(1), uint16_t(500), uint16_t(1000)}) {
      EXPECT_EQ(t[e.encode(t[c])], t[c]) << law.type << " code " << c;
      const double between = t[c] + 0.3 * (t[c + 1u] - t[c]);
      if (t[c + 1u] > t[c]) {
        EXPECT_EQ(e.encode(between), c) << law.type << " code " << c;
      }
    }
    EXPECT_EQ(t[e.encode(t[0] - 1e6)], t[0]);
    // Above the table's top: the first code holding the top value.
    const uint16_t top = e.encode(1e300);
    EXPECT_EQ(t[top], t.back()) << law.type;
    EXPECT_TRUE(top == 0 || t[top - 1u] < t[top]) << law.type;
  }
}

}  // namespace
}  // namespace kestrin
