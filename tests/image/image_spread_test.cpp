// Spreading images: the limit scan and its cap, the nine-row median on images of any shape,
// the resampling of a row (the documented shares where a source pixel covers three output
// pixels or fewer, exact sums everywhere), the codes, the reference file made and read, and
// the "_spr" files against a numpy transcription read back by fabio.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <sstream>

#include "base/paths.h"
#include "base/text_file.h"
#include "commands/image_spread_commands.h"
#include "image/image_loader.h"
#include "image/image_spread.h"
#include "image/image_store.h"
#include "image/loading_fixture.h"
#include "ports/names/image_spread_names.h"
#include "support/pattern_fixture.h"
#include "support/raxis_fixture.h"

namespace kestrin::test {
namespace {

using Lines = std::vector<std::string>;

// An image of the identity table whose row y holds data (intensity 100) in columns 0..last[y].
ImageData rows_with_data(int32_t width, const std::vector<int32_t>& last) {
  ImageData image;
  image.set_size(width, int32_t(last.size()), 2);
  build_tiff_tables(image, 16);
  for (size_t y = 0; y < last.size(); ++y)
    for (int32_t x = 0; x <= last[y] && x < width; ++x) image.image_codes[size_t(x) + size_t(width) * y] = 100;
  return image;
}

// The documented resampling, for the covers of three output pixels or fewer.
std::vector<double> documented_row(const std::vector<double>& in, int32_t last, int32_t width) {
  std::vector<double> out(size_t(width) + 3, 0.0);
  const double s = double(width) / (last + 1);
  for (int32_t x = 0; x <= last; ++x) {
    const double a = x * s, b = (x + 1) * s, i = in[size_t(x)];
    const int32_t k = int32_t(std::trunc(a)), d = int32_t(std::trunc(b)) - k;
    out[size_t(k)] += (k + 1 - a) * i / s;
    if (d == 2) {
      out[size_t(k) + 1] += 1.0 * i / s;
      out[size_t(k) + 2] += (b - (k + 2)) * i / s;
    } else {
      out[size_t(k) + 1] += (b - (k + 1)) * i / s;
    }
  }
  out.resize(size_t(width));
  return out;
}

class SpreadTest : public LoadingTest {
protected:
  void SetUp() override {
    LoadingTest::SetUp();
    Ports p = ports();
    p.file_dialogs = &dialogs_;
    install_ports(p);
  }
  // An R-AXIS file of `w` x `h` with overflow ratio 8 whose rows hold data up to column
  // (y * 7) % (w / 2) and a few overflow codes.
  std::string source(const std::string& name, int32_t w, int32_t h) {
    RaxisFixture f;
    f.width = w;
    f.height = h;
    f.overflow_ratio = 8.0f;
    f.codes.assign(size_t(w) * size_t(h), 0);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x <= (y * 7) % (w / 2); ++x)
        f.codes[size_t(x + w * y)] = uint16_t(x % 5 == 4 ? 32768 + 3000 + 13 * y : 30 + 97 * x + 11 * y);
    return f.write(dir_.file(name));
  }
  ScriptedFileDialogs dialogs_;
};

TEST_F(SpreadTest, EachRowsLimitIsItsLastDataColumnCappedAtHalfTheWidth) {
  EXPECT_EQ(measure_spread_limits(rows_with_data(20, {-1, 0, 5, 9, 10, 19})),
            (std::vector<int32_t>{9, 0, 5, 9, 9, 9}));
  EXPECT_EQ(measure_spread_limits(rows_with_data(21, {-1, 12})), (std::vector<int32_t>{9, 9}));  // Trunc(9.5)
  // The threshold is strict: intensity 25 is no data.
  ImageData image = rows_with_data(10, {-1});
  image.image_codes[2] = 25;
  image.image_codes[1] = 26;
  EXPECT_EQ(measure_spread_limits(image), std::vector<int32_t>{1});
}

TEST_F(SpreadTest, TheMedianRunsOverTheRowsOfImagesOfAnyShape) {
  std::vector<int32_t> limits(30);
  for (size_t y = 0; y < limits.size(); ++y) limits[y] = int32_t((y * 37 + 11) % 17);
  const std::vector<int32_t> median = median_spread_limits(limits);
  ASSERT_EQ(median.size(), limits.size());
  for (int32_t y = 4; y <= 25; ++y) {
    std::vector<int32_t> window(limits.begin() + (y - 4), limits.begin() + (y + 5));
    std::sort(window.begin(), window.end());
    EXPECT_EQ(median[size_t(y)], window[4]) << y;
  }
  for (int32_t y = 0; y < 4; ++y) EXPECT_EQ(median[size_t(y)], median[4]);
  for (int32_t y = 26; y < 30; ++y) EXPECT_EQ(median[size_t(y)], median[25]);
  // Through a whole image: wider than tall and taller than wide.
  for (const auto& [w, h] : {std::pair{40, 12}, std::pair{10, 30}}) {
    std::vector<int32_t> last(static_cast<size_t>(h));
    for (int32_t y = 0; y < h; ++y) last[size_t(y)] = (y * 3) % (w / 2);
    EXPECT_EQ(median_spread_limits(measure_spread_limits(rows_with_data(w, last))).size(), size_t(h));
  }
  EXPECT_EQ(median_spread_limits({3, 1, 2}), (std::vector<int32_t>{3, 1, 2}));  // fewer than nine rows
}

TEST_F(SpreadTest, AtTwiceTheWidthEveryOutputPixelGetsHalfASourcePixel) {
  const std::vector<double> in = {10, 20, 30, 40, 50};
  std::vector<double> out(10);
  spread_row(in.data(), 4, 10, out.data());
  for (size_t x = 0; x < 10; ++x) EXPECT_EQ(out[x], in[x / 2] / 2) << x;
}

TEST_F(SpreadTest, EveryRowKeepsItsSumAndTheDocumentedSharesWhereTheyHold) {
  struct Case {
    int32_t last, width;
  };
  const Case cases[] = {{4, 10}, {9, 10}, {6, 10}, {2, 10}, {28, 100}, {11, 100}, {99, 100}, {0, 7}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "last " << c.last << " width " << c.width);
    std::vector<double> in(size_t(c.last) + 1);
    for (size_t x = 0; x < in.size(); ++x) in[x] = double((x * 53 + 7) % 101);
    std::vector<double> out(size_t(c.width));
    spread_row(in.data(), c.last, c.width, out.data());
    const double sum_in = std::accumulate(in.begin(), in.end(), 0.0);
    EXPECT_NEAR(std::accumulate(out.begin(), out.end(), 0.0), sum_in, 1e-9 * sum_in);
    const double s = double(c.width) / (c.last + 1);
    if (s <= 2.0) {
      EXPECT_EQ(out, documented_row(in, c.last, c.width));
    }
  }
}

