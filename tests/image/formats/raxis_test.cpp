// The R-AXIS reader and writer: header geometry, overflow codes, size limits, bands of rows,
// short files, row reversal and the writer's checks.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/formats/raxis.h"
#include "support/raxis_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

std::span<const uint8_t> byte_span(const std::string& bytes) {
  return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
}

class RaxisTest : public ::testing::Test {
protected:
  bool read(const RaxisFixture& f, int64_t truncate_to = -1) {
    const std::string bytes = f.bytes(truncate_to);
    decoded_ = decode_raxis_image(byte_span(bytes), options_);
    return decoded_.ok;
  }
  const ImageData& img() const { return decoded_.data; }
  const LogLines& log() const { return decoded_.lines; }
  // The codes of rows [first, first + count) of the decoded image.
  std::vector<uint16_t> rows(int32_t first, int32_t count) {
    const auto begin = img().image_codes.begin() + std::ptrdiff_t(first) * img().ImageWidth;
    return std::vector<uint16_t>(begin, begin + std::ptrdiff_t(count) * img().ImageWidth);
  }

  DecodeOptions options_;
  DecodedImage decoded_;
  TempDir dir_;
};

TEST_F(RaxisTest, OverflowCodesUseTheHeaderRatioAndTheStatisticsFollow) {
  RaxisFixture f;
  f.codes = {0, 1, 2, 3, 100, 32768, 40000, 5, 7, 8, 9, 10};
  ASSERT_TRUE(read(f));
  EXPECT_EQ(img().image_codes, f.codes);
  EXPECT_EQ(img().ImageWidth, 4);
  EXPECT_EQ(img().ImageHeight, 3);
  EXPECT_EQ(img().PixelCount, 12);
  EXPECT_EQ(img().DataBytes, 24);
  EXPECT_EQ(img().OverflowRatio, 8.0f);
  EXPECT_EQ(img().intensity(2, 1), 57856.0);
  EXPECT_EQ(img().intensity(1, 1), 0.0);
  EXPECT_EQ(img().LinearSaturation, 262136);
  EXPECT_EQ(img().LogSaturation, 10000);
  EXPECT_EQ(img().LinearMax, 57856);
  EXPECT_EQ(img().LogMax, 8789);
  EXPECT_EQ(img().LinearMin, 0);
  EXPECT_EQ(img().LogMin, 0);
  EXPECT_EQ(log(), LogLines{" Swapping byte order..."});
}

TEST_F(RaxisTest, TheHeaderGivesItsGeometryAlsoWhenTheLayoutIsRefused) {
  RaxisFixture f;
  f.wavelength = 0.71073f;
  f.camera_length = 127.5f;
  f.pixel_x = 0.05f;
  f.pixel_y = 0.1f;
  for (int32_t width : {4, 10001}) {
    f.width = width;
    f.codes.assign(size_t(width) * 3, 1);
    EXPECT_EQ(read(f), width == 4) << width;
    const HeaderGeometry& g = decoded_.geometry;
    EXPECT_EQ(g.wavelength, double(0.71073f));
    EXPECT_EQ(g.camera_length, 127.5);
    EXPECT_EQ(g.pixel_x, double(0.05f));
    EXPECT_EQ(g.pixel_y, double(0.1f));
    EXPECT_FALSE(g.pixel_x_follows_y || g.pixel_sizes_unlocked);
  }
}

TEST_F(RaxisTest, SidesUpToTenThousandLoadAndLargerOnesAreRefused) {
  struct Case {
    int32_t width, height;
    int result;
  };
  for (const Case& c : {Case{10000, 1, 0}, Case{1, 10000, 0}, Case{10001, 1, 1}, Case{1, 10001, 1}}) {
    RaxisFixture f;
    f.width = c.width;
    f.height = c.height;
    f.codes.assign(size_t(c.width) * size_t(c.height), 3);
    EXPECT_EQ(!read(f), c.result) << c.width << " x " << c.height;
    if (c.result == 0) {
      EXPECT_EQ(img().PixelCount, c.width * c.height);
    } else {
      EXPECT_EQ(log(), LogLines{"read_rigaku_file() : Number of pixels is too large."});
    }
  }
}

