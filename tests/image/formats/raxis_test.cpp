// The R-AXIS reader and writer: header geometry and locks, overflow codes, size limits,
// bands of rows, short files, row reversal and the writer's checks.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/formats/raxis.h"
#include "image/formats/readers.h"
#include "image/loading_fixture.h"
#include "support/raxis_fixture.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {
namespace {

class RaxisTest : public LoadingTest {
protected:
  int read(const RaxisFixture& f, int64_t truncate_to = -1) {
    return read_rigaku_file(img(), f.write(dir_.file("frame.img"), truncate_to));
  }
  // The codes of rows [first, first + count) of the current image.
  std::vector<uint16_t> rows(int32_t first, int32_t count) {
    const auto begin = img().image_codes.begin() + std::ptrdiff_t(first) * img().ImageWidth;
    return std::vector<uint16_t>(begin, begin + std::ptrdiff_t(count) * img().ImageWidth);
  }
};

TEST_F(RaxisTest, OverflowCodesUseTheHeaderRatioAndTheStatisticsFollow) {
  RaxisFixture f;
  f.codes = {0, 1, 2, 3, 100, 32768, 40000, 5, 7, 8, 9, 10};
  ASSERT_EQ(read(f), 0);
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
  EXPECT_EQ(log(), std::vector<std::string>{" Swapping byte order..."});
}

TEST_F(RaxisTest, HeaderGeometryReplacesOnlyUnlockedValuesAndShowsInTheEdits) {
  RaxisFixture f;
  f.wavelength = 0.71073f;
  f.camera_length = 127.5f;
  f.pixel_x = 0.05f;
  f.pixel_y = 0.1f;
  edits().set_checked(frmMain::chkLo, true);
  params().Lo = 300.0;
  edits().set_text(frmMain::edtCameraLength, "300");
  ASSERT_EQ(read(f), 0);
  EXPECT_EQ(params().Lo, 300.0);
  EXPECT_EQ(params().wavelength, double(0.71073f));
  EXPECT_EQ(params().pixel_x, double(0.05f));
  EXPECT_EQ(params().pixel_y, double(0.1f));
  EXPECT_EQ(edits().text(frmMain::edtCameraLength), "300.000000");
  EXPECT_EQ(edits().text(frmMain::edtLambda), "  0.710730");
  EXPECT_EQ(edits().text(frmMain::edtPixelX), "  0.050000");
  EXPECT_EQ(edits().text(frmMain::edtPixelY), "  0.100000");

  // Every lock at once keeps every value.
  for (const ControlName& lock : {frmMain::chkwl, frmMain::chkpsx, frmMain::chkpsy}) edits().set_checked(lock, true);
  f.wavelength = 2.0f;
  f.pixel_x = f.pixel_y = 0.2f;
  ASSERT_EQ(read(f), 0);
  EXPECT_EQ(params().wavelength, double(0.71073f));
  EXPECT_EQ(params().pixel_x, double(0.05f));
  EXPECT_EQ(params().pixel_y, double(0.1f));
}

TEST_F(RaxisTest, SidesUpToTenThousandLoadAndLargerOnesAreRefused) {
  struct Case {
    int32_t width, height;
    int result;
  };
  for (const Case& c : {Case{10000, 1, 0}, Case{1, 10000, 0}, Case{10001, 1, 1}, Case{1, 10001, 1}}) {
    the_log().clear_history();
    RaxisFixture f;
    f.width = c.width;
    f.height = c.height;
    f.codes.assign(size_t(c.width) * size_t(c.height), 3);
    EXPECT_EQ(read(f), c.result) << c.width << " x " << c.height;
    if (c.result == 0) {
      EXPECT_EQ(img().PixelCount, c.width * c.height);
    } else {
      EXPECT_EQ(log(), std::vector<std::string>{"read_rigaku_file() : Number of pixels is too large."});
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
  for (const Case& c : cases) {
    the_log().clear_history();
    RaxisFixture f;
    f.codes.assign(12, 1);
    c.change(f);
    const std::string path = dir_.file("frame.img");
    EXPECT_EQ(read(f, c.truncate_to), 1) << c.what;
    std::string message = c.message;
    if (auto at = message.find('$'); at != std::string::npos) message.replace(at, 1, path);
    EXPECT_EQ(log(), std::vector<std::string>{"read_rigaku_file() : " + message}) << c.what;
  }
  the_log().clear_history();
  EXPECT_EQ(read_rigaku_file(img(), dir_.file("missing.img")), 1);
  EXPECT_EQ(log(), std::vector<std::string>{"read_rigaku_file() : Cannot open " + dir_.file("missing.img") + "."});
}

TEST_F(RaxisTest, ABandOfRowsLandsAtItsStartRowAndIsClampedToTheImage) {
  RaxisFixture f;
  f.width = 3;
  f.height = 5;
  f.start_row = 2;
  f.rows = 2;
  f.codes = {1, 2, 3, 4, 5, 6};
  ASSERT_EQ(read(f), 0);
  EXPECT_EQ(rows(0, 2), std::vector<uint16_t>(6, 0));
  EXPECT_EQ(rows(2, 2), f.codes);
  EXPECT_EQ(rows(4, 1), std::vector<uint16_t>(3, 0));

  // More rows than the image has below the start row: only those that fit are read.
  f.start_row = 4;
  f.rows = 3;
  f.codes = {7, 8, 9, 10, 11, 12, 13, 14, 15};
  ASSERT_EQ(read(f), 0);
  EXPECT_EQ(rows(0, 4), std::vector<uint16_t>(12, 0));
  EXPECT_EQ(rows(4, 1), (std::vector<uint16_t>{7, 8, 9}));
}

TEST_F(RaxisTest, AShortFileLeavesTheUnreadPixelsZero) {
  RaxisFixture f;
  f.codes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  ASSERT_EQ(read(f, f.record_length + 2 * 5 + 1), 0);  // five whole codes and half a sixth
  EXPECT_EQ(img().image_codes, (std::vector<uint16_t>{1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 0, 0}));

  // A record length past the end of the file reads no pixels at all.
  f.record_length = 1 << 30;
  f.codes.clear();
  ASSERT_EQ(read(f, 4096), 0);
  EXPECT_EQ(img().image_codes, std::vector<uint16_t>(12, 0));
}

TEST_F(RaxisTest, VerticalReverseStoresTheFirstFileRowLast) {
  state().options.VerticalReverse = 1;
  RaxisFixture f;
  f.width = 2;
  f.codes = {1, 2, 3, 4, 5, 6};
  ASSERT_EQ(read(f), 0);
  EXPECT_EQ(img().image_codes, (std::vector<uint16_t>{5, 6, 3, 4, 1, 2}));
}

class RaxisWriterTest : public RaxisTest {
protected:
  void load(const RaxisFixture& f, const std::string& name) {
    img().ImageFilePath = f.write(dir_.file(name));
    ASSERT_EQ(read_rigaku_file(img(), img().ImageFilePath), 0);
  }
  std::string file(const std::string& name) {
    std::string bytes;
    EXPECT_TRUE(read_file_bytes(dir_.file(name), bytes));
    return bytes;
  }
};

TEST_F(RaxisWriterTest, WritesCodesIntoACopyOfTheLoadedFile) {
  RaxisFixture f;
  f.width = 2;
  f.codes = {1, 2, 3, 4, 5, 40000};
  load(f, "source.img");
  img().image_codes = {9, 8, 7, 6, 5, 65535};
  EXPECT_EQ(save_rigaku_file(dir_.file("copy.img"), 1), 0);
  RaxisFixture expected = f;
  expected.codes = img().image_codes;
  EXPECT_EQ(file("copy.img"), expected.bytes());
  EXPECT_EQ(file("source.img"), f.bytes());
}

TEST_F(RaxisWriterTest, FlipsRowsBackUnderVerticalReverse) {
  state().options.VerticalReverse = 1;
  RaxisFixture f;
  f.width = 2;
  f.codes = {1, 2, 3, 4, 5, 6};
  load(f, "source.img");
  EXPECT_EQ(save_rigaku_file(dir_.file("copy.img"), 1), 0);
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
  img().image_codes = {6, 5, 4, 3, 2, 1};
  EXPECT_EQ(save_rigaku_file(dir_.file("copy.img"), 1), 0);
  other.codes = img().image_codes;
  EXPECT_EQ(file("copy.img"), other.bytes());
}

TEST_F(RaxisWriterTest, RefusesCodesThatDoNotFillTheFile) {
  RaxisFixture f;
  load(f, "source.img");
  bg_image().set_size(2, 2, 2);  // a background smaller than the file's image
  EXPECT_EQ(save_rigaku_file(dir_.file("copy.img"), 0), 1);
  EXPECT_EQ(log().back(), "save_rigaku_file() : Image size does not match " + dir_.file("copy.img") + ".");
  EXPECT_FALSE(file_exists(dir_.file("copy.img")));
  // An existing file whose header names another size is left as it was.
  RaxisFixture other;
  other.width = 5;
  other.write(dir_.file("other.img"));
  EXPECT_EQ(save_rigaku_file(dir_.file("other.img"), 1), 1);
  EXPECT_EQ(file("other.img"), other.bytes());
}

TEST_F(RaxisWriterTest, AMissingLoadedFileIsReportedAndNothingIsWritten) {
  RaxisFixture f;
  load(f, "source.img");
  std::filesystem::remove(dir_.file("source.img"));
  EXPECT_EQ(save_rigaku_file(dir_.file("copy.img"), 1), 1);
  EXPECT_EQ(log().back(), "save_rigaku_file() : Cannot copy " + dir_.file("source.img") + " to " + dir_.file("copy.img") + ".");
  EXPECT_FALSE(file_exists(dir_.file("copy.img")));
}

TEST_F(RaxisWriterTest, TakesWavelengthAndCameraLengthFromTheLoadedFileUnlessLocked) {
  RaxisFixture f;
  f.wavelength = 0.9f;
  f.camera_length = 200.0f;
  load(f, "source.img");
  params().wavelength = 1.0;
  params().Lo = 100.0;
  params().pixel_x = 0.3;
  edits().set_checked(frmMain::chkLo, true);
  EXPECT_EQ(save_rigaku_file(dir_.file("copy.img"), 1), 0);
  EXPECT_EQ(params().wavelength, double(0.9f));
  EXPECT_EQ(params().Lo, 100.0);
  EXPECT_EQ(params().pixel_x, 0.3);
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
          the_log().clear_history();
          RaxisFixture f;
          f.width = w;
          f.height = h;
          f.record_length = record;
          f.start_row = start;
          f.rows = rows;
          f.codes.assign(9, 0xABCD);
          const int result = read(f, 4096);
          const std::string what = Format("%d x %d, record %d, start %d, rows %d", {w, h, record, start, rows});
          if (result == 0) {
            ASSERT_EQ(img().PixelCount, w * h) << what;
            ASSERT_EQ(img().image_codes.size(), size_t(w) * size_t(h)) << what;
            EXPECT_EQ(log().size(), 1u) << what;
          } else {
            EXPECT_EQ(result, 1) << what;
            EXPECT_EQ(log().size(), 1u) << what;
          }
        }
}

}  // namespace
}  // namespace kestrin::test
