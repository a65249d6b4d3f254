// TIFF, floating-point TIFF and GEL readers and the TIFF writer, on files made by code.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "base/lanes.h"
#include "base/paths.h"
#include "image/formats/tiff.h"
#include "support/temp_dir.h"
#include "support/tiff_fixture.h"

namespace kestrin {
namespace {

using test::TiffFixture;

std::vector<uint16_t> ramp(size_t n, uint16_t step, uint16_t start = 0) {
  std::vector<uint16_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = uint16_t(start + i * step);
  return v;
}

class TiffReader : public ::testing::Test {
protected:
  std::string put(const std::vector<uint8_t>& bytes, const std::string& name = "a.tif") {
    test::write_bytes(dir.file(name), bytes);
    return dir.file(name);
  }
  // The loader's sequence: type test, then the reader of the type; the lines of both.
  int load(const std::vector<uint8_t>& bytes) {
    TiffTags tags;
    lines.clear();
    const int type = sniff_tiff_type(bytes, tags, lines);
    return take(type == kTypeFloatTiff ? decode_tiff_float_image(bytes, tags, options) : decode_tiff_image(bytes, options));
  }
  // Keeps a decode's image and lines; 0 when it succeeded, 1 when it failed.
  int take(DecodedImage d) {
    lines.insert(lines.end(), d.lines.begin(), d.lines.end());
    store = std::move(d.data);
    return d.ok ? 0 : 1;
  }
  int read_tiff(const std::vector<uint8_t>& bytes) { return lines.clear(), take(decode_tiff_image(bytes, options)); }
  int read_gel(const std::vector<uint8_t>& bytes) { return lines.clear(), take(decode_gel_image(bytes, options)); }
  const LogLines& log() const { return lines; }