TEST_F(RaxisTest, BadHeadersAreRefusedWithTheirReason) {
  struct Case {
    const char* what;
    void (*change)(RaxisFixture&);
    int64_t truncate_to;
    const char* message;
  };
  const Case cases[] = {
      {"short header", [](RaxisFixture&) {}, 803, "Header of $ is too short."},
      {"zero width", [](RaxisFixture& f) { f.width = 0; }, -1, "Image size is invalid."},
      {"negative width", [](RaxisFixture& f) { f.width = -4; }, -1, "Image size is invalid."},
      {"zero height", [](RaxisFixture& f) { f.height = 0; }, -1, "Image size is invalid."},
      {"negative height", [](RaxisFixture& f) { f.height = -2147483647 - 1; }, -1, "Image size is invalid."},
      {"negative record length", [](RaxisFixture& f) { f.record_length = -1; }, -1, "Record length is invalid."},
      {"negative start row", [](RaxisFixture& f) { f.start_row = -1; f.rows = 1; }, -1,
       "Start row or number of rows is invalid."},
      {"start row past the image", [](RaxisFixture& f) { f.start_row = 3; f.rows = 1; }, -1,
       "Start row or number of rows is invalid."},
      {"no rows", [](RaxisFixture& f) { f.start_row = 1; f.rows = 0; }, -1, "Start row or number of rows is invalid."},
      {"negative rows", [](RaxisFixture& f) { f.start_row = 1; f.rows = -3; }, -1,
       "Start row or number of rows is invalid."},
  };
  options_.name = "/data/frame.img";
  for (const Case& c : cases) {
    RaxisFixture f;
    f.codes.assign(12, 1);
    c.change(f);
    EXPECT_FALSE(read(f, c.truncate_to)) << c.what;
    std::string message = c.message;
    if (auto at = message.find('$'); at != std::string::npos) message.replace(at, 1, options_.name);
    EXPECT_EQ(log(), LogLines{"read_rigaku_file() : " + message}) << c.what;
    EXPECT_TRUE(img().image_codes.empty()) << c.what;
  }
}

TEST_F(RaxisTest, ABandOfRowsLandsAtItsStartRowAndIsClampedToTheImage) {
  RaxisFixture f;
  f.width = 3;
  f.height = 5;
  f.start_row = 2;
  f.rows = 2;
  f.codes = {1, 2, 3, 4, 5, 6};
  ASSERT_TRUE(read(f));
  EXPECT_EQ(rows(0, 2), std::vector<uint16_t>(6, 0));
  EXPECT_EQ(rows(2, 2), f.codes);
  EXPECT_EQ(rows(4, 1), std::vector<uint16_t>(3, 0));

  // More rows than the image has below the start row: only those that fit are read.
  f.start_row = 4;
  f.rows = 3;
  f.codes = {7, 8, 9, 10, 11, 12, 13, 14, 15};
  ASSERT_TRUE(read(f));
  EXPECT_EQ(rows(0, 4), std::vector<uint16_t>(12, 0));
  EXPECT_EQ(rows(4, 1), (std::vector<uint16_t>{7, 8, 9}));
}

// A file holding fewer pixel bytes than its header needs is refused with both counts,
// whole images and bands alike, before any pixel memory is allocated; a file holding
// exactly what it needs, or more, loads.
TEST_F(RaxisTest, AShortFileIsRefusedWithTheBytesItHoldsAndNeeds) {
  struct Case {
    const char* what;
    void (*change)(RaxisFixture&);
    int64_t truncate_to;  // bytes the file is cut to; negative: as made (record length + codes)
    const char* message;  // empty: loads
  };
  const Case cases[] = {
      {"complete", [](RaxisFixture&) {}, -1, ""},
      {"trailing bytes", [](RaxisFixture& f) { f.codes.resize(20, 9); }, -1, ""},
      {"a third", [](RaxisFixture&) {}, 2048 + 8, "The file holds 8 pixel bytes; the header needs 24."},
      {"one byte short", [](RaxisFixture&) {}, 2048 + 23, "The file holds 23 pixel bytes; the header needs 24."},
      {"record length past the end", [](RaxisFixture& f) { f.record_length = 1 << 30; }, 4096,
       "The file holds 0 pixel bytes; the header needs 24."},
      {"9000 x 9000 over 2 KB", [](RaxisFixture& f) { f.width = f.height = 9000; f.codes.assign(1024, 7); }, -1,
       "The file holds 2048 pixel bytes; the header needs 162000000."},
      {"band complete", [](RaxisFixture& f) { f.start_row = 1; f.rows = 2; f.codes.assign(8, 5); }, -1, ""},
      {"band clamped to the image", [](RaxisFixture& f) { f.start_row = 2; f.rows = 5; f.codes.assign(4, 5); }, -1,
       ""},
      {"band short", [](RaxisFixture& f) { f.start_row = 1; f.rows = 2; f.codes.assign(8, 5); }, 2048 + 15,
       "The file holds 15 pixel bytes; the header needs 16."},
  };
  for (const Case& c : cases) {
    RaxisFixture f;
    f.codes.assign(12, 7);
    c.change(f);
    if (*c.message == '\0') {
      EXPECT_TRUE(read(f, c.truncate_to)) << c.what;
      EXPECT_EQ(log(), LogLines{" Swapping byte order..."}) << c.what;
      continue;
    }
    EXPECT_FALSE(read(f, c.truncate_to)) << c.what;
    EXPECT_EQ(log(), LogLines{std::string("read_rigaku_file() : ") + c.message}) << c.what;
    EXPECT_TRUE(img().image_codes.empty()) << c.what;
    EXPECT_EQ(decoded_.geometry.camera_length, 250.0) << c.what;
  }
}

TEST_F(RaxisTest, ReversedRowsStoreTheFirstFileRowLast) {
  options_.reverse_rows = true;
  RaxisFixture f;
  f.width = 2;
  f.codes = {1, 2, 3, 4, 5, 6};
  ASSERT_TRUE(read(f));
  EXPECT_EQ(img().image_codes, (std::vector<uint16_t>{5, 6, 3, 4, 1, 2}));
}

