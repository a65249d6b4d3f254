// The TIFF tag parser: byte orders, SHORT and LONG values, inline and offset arrays.
#include <gtest/gtest.h>

#include "image/formats/tiff_tags.h"
#include "support/tiff_fixture.h"

namespace kestrin {
namespace {

using test::TiffFixture;

struct ParseCase {
  const char* name;
  bool big_endian;
  bool long_sizes;
  bool short_arrays;
  uint32_t rows_per_strip;
  size_t strips;
};

TEST(TiffTags, ParsesSizesAndStripsInEveryLayout) {
  const ParseCase cases[] = {
      {"II short, one strip", false, false, false, 0, 1},
      {"MM short, one strip", true, false, false, 0, 1},
      {"II long sizes", false, true, false, 0, 1},
      {"MM long sizes", true, true, false, 0, 1},
      {"MM two SHORT strips inline", true, false, true, 3, 2},
      {"II two SHORT strips inline", false, false, true, 3, 2},
      {"II four LONG strips at an offset", false, false, false, 1, 4},
      {"MM three SHORT strips at an offset", true, true, true, 2, 3},
  };
  for (const auto& c : cases) {
    TiffFixture f;
    f.big_endian = c.big_endian;
    f.long_sizes = c.long_sizes;
    f.short_strip_arrays = c.short_arrays;
    f.rows_per_strip = c.rows_per_strip;
    f.height = c.rows_per_strip == 2 ? 6 : 4;
    f.samples.assign(size_t(f.width) * f.height * 2, 7);
    const auto bytes = f.build();
    TiffTags t;
    ASSERT_TRUE(parse_tiff_tags(bytes, t)) << c.name;
    EXPECT_EQ(t.big_endian, c.big_endian) << c.name;
    EXPECT_EQ(t.image_width, 8u) << c.name;
    EXPECT_EQ(t.image_length, f.height) << c.name;
    EXPECT_EQ(t.bits_per_sample, 16u) << c.name;
    EXPECT_EQ(t.compression, 1u) << c.name;
    EXPECT_EQ(t.samples_per_pixel, 1u) << c.name;
    ASSERT_EQ(t.strip_offsets.size(), c.strips) << c.name;
    ASSERT_EQ(t.strip_byte_counts.size(), c.strips) << c.name;
    const size_t data = bytes.size() - f.samples.size();
    for (size_t i = 0; i < c.strips; ++i)
      EXPECT_EQ(t.strip_offsets[i], data + i * t.rows_per_strip * 16) << c.name << " strip " << i;
    EXPECT_EQ(t.strip_offset, t.strip_offsets[0]);
    EXPECT_EQ(t.strip_byte_count, t.strip_byte_counts[0]);
    EXPECT_EQ(t.entry_count, t.entries.size());
  }
}

TEST(TiffTags, ShortValueIsTheFirstTwoBytesOfTheField) {
  // In "MM" a SHORT 0x0102 is stored as 01 02 00 00; reading the field as a LONG would give
  // 0x01020000.
  TiffFixture f;
  f.big_endian = true;
  f.width = 0x0102;
  f.height = 1;
  const auto bytes = f.build();
  TiffTags t;
  ASSERT_TRUE(parse_tiff_tags(bytes, t));
  EXPECT_EQ(t.image_width, 0x0102u);
  const auto& e = t.entries[0];
  EXPECT_EQ(e.field, 0x01020000u);
  uint32_t v = 99;
  EXPECT_TRUE(tiff_tag_value(bytes, true, e, v));
  EXPECT_EQ(v, 0x0102u);
  // Other types leave the value as it was.
  TiffEntry ascii{kTagGelSampleInfo, kTiffAscii, 2, 0, e.field_pos};
  EXPECT_FALSE(tiff_tag_value(bytes, true, ascii, v));
  EXPECT_EQ(v, 0x0102u);
}

TEST(TiffTags, RefusesWhatIsNotATiffHeader) {
  const std::vector<std::vector<uint8_t>> bad = {
      {},
      {'I', 'I', 42, 0},
      {'I', 'I', 0, 42, 8, 0, 0, 0},
      {'M', 'M', 42, 0, 0, 0, 0, 8},
      {'I', 'M', 42, 0, 8, 0, 0, 0},
      {'I', 'I', 42, 0, 200, 0, 0, 0},         // IFD past the end
      {'I', 'I', 42, 0, 8, 0, 0, 0, 5, 0},     // five entries announced, none present
  };
  for (const auto& b : bad) {
    TiffTags t;
    t.image_width = 5;
    EXPECT_FALSE(parse_tiff_tags(b, t)) << b.size();
    EXPECT_EQ(t.image_width, 0u);
  }
}

TEST(TiffTags, ArraysOutsideTheFileStayEmpty) {
  TiffFixture f;
  f.samples.assign(64, 0);
  f.extra = {{273, 4, 1000000, f.u32({1, 2})}, {279, 4, 3, f.u32({0xFFFFFFF0u, 0, 0})}};
  f.extra[1].value.resize(12, 0);
  TiffTags t;
  ASSERT_TRUE(parse_tiff_tags(f.build(), t));
  EXPECT_TRUE(t.strip_offsets.empty());
  EXPECT_EQ(t.strip_byte_counts.size(), 3u);
}

TEST(TiffTags, SwapHelpers) {
  EXPECT_EQ(swap16(0x1234), 0x3412);
  EXPECT_EQ(swap32(0x12345678u), 0x78563412u);
}

TEST(TiffTags, TheTypeTestsLinesNameTheReaderAndTheError) {
  TiffTags t;
  LogLines lines;
  const std::vector<uint8_t> not_tiff = {'n', 'o', 't', ' ', 'a', ' ', 't', 'i', 'f'};
  EXPECT_EQ(read_tiff_tags(not_tiff, t, lines), 1);
  EXPECT_EQ(read_tiff_tags({}, t, lines), 1);
  EXPECT_EQ(lines, (LogLines{" read_tiff_file()", " read_tiff_tags:error", " read_tiff_file()", " read_tiff_tags:error"}));
  TiffFixture f;
  f.samples.assign(64, 0);
  lines.clear();
  EXPECT_EQ(read_tiff_tags(f.build(), t, lines), 0);
  EXPECT_EQ(lines, LogLines{" read_tiff_file()"});
}

}  // namespace
}  // namespace kestrin