  DecodeOptions options;
  LogLines lines;
  ImageData store;
  test::TempDir dir;
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
      ASSERT_EQ(load(f.build()), 0) << be << rps;
      EXPECT_EQ(store.image_codes, codes) << be << rps;
      EXPECT_EQ(log(), (LogLines{" read_tiff_file()", " read_tiff_file()"}));
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
  ASSERT_EQ(load(f.build()), 0);
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
  ASSERT_EQ(load(f.build()), 0);
  EXPECT_EQ(store.image_codes, codes);
  EXPECT_EQ(store.BytesPerPixel, 1);
  EXPECT_EQ(store.LinearSaturation, 65535);
  EXPECT_EQ(store.LinearMax, 255);
  EXPECT_DOUBLE_EQ(store.log_table[255], 10000.0);
  EXPECT_EQ(store.LogMax, 10000);
}

TEST_F(TiffReader, ReversedRowsStoreTheFirstFileRowLast) {
  options.reverse_rows = true;
  TiffFixture f;
  f.height = 3;
  f.rows_per_strip = 2;
  const auto codes = ramp(24, 3);
  f.samples = test::encode_samples(codes, 16, true);
  f.big_endian = true;
  ASSERT_EQ(load(f.build()), 0);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(store.image_codes[x + 8 * y], codes[x + 8 * (2 - y)]);
}

TEST_F(TiffReader, StripsOutOfFileOrderAreReadInStripOrder) {
  const auto codes = ramp(8 * 4, 1361, 5);
  const auto samples = test::encode_samples(codes, 16, false);
  TiffFixture f;
  f.rows_per_strip = 2;  // two strips of 32 bytes, the second one first in the file
  f.samples.assign(samples.begin() + 32, samples.end());
  f.samples.insert(f.samples.end(), samples.begin(), samples.begin() + 32);
  f.extra = {{273, 4, 2, f.u32({0, 0})}};
  const uint32_t data = uint32_t(f.build().size() - f.samples.size());
  f.extra = {{273, 4, 2, f.u32({data + 32, data})}};
  ASSERT_EQ(load(f.build()), 0);
  EXPECT_EQ(store.image_codes, codes);
}

TEST_F(TiffReader, NotATiffFileLogsTheTypeTestAndTheReader) {
  EXPECT_EQ(load({'P', '5', ' ', '8', ' ', '4', '\n'}), 1);
  EXPECT_EQ(log(), (LogLines{" read_tiff_file()", " read_tiff_tags:error", " read_tiff_file()",
                                              " tiff file error"}));
}

struct BadTiff {
  const char* name;
  void (*edit)(TiffFixture&);
};

TEST_F(TiffReader, RefusesWhatItCannotReadSayingWhyWithoutAllocating) {
  struct Case {
    const char* name;
    void (*edit)(TiffFixture&);
    const char* why;
  };
  const Case cases[] = {
      {"width 0", [](TiffFixture& f) { f.width = 0; }, "Image size 0 x 4 is not supported."},
      {"height 0", [](TiffFixture& f) { f.height = 0; }, "Image size 8 x 0 is not supported."},
      {"width 10001", [](TiffFixture& f) { f.width = 10001; }, "Image size 10001 x 4 is not supported."},
      {"huge LONG sizes", [](TiffFixture& f) { f.long_sizes = true; f.width = f.height = 65535 * 3; },
       "Image size 196605 x 196605 is not supported."},
      {"32-bit unsigned integers", [](TiffFixture& f) { f.bits = 32; f.sample_format = 1; },
       "32-bit unsigned integer samples are not supported."},
      {"32-bit floats without sample format", [](TiffFixture& f) { f.bits = 32; f.samples.resize(128); },
       "32-bit unsigned integer samples are not supported."},
      {"32-bit signed integers", [](TiffFixture& f) { f.bits = 32; f.sample_format = 2; },
       "32-bit signed integer samples are not supported."},
      {"16-bit floats", [](TiffFixture& f) { f.sample_format = 3; }, "16-bit floating-point samples are not supported."},
      {"12 bits", [](TiffFixture& f) { f.bits = 12; }, "12-bit unsigned integer samples are not supported."},
      {"no bits tag (bilevel)", [](TiffFixture& f) { f.omit = {258}; }, "1-bit unsigned integer samples are not supported."},
      {"LZW compression", [](TiffFixture& f) { f.extra = {{259, 3, 1, f.u16({5})}}; },
       "Compressed data (compression 5) are not supported."},
      {"tiled", [](TiffFixture& f) { f.extra = {{322, 3, 1, f.u16({16})}}; }, "Tiled images are not supported."},
      {"three samples", [](TiffFixture& f) { f.extra = {{277, 3, 1, f.u16({3})}}; }, "3 samples per pixel are not supported."},
      {"no strip offsets", [](TiffFixture& f) { f.omit = {273}; }, "The file has no strip offsets."},
      {"strip offset past the end", [](TiffFixture& f) { f.extra = {{273, 4, 1, f.u32({100000})}}; },
       "The strips hold fewer bytes than the image needs."},
      {"truncated data", [](TiffFixture& f) { f.samples.resize(40); }, "The strips hold fewer bytes than the image needs."},
  };
  for (const auto& c : cases) {
    TiffFixture f;
    f.samples = test::encode_samples(ramp(32, 9), 16, false);
    c.edit(f);
    EXPECT_EQ(read_tiff(f.build()), 1) << c.name;
    EXPECT_EQ(log(), (LogLines{" read_tiff_file()", std::string(" read_tiff_file() : ") + c.why, " tiff file error"}))
        << c.name;
    EXPECT_TRUE(store.image_codes.empty()) << c.name;
  }
}

TEST_F(TiffReader, SignedSamplesLoadAsTheirCodes) {
  const std::vector<uint16_t> codes = {0, 1, 0x7FFF, 0x8000, 0xFFFF, 300, 2, 3};
  for (int bits : {8, 16})
    for (bool be : {false, true}) {
      TiffFixture f;
      f.big_endian = be;
      f.bits = uint16_t(bits);
      f.height = 1;
      f.sample_format = 2;
      std::vector<uint16_t> expected = codes;
      if (bits == 8)
        for (auto& c : expected) c = uint8_t(c);
      f.samples = test::encode_samples(expected, bits, be);
      ASSERT_EQ(load(f.build()), 0) << bits << be;
      EXPECT_EQ(store.image_codes, expected) << bits << be;
      EXPECT_EQ(store.intensity_table[0xFFFF], 65535.0);
      EXPECT_EQ(store.BytesPerPixel, bits / 8);
    }
}

TEST_F(TiffReader, StripsLongerThanTheImageAreCapped) {
  TiffFixture f;
  f.height = 2;
  f.samples = test::encode_samples(ramp(16 + 50, 1), 16, false);
  f.extra = {{279, 4, 1, f.u32({uint32_t(f.samples.size())})}};
  ASSERT_EQ(load(f.build()), 0);
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
    ASSERT_EQ(load(float_fixture(v, be, 1).build()), 0);
    EXPECT_EQ(store.image_codes, codes) << be;
    EXPECT_EQ(log(), (LogLines{" read_tiff_file()", " read_tiff_float_file()",
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
  ASSERT_EQ(load(float_fixture({1, 2, 3, 4}, false).build()), 0);
  EXPECT_EQ(log(), (LogLines{" read_tiff_file()", " read_tiff_float_file()"}));
  ASSERT_EQ(load(float_fixture({1, std::numeric_limits<float>::quiet_NaN(), 3, 4}, false).build()), 0);
  EXPECT_EQ(log().back(), "minimum inten =NAN. out of range");
}

TEST_F(TiffReader, FloatReaderRefusesShortAndForeignLayouts) {
  auto short_strip = float_fixture(std::vector<float>(16, 1.0f), false, 2);
  short_strip.samples.resize(40);
  EXPECT_EQ(load(short_strip.build()), 1);
  EXPECT_EQ(log(), (LogLines{" read_tiff_file()", " read_tiff_float_file()",
                             " read_tiff_float_file() : The strips hold fewer bytes than the image needs.",
                             "read_tiff_float_file: file open or memory allocate error"}));
  auto tiled = float_fixture(std::vector<float>(16, 1.0f), false);
  tiled.extra = {{324, 4, 1, tiled.u32({8})}};
  EXPECT_EQ(load(tiled.build()), 1);
  EXPECT_EQ(log(), (LogLines{" read_tiff_file()", " read_tiff_float_file()",
                             " read_tiff_float_file() : Tiled images are not supported.", " tiff file error"}));
  // The record of the type test is used as given: a record without float samples is refused.
  TiffTags integer_tags;
  lines.clear();
  EXPECT_EQ(take(decode_tiff_float_image(float_fixture({1, 2, 3, 4}, false).build(), integer_tags, options)), 1);
  EXPECT_EQ(log(), (LogLines{" read_tiff_float_file()", " read_tiff_float_file() : Image size 0 x 0 is not supported.",
                             " tiff file error"}));
}

TEST_F(TiffReader, FloatRowsAreReversedLikeIntegerRows) {
  options.reverse_rows = true;
  ASSERT_EQ(load(float_fixture({1, 2, 3, 4, 5, 6, 7, 8}, true, 1).build()), 0);
  EXPECT_EQ(store.image_codes, (std::vector<uint16_t>{105, 106, 107, 108, 101, 102, 103, 104}));
}

TEST_F(TiffReader, WithoutByteCountsAStripRunsToTheEndOfTheFile) {
  TiffFixture f;
  f.height = 2;
  f.samples = test::encode_samples(ramp(16, 3), 16, false);
  f.omit = {279};
  ASSERT_EQ(load(f.build()), 0);
  EXPECT_EQ(store.image_codes, ramp(16, 3));
  f.samples.resize(30);
  EXPECT_EQ(load(f.build()), 1);
  EXPECT_EQ(log().back(), " tiff file error");
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
  ASSERT_EQ(read_gel(gel_fixture(2, 1, 4, "Sample A\r\nlane 3").build()), 0);
  EXPECT_EQ(log(), (LogLines{" read_gel_file()", "Squary root data format", "Scale Factor =1/4=0.25",
                                              "----------Sample Info begin----------", "Sample A", "lane 3",
                                              "----------Sample Info end----------"}));
  EXPECT_EQ(store.intensity_table[100], 2500.0);
  EXPECT_EQ(store.LinearSaturation, round_saturated(65535.0 * 65535.0 / 4));
  EXPECT_DOUBLE_EQ(store.log_table[65535], 10000.0);
  EXPECT_EQ(store.LinearMax, 750 * 750 / 4);  // codes 0, 50, .. 750
  EXPECT_EQ(store.LinearMin, 0);
}

TEST_F(TiffReader, GelLinearFormatAndZeroDenominator) {
  ASSERT_EQ(read_gel(gel_fixture(1, 3, 0, "ab").build()), 0);
  EXPECT_EQ(log(), (LogLines{" read_gel_file()", "Linear data format", "Scale Factor =3/0=1",
                                              "----------Sample Info begin----------", "ab",
                                              "----------Sample Info end----------"}));
  EXPECT_EQ(store.intensity_table[100], 100.0);
  EXPECT_EQ(store.LinearSaturation, 65535);
}

TEST_F(TiffReader, GelGuardsItsScales) {
  // Scale 1: the saturation 65535^2 does not fit Int32 and is clamped.
  ASSERT_EQ(read_gel(gel_fixture(2, 1, 1, "").build()), 0);
  EXPECT_EQ(store.LinearSaturation, std::numeric_limits<int32_t>::max());
  // 8 bits with a tiny scale: ln I(255) <= 0 would divide by zero or flip signs.
  ASSERT_EQ(read_gel(gel_fixture(2, 1, 1000000, "", 8).build()), 0);
  for (int c : {0, 1, 100, 255}) EXPECT_EQ(store.log_table[c], 0.0) << c;
  // Scale 0: every intensity is 0.
  ASSERT_EQ(read_gel(gel_fixture(2, 0, 5, "").build()), 0);
  EXPECT_EQ(store.log_table[65535], 0.0);
  EXPECT_EQ(store.LinearMax, 0);
}

TEST_F(TiffReader, GelErrors) {
  EXPECT_EQ(read_gel({'G', 'E', 'L', 0, 0, 0, 0, 0}), 1);
  EXPECT_EQ(log(), (LogLines{" read_gel_file()", " gel file error."}));
  auto f = gel_fixture(2, 1, 4, "");
  f.width = 0;
  EXPECT_EQ(read_gel(f.build()), 1);
  EXPECT_EQ(log(), (LogLines{" read_gel_file()", "Squary root data format", "Scale Factor =1/4=0.25",
                             " read_gel_file() : Image size 0 x 2 is not supported.", " gel file error."}));
}

// An image of several lanes of rows decodes to the same codes and statistics on any number of
// threads, in either byte order and row order, whether its law lets the statistics come from
// the lowest and highest code (TIFF) or needs the set of codes present (square-root GEL).
TEST_F(TiffReader, ImagesDecodedInLanesGiveTheCodesAndStatisticsOfOnePass) {
  constexpr uint32_t kSide = 1100;  // 1.2 million pixels: four lanes
  std::mt19937 rng(5);
  std::vector<uint16_t> codes(size_t(kSide) * kSide);
  for (uint16_t& c : codes) c = uint16_t(3000 + rng() % 20000);
  codes[777777] = 40000;
  struct Case {
    bool gel, big_endian, reverse;
    int threads;
  };
  const Case cases[] = {{false, false, false, 1}, {false, false, false, 3}, {false, true, true, 4},
                        {true, false, false, 1},  {true, false, true, 3}};
  struct DefaultThreadsAfter {
    ~DefaultThreadsAfter() { set_worker_threads(0); }
  } restore;
  for (const Case& k : cases) {
    set_worker_threads(k.threads);
    TiffFixture f = k.gel ? gel_fixture(2, 1, 7, "") : TiffFixture{};
    f.big_endian = k.big_endian;
    f.width = f.height = kSide;
    f.rows_per_strip = 64;
    f.samples = test::encode_samples(codes, 16, k.big_endian);
    options.reverse_rows = k.reverse;
    ASSERT_EQ(k.gel ? read_gel(f.build()) : read_tiff(f.build()), 0) << k.threads;
    for (uint32_t y = 0; y < kSide; y += 99)
      for (uint32_t x = 0; x < kSide; x += 7)
        ASSERT_EQ(store.image_codes[x + kSide * y], codes[x + kSide * (k.reverse ? kSide - 1 - y : y)]) << k.threads;
    ImageData one_pass = store;
    scan_statistics(one_pass);
    EXPECT_EQ(store.LinearMax, one_pass.LinearMax) << k.gel << k.threads;
    EXPECT_EQ(store.LinearMin, one_pass.LinearMin) << k.gel << k.threads;
    EXPECT_EQ(store.LogMax, one_pass.LogMax) << k.gel << k.threads;
    EXPECT_EQ(store.LogMin, one_pass.LogMin) << k.gel << k.threads;
    EXPECT_EQ(store.LinearMax, k.gel ? round_saturated(40000.0 * 40000.0 / 7) : 40000) << k.threads;
  }
}

// The writer.

class TiffWriter : public TiffReader {
protected:
  // A background image of the given codes with the size of the fixture.
  ImageData image_of(const std::vector<uint16_t>& codes, int w, int h) {
    ImageData s;
    s.set_size(w, h, 2);
    s.image_codes.assign(codes.begin(), codes.end());
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
      const WriteResult written = save_tiff_file(image_of(codes, 8, 5), source, target, false);
      ASSERT_TRUE(written.ok);
      EXPECT_EQ(written.lines, (LogLines{" save_tiff_file()"}));
      ASSERT_EQ(read_tiff(test::read_bytes(target)), 0);
      std::vector<uint16_t> expected = codes;
      if (bits == 8)
        for (auto& c : expected) c = std::min<uint16_t>(c, 255);
      EXPECT_EQ(store.image_codes, expected) << be << bits;
    }
}

TEST_F(TiffWriter, FlipsReversedRowsBack) {
  TiffFixture f;
  f.height = 3;
  f.samples = test::encode_samples(ramp(24, 11), 16, false);
  const auto source = put(f.build(), "src.tif");
  options.reverse_rows = true;
  ASSERT_EQ(read_tiff(f.build()), 0);
  ASSERT_TRUE(save_tiff_file(store, source, dir.file("out.tif"), true).ok);
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
  const ImageData image = image_of(ramp(32, 1), 8, 4);
  const WriteResult refused = save_tiff_file(image, source, target, false);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.lines, (LogLines{" save_tiff_file()", "save tiff file error"}));
  EXPECT_EQ(test::read_bytes(target), before);
  // A source that is not a TIFF file and no target: nothing is written.
  EXPECT_FALSE(save_tiff_file(image, put({1, 2, 3}, "bad.tif"), dir.file("new.tif"), false).ok);
  EXPECT_FALSE(file_exists(dir.file("new.tif")));
}

}  // namespace
}  // namespace kestrin