class RaxisWriterTest : public RaxisTest {
protected:
  // Decodes the fixture written as `name`; the image to write starts as its codes.
  void load(const RaxisFixture& f, const std::string& name) {
    source_ = f.write(dir_.file(name));
    ASSERT_TRUE(read(f));
    image_ = img();
  }
  WriteResult save(const std::string& name, bool reverse = false) {
    return save_rigaku_file(image_, source_, dir_.file(name), reverse);
  }
  std::string file(const std::string& name) {
    std::string bytes;
    EXPECT_TRUE(read_file_bytes(dir_.file(name), bytes));
    return bytes;
  }
  std::string source_;
  ImageData image_;
};

TEST_F(RaxisWriterTest, WritesCodesIntoACopyOfTheSourceFile) {
  RaxisFixture f;
  f.width = 2;
  f.codes = {1, 2, 3, 4, 5, 40000};
  load(f, "source.img");
  image_.image_codes = {9, 8, 7, 6, 5, 65535};
  const WriteResult written = save("copy.img");
  EXPECT_TRUE(written.ok);
  EXPECT_TRUE(written.lines.empty());
  RaxisFixture expected = f;
  expected.codes.assign(image_.image_codes.begin(), image_.image_codes.end());
  EXPECT_EQ(file("copy.img"), expected.bytes());
  EXPECT_EQ(file("source.img"), f.bytes());
}

TEST_F(RaxisWriterTest, FlipsReversedRowsBack) {
  options_.reverse_rows = true;
  RaxisFixture f;
  f.width = 2;
  f.codes = {1, 2, 3, 4, 5, 6};
  load(f, "source.img");
  EXPECT_TRUE(save("copy.img", true).ok);
  EXPECT_EQ(file("copy.img"), f.bytes());
}

TEST_F(RaxisWriterTest, AnExistingDestinationKeepsItsHeaderAndGetsTheCodes) {
  RaxisFixture f;
  f.width = 2;
  f.codes = {1, 2, 3, 4, 5, 6};
  load(f, "source.img");
  RaxisFixture other = f;
  other.wavelength = 0.5f;
  other.record_length = 1024;
  other.write(dir_.file("copy.img"));
  image_.image_codes = {6, 5, 4, 3, 2, 1};
  EXPECT_TRUE(save("copy.img").ok);
  other.codes.assign(image_.image_codes.begin(), image_.image_codes.end());
  EXPECT_EQ(file("copy.img"), other.bytes());
}

TEST_F(RaxisWriterTest, RefusesCodesThatDoNotFillTheFile) {
  RaxisFixture f;
  load(f, "source.img");
  image_.set_size(2, 2, 2);  // an image smaller than the file's
  const WriteResult refused = save("copy.img");
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.lines, LogLines{"save_rigaku_file() : Image size does not match " + dir_.file("copy.img") + "."});
  EXPECT_FALSE(file_exists(dir_.file("copy.img")));
  // An existing file whose header names another size is left as it was.
  image_ = img();
  RaxisFixture other;
  other.width = 5;
  other.write(dir_.file("other.img"));
  EXPECT_FALSE(save("other.img").ok);
  EXPECT_EQ(file("other.img"), other.bytes());
}

TEST_F(RaxisWriterTest, AMissingSourceFileIsReportedAndNothingIsWritten) {
  RaxisFixture f;
  load(f, "source.img");
  std::filesystem::remove(dir_.file("source.img"));
  const WriteResult refused = save("copy.img");
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.lines,
            LogLines{"save_rigaku_file() : Cannot copy " + dir_.file("source.img") + " to " + dir_.file("copy.img") + "."});
  EXPECT_FALSE(file_exists(dir_.file("copy.img")));
}

// Every combination of edge values of the layout fields either loads a store whose codes
// match its size or is refused with one log line; never a crash or an absurd allocation.
TEST_F(RaxisTest, EdgeValuesOfTheLayoutFieldsNeverBreakTheStore) {
  const int32_t big = 2147483647, small = -2147483647 - 1;
  const int32_t sizes[] = {small, 0, 1, 3};
  const int32_t records[] = {-1, 0, 804, 2048, big};
  const int32_t starts[] = {small, -1, 0, 2, 3, big};
  const int32_t counts[] = {small, 0, 1, big};
  const int32_t h = 3;
  for (int32_t w : sizes)
    for (int32_t record : records)
      for (int32_t start : starts)
        for (int32_t rows : counts) {
          RaxisFixture f;
          f.width = w;
          f.height = h;
          f.record_length = record;
          f.start_row = start;
          f.rows = rows;
          f.codes.assign(9, 0xABCD);
          const bool ok = read(f, 4096);
          const std::string what = Format("%d x %d, record %d, start %d, rows %d", {w, h, record, start, rows});
          if (ok) {
            ASSERT_EQ(img().PixelCount, w * h) << what;
            ASSERT_EQ(img().image_codes.size(), size_t(w) * size_t(h)) << what;
          }
          EXPECT_EQ(log().size(), 1u) << what;
        }
}

}  // namespace
}  // namespace kestrin::test
