// TIFF, floating-point TIFF and GEL readers and the TIFF writer, on files made by code.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/paths.h"
#include "image/formats/tiff.h"
#include "support/reader_fixture.h"
#include "support/tiff_fixture.h"

namespace kestrin {
namespace {

using test::TiffFixture;

std::vector<uint16_t> ramp(size_t n, uint16_t step, uint16_t start = 0) {
  std::vector<uint16_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = uint16_t(start + i * step);
  return v;
}

class TiffReader : public test::ReaderTest {
protected:
  std::string put(const std::vector<uint8_t>& bytes, const std::string& name = "a.tif") {
    test::write_bytes(dir.file(name), bytes);
    return dir.file(name);
  }
  // The loader's sequence: type test, then the reader of the type.
  int load(const std::string& path) {
    TiffTags tags;
    const int type = sniff_tiff_type(path, tags);
    return type == kTypeFloatTiff ? read_tiff_float_file(store, path, tags) : read_tiff_file(store, path);
  }
  ImageStore store;
};

TEST_F(TiffReader, LittleAndBigEndianFilesGiveTheSameCodes) {
  const auto codes = ramp(8 * 6, 1361, 5);
  for (bool be : {false, true})
    for (uint32_t rps : {0u, 1u, 4u}) {
      TiffFixture f;
      f.big_endian = be;
      f.height = 6;
      f.rows_per_strip = rps;
      f.samples = test::encode_samples(codes, 16, be);
      clear_log();
      ASSERT_EQ(load(put(f.build())), 0) << be << rps;
      EXPECT_EQ(store.image_codes, codes) << be << rps;
      EXPECT_EQ(log(), (std::vector<std::string>{" read_tiff_file()", " read_tiff_file()"}));
      EXPECT_EQ(store.ImageWidth, 8);
      EXPECT_EQ(store.ImageHeight, 6);
      EXPECT_EQ(store.BytesPerPixel, 2);
      EXPECT_EQ(store.DataBytes, 96);
    }
}

TEST_F(TiffReader, SixteenBitLawAndStatistics) {
  TiffFixture f;
  f.height = 2;
  const std::vector<uint16_t> codes = {7, 3, 65535, 9, 1, 0, 40000, 5, 5, 5, 5, 5, 5, 5, 5, 5};
  f.samples = test::encode_samples(codes, 16, false);
  ASSERT_EQ(load(put(f.build())), 0);
  EXPECT_EQ(store.intensity_table[40000], 40000.0);
  EXPECT_EQ(store.log_table[0], 0.0);
  EXPECT_DOUBLE_EQ(store.log_table[65535], 10000.0);
  EXPECT_DOUBLE_EQ(store.log_table[300], std::log(300.0) * 10000.0 / std::log(65535.0));
  EXPECT_EQ(store.LinearSaturation, 65535);
  EXPECT_EQ(store.LogSaturation, 10000);
  EXPECT_EQ(store.LinearMax, 65535);
  EXPECT_EQ(store.LinearMin, 0);
  EXPECT_EQ(store.LogMax, 10000);
  EXPECT_EQ(store.LogMin, 0);
  EXPECT_EQ(store.OverflowRatio, 1.0f);
}

TEST_F(TiffReader, EightBitImageKeepsTheSixteenBitSaturation) {
  TiffFixture f;
  f.bits = 8;
  f.height = 2;
  const auto codes = ramp(16, 17);
  f.samples = test::encode_samples(codes, 8, false);
  ASSERT_EQ(load(put(f.build())), 0);
  EXPECT_EQ(store.image_codes, codes);
  EXPECT_EQ(store.BytesPerPixel, 1);
  EXPECT_EQ(store.LinearSaturation, 65535);
  EXPECT_EQ(store.LinearMax, 255);
  EXPECT_DOUBLE_EQ(store.log_table[255], 10000.0);
  EXPECT_EQ(store.LogMax, 10000);
}

TEST_F(TiffReader, VerticalReverseStoresTheFirstFileRowLast) {
  state().options.VerticalReverse = 1;
  TiffFixture f;
  f.height = 3;
  f.rows_per_strip = 2;
  const auto codes = ramp(24, 3);
  f.samples = test::encode_samples(codes, 16, true);
  f.big_endian = true;
  ASSERT_EQ(load(put(f.build())), 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(store.image_codes[x + 8 * y], codes[x + 8 * (2 - y)]);
}

TEST_F(TiffReader, NotATiffFileLogsTheTypeTestAndTheReader) {
  EXPECT_EQ(load(put({'P', '5', ' ', '8', ' ', '4', '\n'})), 1);
  EXPECT_EQ(log(), (std::vector<std::string>{" read_tiff_file()", " read_tiff_tags:error", " read_tiff_file()",
                                              " tiff file error"}));
}

struct BadTiff {
  const char* name;
  void (*edit)(TiffFixture&);
};

TEST_F(TiffReader, RefusesWhatItCannotReadWithoutAllocating) {
  const BadTiff cases[] = {
      {"width 0", [](TiffFixture& f) { f.width = 0; }},
      {"height 0", [](TiffFixture& f) { f.height = 0; }},
      {"width 10001", [](TiffFixture& f) { f.width = 10001; }},
      {"huge LONG sizes", [](TiffFixture& f) { f.long_sizes = true; f.width = f.height = 65535 * 3; }},
      {"32-bit integers", [](TiffFixture& f) { f.bits = 32; }},
      {"32-bit floats without sample format", [](TiffFixture& f) { f.bits = 32; f.samples.resize(128); }},
      {"12 bits", [](TiffFixture& f) { f.bits = 12; }},
      {"no bits tag (bilevel)", [](TiffFixture& f) { f.omit = {258}; }},
      {"signed samples", [](TiffFixture& f) { f.sample_format = 2; }},
      {"LZW compression", [](TiffFixture& f) { f.extra = {{259, 3, 1, f.u16({5})}}; }},
      {"tiled", [](TiffFixture& f) { f.extra = {{322, 3, 1, f.u16({16})}}; }},
      {"three samples", [](TiffFixture& f) { f.extra = {{277, 3, 1, f.u16({3})}}; }},
      {"no strip offsets", [](TiffFixture& f) { f.omit = {273}; }},
      {"strip offset past the end", [](TiffFixture& f) { f.extra = {{273, 4, 1, f.u32({100000})}}; }},
      {"truncated data", [](TiffFixture& f) { f.samples.resize(40); }},
  };
  for (const auto& c : cases) {
    TiffFixture f;
    f.samples = test::encode_samples(ramp(32, 9), 16, false);
    c.edit(f);
    store = ImageStore();
    clear_log();
    const auto path = put(f.build());
    EXPECT_EQ(read_tiff_file(store, path), 1) << c.name;
    EXPECT_EQ(log(), (std::vector<std::string>{" read_tiff_file()", " tiff file error"})) << c.name;
    EXPECT_TRUE(store.image_codes.empty()) << c.name;
  }
}

TEST_F(TiffReader, StripsLongerThanTheImageAreCapped) {
  TiffFixture f;
  f.height = 2;
  f.samples = test::encode_samples(ramp(16 + 50, 1), 16, false);
  f.extra = {{279, 4, 1, f.u32({uint32_t(f.samples.size())})}};
  ASSERT_EQ(load(put(f.build())), 0);
  EXPECT_EQ(store.image_codes, ramp(16, 1));
}

// Floating-point images.

TiffFixture float_fixture(const std::vector<float>& v, bool be, uint32_t rows_per_strip = 0) {
  TiffFixture f;
  f.big_endian = be;
  f.bits = 32;
  f.sample_format = 3;
  f.width = 4;
  f.height = uint32_t(v.size() / 4);
  f.rows_per_strip = rows_per_strip;
  f.samples = test::encode_float_samples(v, be);
  return f;
}

TEST_F(TiffReader, FloatsAreClampedOffsetAndReported) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<float> v = {-250.0f, 70000.0f, 0.0f, 12.75f, nan, -100.0f, 65435.0f, -99.5f};
  const std::vector<uint16_t> codes = {0, 65535, 100, 112, 0, 0, 65535, 0};
  for (bool be : {false, true}) {
    clear_log();
    ASSERT_EQ(load(put(float_fixture(v, be, 1).build())), 0);
    EXPECT_EQ(store.image_codes, codes) << be;
    EXPECT_EQ(log(), (std::vector<std::string>{" read_tiff_file()", " read_tiff_float_file()",
                                                "minimum inten =-250. out of range"}));
    EXPECT_EQ(store.BytesPerPixel, 4);
    EXPECT_EQ(store.intensity_table[0], -100.0);
    EXPECT_EQ(store.intensity_table[112], 12.0);
    EXPECT_EQ(store.LinearSaturation, 65435);
    EXPECT_EQ(store.LinearMax, 65435);
    EXPECT_EQ(store.LinearMin, -100);
    EXPECT_EQ(store.LogMin, 0);
    EXPECT_DOUBLE_EQ(store.log_table[65535], 10000.0);
  }
}

TEST_F(TiffReader, FloatsInRangeLogNothingAndNaNAloneIsReported) {
  ASSERT_EQ(load(put(float_fixture({1, 2, 3, 4}, false).build())), 0);
  EXPECT_EQ(log(), (std::vector<std::string>{" read_tiff_file()", " read_tiff_float_file()"}));
  clear_log();
  ASSERT_EQ(load(put(float_fixture({1, std::numeric_limits<float>::quiet_NaN(), 3, 4}, false).build())), 0);
  EXPECT_EQ(log().back(), "minimum inten =NAN. out of range");
}

TEST_F(TiffReader, FloatReaderRefusesShortAndForeignLayouts) {
  auto short_strip = float_fixture(std::vector<float>(16, 1.0f), false, 2);
  short_strip.samples.resize(40);
  clear_log();
  EXPECT_EQ(load(put(short_strip.build())), 1);
  EXPECT_EQ(log(), (std::vector<std::string>{" read_tiff_file()", " read_tiff_float_file()",
                                              "read_tiff_float_file: file open or memory allocate error"}));
  auto tiled = float_fixture(std::vector<float>(16, 1.0f), false);
  tiled.extra = {{324, 4, 1, tiled.u32({8})}};
  clear_log();
  EXPECT_EQ(load(put(tiled.build())), 1);
  EXPECT_EQ(log().back(), " tiff file error");
  // The record of the type test is used as given: a record without float samples is refused.
  TiffTags integer_tags;
  clear_log();
  EXPECT_EQ(read_tiff_float_file(store, put(float_fixture({1, 2, 3, 4}, false).build()), integer_tags), 1);
  EXPECT_EQ(log(), (std::vector<std::string>{" read_tiff_float_file()", " tiff file error"}));
}

TEST_F(TiffReader, FloatRowsAreReversedLikeIntegerRows) {
  state().options.VerticalReverse = 1;
  ASSERT_EQ(load(put(float_fixture({1, 2, 3, 4, 5, 6, 7, 8}, true, 1).build())), 0);
  EXPECT_EQ(store.image_codes, (std::vector<uint16_t>{105, 106, 107, 108, 101, 102, 103, 104}));
}

TEST_F(TiffReader, WithoutByteCountsAStripRunsToTheEndOfTheFile) {
  TiffFixture f;
  f.height = 2;
  f.samples = test::encode_samples(ramp(16, 3), 16, false);
  f.omit = {279};
  ASSERT_EQ(load(put(f.build())), 0);
  EXPECT_EQ(store.image_codes, ramp(16, 3));
  f.samples.resize(30);
  clear_log();
  EXPECT_EQ(load(put(f.build())), 1);
  EXPECT_EQ(log().back(), " tiff file error");
}

TEST_F(TiffReader, FloatReaderParsesTheTagsItselfWhenNotGiven) {
  ASSERT_EQ(read_tiff_float_file(store, put(float_fixture({1, 2, 3, 4}, true).build())), 0);
  EXPECT_EQ(store.image_codes, (std::vector<uint16_t>{101, 102, 103, 104}));
}

// GEL images.

TiffFixture gel_fixture(uint32_t format, uint32_t num, uint32_t den, const std::string& info, int bits = 16) {
  TiffFixture f;
  f.bits = uint16_t(bits);
  f.height = 2;
  f.samples = test::encode_samples(ramp(16, 50), bits, false);
  f.extra = {{33445, 4, 1, f.u32({format})}, {33446, 5, 1, f.u32({num, den})}};
  if (!info.empty()) f.extra.push_back({33449, 2, uint32_t(info.size() + 1), std::vector<uint8_t>(info.begin(), info.end())});
  if (!info.empty()) f.extra.back().value.push_back(0);
  return f;
}

TEST_F(TiffReader, GelSquareRootLawAndTagLog) {
  ASSERT_EQ(read_gel_file(store, put(gel_fixture(2, 1, 4, "Sample A\r\nlane 3").build(), "a.gel")), 0);
  EXPECT_EQ(log(), (std::vector<std::string>{" read_gel_file()", "Squary root data format", "Scale Factor =1/4=0.25",
                                              "----------Sample Info begin----------", "Sample A", "lane 3",
                                              "----------Sample Info end----------"}));
  EXPECT_EQ(store.intensity_table[100], 2500.0);
  EXPECT_EQ(store.LinearSaturation, round_saturated(65535.0 * 65535.0 / 4));
  EXPECT_DOUBLE_EQ(store.log_table[65535], 10000.0);
  EXPECT_EQ(store.LinearMax, 750 * 750 / 4);  // codes 0, 50, .. 750
  EXPECT_EQ(store.LinearMin, 0);
}

TEST_F(TiffReader, GelLinearFormatAndZeroDenominator) {
  ASSERT_EQ(read_gel_file(store, put(gel_fixture(1, 3, 0, "ab").build(), "a.gel")), 0);
  EXPECT_EQ(log(), (std::vector<std::string>{" read_gel_file()", "Linear data format", "Scale Factor =3/0=1",
                                              "----------Sample Info begin----------", "ab",
                                              "----------Sample Info end----------"}));
  EXPECT_EQ(store.intensity_table[100], 100.0);
  EXPECT_EQ(store.LinearSaturation, 65535);
}

TEST_F(TiffReader, GelGuardsItsScales) {
  // Scale 1: the saturation 65535^2 does not fit Int32 and is clamped.
  ASSERT_EQ(read_gel_file(store, put(gel_fixture(2, 1, 1, "").build(), "a.gel")), 0);
  EXPECT_EQ(store.LinearSaturation, std::numeric_limits<int32_t>::max());
  // 8 bits with a tiny scale: ln I(255) <= 0 would divide by zero or flip signs.
  ASSERT_EQ(read_gel_file(store, put(gel_fixture(2, 1, 1000000, "", 8).build(), "b.gel")), 0);
  for (int c : {0, 1, 100, 255}) EXPECT_EQ(store.log_table[c], 0.0) << c;
  // Scale 0: every intensity is 0.
  ASSERT_EQ(read_gel_file(store, put(gel_fixture(2, 0, 5, "").build(), "c.gel")), 0);
  EXPECT_EQ(store.log_table[65535], 0.0);
  EXPECT_EQ(store.LinearMax, 0);
}

TEST_F(TiffReader, GelErrors) {
  EXPECT_EQ(read_gel_file(store, put({'G', 'E', 'L', 0, 0, 0, 0, 0}, "a.gel")), 1);
  EXPECT_EQ(log(), (std::vector<std::string>{" read_gel_file()", " gel file error."}));
  auto f = gel_fixture(2, 1, 4, "");
  f.width = 0;
  clear_log();
  EXPECT_EQ(read_gel_file(store, put(f.build(), "b.gel")), 1);
  EXPECT_EQ(log().back(), " gel file error.");
}

// The writer.

class TiffWriter : public TiffReader {
protected:
  // A background image of the given codes with the size of the fixture.
  ImageStore image_of(const std::vector<uint16_t>& codes, int w, int h) {
    ImageStore s;
    s.set_size(w, h, 2);
    s.image_codes = codes;
    return s;
  }
};

TEST_F(TiffWriter, WritesIntoTheStripsOfACopyInTheFilesByteOrder) {
  const auto codes = ramp(8 * 5, 997, 3);
  for (bool be : {false, true})
    for (int bits : {8, 16}) {
      TiffFixture f;
      f.big_endian = be;
      f.bits = uint16_t(bits);
      f.height = 5;
      f.rows_per_strip = 2;
      f.samples.assign(size_t(8 * 5 * bits / 8), 0);
      const auto source = put(f.build(), "src.tif");
      const auto target = dir.file(std::string("out") + (be ? "m" : "i") + std::to_string(bits) + ".tif");
      clear_log();
      ASSERT_EQ(save_tiff_file(image_of(codes, 8, 5), source, target), 0);
      EXPECT_EQ(log(), (std::vector<std::string>{" save_tiff_file()"}));
      ASSERT_EQ(read_tiff_file(store, target), 0);
      std::vector<uint16_t> expected = codes;
      if (bits == 8)
        for (auto& c : expected) c = std::min<uint16_t>(c, 255);
      EXPECT_EQ(store.image_codes, expected) << be << bits;
    }
}

TEST_F(TiffWriter, FlipsRowsBackUnderVerticalReverse) {
  TiffFixture f;
  f.height = 3;
  f.samples = test::encode_samples(ramp(24, 11), 16, false);
  const auto source = put(f.build(), "src.tif");
  state().options.VerticalReverse = 1;
  ASSERT_EQ(read_tiff_file(store, source), 0);
  ASSERT_EQ(save_tiff_file(store, source, dir.file("out.tif")), 0);
  EXPECT_EQ(test::read_bytes(dir.file("out.tif")), test::read_bytes(source));
}

TEST_F(TiffWriter, KeepsAnExistingTargetsHeaderAndRefusesAnotherSize) {
  TiffFixture small;
  small.samples.assign(64, 0);
  TiffFixture big = small;
  big.height = 6;
  big.samples.assign(96, 0);
  const auto source = put(small.build(), "src.tif");
  const auto target = put(big.build(), "out.tif");
  const auto before = test::read_bytes(target);
  const ImageStore image = image_of(ramp(32, 1), 8, 4);
  clear_log();
  EXPECT_EQ(save_tiff_file(image, source, target), 1);
  EXPECT_EQ(log(), (std::vector<std::string>{" save_tiff_file()", "save tiff file error"}));
  EXPECT_EQ(test::read_bytes(target), before);
  EXPECT_EQ(image.ImageHeight, 4);
  // A source that is not a TIFF file and no target: nothing is written.
  clear_log();
  EXPECT_EQ(save_tiff_file(image, put({1, 2, 3}, "bad.tif"), dir.file("new.tif")), 1);
  EXPECT_FALSE(file_exists(dir.file("new.tif")));
}

}  // namespace
}  // namespace kestrin