TEST_F(SpreadTest, OutputValuesBecomeCodesWithTheOverflowBit) {
  EXPECT_EQ(spread_code(40000, 8.0f), 37768);
  EXPECT_EQ(spread_code(32767.0, 8.0f), 32767);
  EXPECT_EQ(spread_code(32767.9, 8.0f), 32768 + 4095);
  EXPECT_EQ(spread_code(12.99, 8.0f), 12);
  EXPECT_EQ(spread_code(-3.5, 8.0f), 0);
  EXPECT_EQ(spread_code(1e9, 1.0f), 65535);  // the 15-bit field is full, not overflowed
}

TEST_F(SpreadTest, TheReferenceFileHoldsTheSmoothedLimitsOneLineARow) {
  const std::string image = source("a.img", 40, 24);
  const std::string ref = dir_.file("a_ref.csv");
  dialogs_.window_answers = {{{ref}, 1}};
  make_spread_reference({image});
  ASSERT_EQ(dialogs_.window_runs.size(), 1u);
  EXPECT_EQ(dialogs_.window_runs[0].dialog, to_string(frmImageSpread::svdRefFile));
  EXPECT_EQ(dialogs_.window_runs[0].setup.filter, "Ref. file (*.csv)|*.CSV");
  EXPECT_EQ(controls().text(frmImageSpread::edtRefFileName), ref);
  ImageStore read;
  Report report;
  ASSERT_TRUE(read_image_file(image, read, "", report));
  EXPECT_TRUE(report.lines().empty());
  std::string expected;
  for (int32_t v : median_spread_limits(measure_spread_limits(read))) put_line(expected, std::to_string(v));
  std::string written;
  ASSERT_TRUE(read_file_bytes(ref, written));
  EXPECT_EQ(written, expected);
  EXPECT_TRUE(log().empty());
  EXPECT_EQ(img().NoImageFlag, 1);  // the current image is untouched

  // Two files, or none: nothing at all; a cancelled dialog writes nothing.
  make_spread_reference({image, image});
  make_spread_reference({});
  EXPECT_EQ(dialogs_.window_runs.size(), 1u);
  std::remove(ref.c_str());
  make_spread_reference({image});
  EXPECT_FALSE(file_exists(ref));
}

TEST_F(SpreadTest, AReferenceThatDoesNotFitIsRefusedAndNothingIsWritten) {
  const std::string image = source("a.img", 40, 24);
  struct Case {
    std::vector<std::string> lines;
    std::string line;
  };
  const Case cases[] = {
      {std::vector<std::string>(23, "5"), " spread_images() : reference file too short."},
      {std::vector<std::string>(24, "x"), " spread_images() : 'x' is not a valid integer value"},
      {std::vector<std::string>(24, "40"), " spread_images() : reference limit 40 of row 0 is outside the image."},
      {std::vector<std::string>(24, "-1"), " spread_images() : reference limit -1 of row 0 is outside the image."},
  };
  for (const Case& c : cases) {
    the_log().clear_history();
    ASSERT_TRUE(write_text_file(dir_.file("ref.csv"), c.lines));
    spread_images_command(dir_.file("ref.csv"), {image});
    EXPECT_EQ(log(), Lines{c.line});
    EXPECT_FALSE(file_exists(dir_.file("a_spr.img")));
  }
}

TEST_F(SpreadTest, FilesThatDoNotLoadOrFitAreSkipped) {
  const std::string good = source("a.img", 40, 24), tall = source("tall.img", 40, 30);
  const std::string missing = dir_.file("missing.img");
  ASSERT_TRUE(write_text_file(dir_.file("ref.csv"), std::vector<std::string>(24, "9")));
  spread_images_command(dir_.file("ref.csv"), {missing, good, tall});
  EXPECT_EQ(log(), (Lines{" spread_images() : Cannot open " + missing + ": No such file or directory.",
                          " spread_images() : " + missing + " skipped.", " spread_images() : " + tall + " skipped."}));
  EXPECT_TRUE(file_exists(dir_.file("a_spr.img")));
  EXPECT_FALSE(file_exists(dir_.file("tall_spr.img")));
}

// The "_spr" file, read by fabio, against the resampling transcribed in numpy from the source
// file as fabio reads it.
TEST_F(SpreadTest, FabioReadsTheSpreadFileAsANumpyTranscriptionMakesIt) {
  KESTRIN_REQUIRE_PEER("fabio");
  const std::string image = source("a.IMG", 40, 24);
  std::vector<std::string> limits;
  for (int32_t y = 0; y < 24; ++y) limits.push_back(std::to_string((y * 5) % 19 + (y == 3 ? 20 : 0)));
  ASSERT_TRUE(write_text_file(dir_.file("ref.csv"), limits));
  spread_images_command(dir_.file("ref.csv"), {image});
  ASSERT_TRUE(log().empty()) << log().front();
  std::string out;
  const std::string script = "import numpy as np, fabio.raxisimage, os\nos.chdir('" + dir_.path() + "')\n" + R"(
src = fabio.raxisimage.RaxisImage().read('a.IMG').data.astype(np.float64)
spr = fabio.raxisimage.RaxisImage().read('a_spr.IMG').data
limits = [int(l) for l in open('ref.csv').read().split()]
h, w = src.shape
ratio = 8.0
bad = 0
for y in range(h):
    L = limits[y]
    s = w / (L + 1)
    out = [0.0] * w
    for x in range(L + 1):
        a, b, i = x * s, (x + 1) * s, float(src[y, x])
        j = int(a)
        while j < w and j < b:
            out[j] += (min(b, j + 1.0) - max(a, float(j))) * i / s
            j += 1
    for x in range(w):
        v = out[x]
        expect = max(0, int(v)) if v <= 32767.0 else min(int(v / ratio), 32767) * ratio
        if spr[y, x] != expect:
            bad += 1
print(h, w, bad)
)";
  ASSERT_EQ(run_peer_script(dir_, script, &out), 0) << out;
  EXPECT_EQ(out, "24 40 0\n");
}

}  // namespace
}  // namespace kestrin::test
