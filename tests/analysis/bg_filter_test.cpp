// The background filter against the literal bubble-pass filter over a table of window
// settings and thread counts; stop, pause and progress through a fake event pump; the
// smoothings, the subtraction's table of cases and the filter-size check.
#include "analysis/bg_filter.h"

#include <gtest/gtest.h>

#include <functional>

#include "analysis/bg_subtract.h"
#include "analysis/rank_filter.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "base/report.h"
#include "image/image_store.h"
#include "commands/bg_commands.h"
#include "rank_reference.h"

namespace kestrin::test {
namespace {

// An event pump whose handler runs at every poll; its wait records that it was asked to
// sleep and hands over to `on_wait`, which must end the pause.
class FakePump : public EventPump {
public:
  std::function<void(int calls)> on_poll;
  std::function<void()> on_wait;
  int polls = 0, waits = 0;
  void process_messages() override {
    ++polls;
    if (on_poll) on_poll(polls);
  }
  void wait_until(const std::function<bool()>& done) override {
    ++waits;
    if (on_wait) on_wait();
    EXPECT_TRUE(done());
  }
};

class BgFilterTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    Ports p = ports();
    p.events = &pump_;
    install_ports(p);
  }
  void TearDown() override {
    Ports p = ports();
    p.events = nullptr;
    install_ports(p);
    AnalysisTest::TearDown();
  }
  std::vector<uint16_t> filtered(const std::vector<uint16_t>& src, int32_t W, int32_t H, int32_t size, int32_t step,
                                 int32_t percent, int32_t smooth_size = 0, int32_t smooth_mode = kSmoothNone,
                                 int32_t* result = nullptr) {
    std::vector<uint16_t> dst(src.size(), 1);
    const FilterProgress progress{[this](int64_t rows) { rows_ = rows; },
                                  [this](int32_t done, int64_t) { done_ = done; }};
    const int32_t r = bg_rank_filter(size, step, percent, dst, src, H, W, smooth_size, smooth_mode, said_, progress);
    if (result) *result = r;
    return dst;
  }
  FakePump pump_;
  Report said_;  // what the filter said
  int64_t rows_ = -1;  // the progress it handed on: the rows to do and the rows done
  int32_t done_ = -1;
};

TEST_F(BgFilterTest, EqualsTheLiteralFilterForEveryWindowAndThreadCount) {
  struct Case {
    int32_t size, step, percent;
  };
  const Case cases[] = {{3, 0, 50},  {5, 0, 30},  {4, 0, 50},  {6, 1, 25},  {7, 2, 50},  {19, 2, 50},
                        {19, 3, 10}, {19, 0, 0},  {19, 0, 100}, {5, 0, -20}, {5, 0, 130}, {2, 0, 50}};
  const int32_t W = 41, H = 31;
  for (const auto& [centre, spread] : {std::pair{1000, 30}, std::pair{30000, 3000}}) {
    const std::vector<uint16_t> src = random_codes(W, H, uint32_t(centre), centre, spread);
    for (const Case& c : cases) {
      const std::vector<uint16_t> expected = literal_rank_filter(src, W, H, c.size, c.step, c.percent);
      for (int threads : {1, 2, 8}) {
        set_worker_threads(threads);
        EXPECT_EQ(filtered(src, W, H, c.size, c.step, c.percent), expected)
            << c.size << "/" << c.step << "/" << c.percent << " on " << threads << " threads, codes near " << centre;
      }
    }
  }
}

TEST_F(BgFilterTest, AnImageSmallerThanTheWindowIsCopied) {
  const std::vector<uint16_t> src = random_codes(15, 30, 5, 100, 50);
  EXPECT_EQ(filtered(src, 15, 30, 19, 0, 50), src);
  EXPECT_EQ(filtered(src, 15, 30, 0, 0, 50), src);
  EXPECT_EQ(filtered(src, 15, 30, 5, -1, 50), src);
  EXPECT_EQ(said_.lines().back(), " bg_rank_filter() : Step -1 is refused: it must not be negative.");
}

TEST_F(BgFilterTest, StopAfterABlockLeavesExactlyTheFinishedRows) {
  const int32_t W = 30, H = 3 * kFilterBlockRows + 10, size = 5, h = 2;
  const std::vector<uint16_t> src = random_codes(W, H, 9, 500, 100);
  const std::vector<uint16_t> whole = literal_rank_filter(src, W, H, size, 0, 50);
  pump_.on_poll = [](int calls) {
    if (calls == 2) state().BatchState = kBatchStop;
  };
  int32_t result = 0;
  const std::vector<uint16_t> dst = filtered(src, W, H, size, 0, 50, 3, kSmoothMedian, &result);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(pump_.polls, 2);
  const int32_t done = done_;
  EXPECT_EQ(done, 2 * kFilterBlockRows);
  EXPECT_EQ(rows_, H - 2 * h);
  for (int32_t y = 0; y < H; ++y) {
    const bool finished = y >= h && y < h + done;
    for (int32_t x = 0; x < W; ++x) {
      const size_t at = size_t(x + W * y);
      ASSERT_EQ(dst[at], finished ? whole[at] : src[at]) << x << "," << y;
    }
  }
}

TEST_F(BgFilterTest, PauseWaitsForTheContinueAndGivesTheUninterruptedResult) {
  const int32_t W = 25, H = 2 * kFilterBlockRows + 7;
  const std::vector<uint16_t> src = random_codes(W, H, 10, 500, 100);
  pump_.on_poll = [](int calls) {
    if (calls == 1) state().BatchState = kBatchPause;
  };
  pump_.on_wait = [] { state().BatchState = kBatchRun; };
  int32_t result = 1;
  EXPECT_EQ(filtered(src, W, H, 7, 2, 50, 0, kSmoothNone, &result), literal_rank_filter(src, W, H, 7, 2, 50));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(pump_.waits, 1);
  EXPECT_EQ(pump_.polls, 3);
}

// Median smoothing is the rank filter of the median; average smoothing leaves out window
// element (N - 1) div 2 and writes the rounded mean (the code array routine truncates).
TEST_F(BgFilterTest, SmoothingsAfterTheFilterAndOnCodeArrays) {
  const int32_t W = 20, H = 17;
  load_flat_image(W, H, 0);  // the identity table of a TIFF image
  const std::vector<uint16_t> src = random_codes(W, H, 11, 300, 60);
  const std::vector<uint16_t> ranked = literal_rank_filter(src, W, H, 5, 0, 40);
  EXPECT_EQ(filtered(src, W, H, 5, 0, 40, 3, kSmoothMedian), literal_rank_filter(ranked, W, H, 3, 0, 50));
  for (const int32_t size : {3, 4}) {
    auto average = [&](const std::vector<uint16_t>& in, bool truncate) {
      std::vector<uint16_t> out = in;
      const int32_t h = size / 2, n2 = size * size, left = (n2 - 1) / 2;
      for (int32_t y = h; y <= H - 1 - h; ++y)
        for (int32_t x = h; x <= W - 1 - h; ++x) {
          double sum = 0;
          for (int32_t i = 0; i < n2; ++i) sum += in[size_t(x - h + i % size + W * (y - h + i / size))];
          sum -= in[size_t(x - h + left % size + W * (y - h + left / size))];
          const double mean = sum / (n2 - 1);
          out[size_t(x + W * y)] = uint16_t(truncate ? std::trunc(mean) : std::nearbyint(mean));
        }
      return out;
    };
    EXPECT_EQ(filtered(src, W, H, 5, 0, 40, size, kSmoothAverage), size >= 3 ? average(ranked, false) : ranked);
    std::vector<uint16_t> codes = src;
    smooth_average_codes(size, W, H, codes);
    EXPECT_EQ(codes, average(src, true)) << size;
    codes = src;
    smooth_median_codes(size, W, H, codes);
    EXPECT_EQ(codes, literal_rank_filter(src, W, H, size, 0, 50)) << size;
  }
}

// A fractional table takes the direct sums and encodes the mean by the table's own law.
TEST_F(BgFilterTest, AverageOfAFujiLikeTableEncodesByItsTable) {
  const int32_t W = 9, H = 9;
  load_flat_image(W, H, 0);
  ImageStore& img = current_image();
  build_fuji_tables(img, 16, 4.0);
  img.image_type = kTypeBAS2500;
  std::vector<uint16_t> codes(size_t(W * H), 30000);
  codes[40] = 50000;  // the centre is left out of its own window's mean
  smooth_average_codes(3, W, H, codes);
  EXPECT_EQ(codes[40], 30000);
  const double mean = (7 * img.intensity_table[30000] + img.intensity_table[50000]) / 8;
  const uint16_t c = codes[30];
  EXPECT_LE(img.intensity_table[c - 1u], mean);
  EXPECT_GE(img.intensity_table[c + 1u], mean);
  EXPECT_GT(c, 30000);
}

// Two pixels each: the subtraction by image type, the overflow code, the clamp and the
// offset rule (Percent both in each difference and in the scale).
TEST_F(BgFilterTest, SubtractionTable) {
  struct Case {
    int32_t type;
    float ratio;
    std::vector<uint16_t> source, bg;
    double factor, percent;
    std::vector<uint16_t> expected;
    double offset;
  };
  const uint16_t i48000 = 32768 + 6000;  // 48000 at ratio 8
  const Case cases[] = {
      {kTypeTiff, 1, {65500, 10}, {0, 1000}, 1, 10, {65535, 0}, 100},  // d = 1000 + 10 - 10; 65600 clamps
      {kTypeTiff, 1, {200, 5}, {3, 0}, 0.5, 0, {198, 5}, 0},            // 198.5 rounds to even
      {kTypeRigaku, 8, {i48000, 10}, {8000, 0}, 1, 0, {37768, 10}, 0},  // 40000: Round(40000 / 8) | 32768
      {kTypeRaxis, 8, {100, 500}, {200, 0}, 2, 50, {0, 675}, 175},      // d = 400 + 50 - 100, offset 350 / 2
      {kTypeRaxisCS, 1, {1000, 0}, {300, 0}, 1, 0, {700, 0}, 0},
      {kTypeHipic, 1, {500, 0}, {100, 0}, 1, 0, {400, 0}, 0},
  };
  for (const Case& c : cases) {
    load_flat_image(2, 1, 0);
    ImageStore& img = current_image();
    if (c.type == kTypeTiff) build_tiff_tables(img, 16);
    else build_overflow_tables(img, c.ratio);
    img.image_type = c.type;
    bg_image().intensity_table = img.intensity_table;
    std::vector<uint16_t> source = c.source, bg = c.bg;
    double offset = -1;
    Report report;
    EXPECT_EQ(subtract_bg(source, bg, c.factor, c.percent, offset, 1, 2, 3, kSmoothNone, report), c.offset) << c.type;
    EXPECT_TRUE(report.lines().empty());
    EXPECT_EQ(offset, c.offset);
    EXPECT_EQ(bg, c.expected) << c.type;
  }
  EXPECT_TRUE(log().empty());
}

TEST_F(BgFilterTest, SubtractionOfOtherImageTypesIsRefusedWithTheReason) {
  load_flat_image(1, 1, 0);
  for (const int32_t type : {kTypeBruker, kTypeBAS2500, kTypeFloatTiff}) {
    current_image().image_type = type;
    std::vector<uint16_t> source = {500}, bg = {100};
    double offset = 0;
    Report report;
    subtract_bg(source, bg, 1.0, 0, offset, 1, 1, 0, kSmoothNone, report);
    EXPECT_EQ(bg[0], 100);
    EXPECT_EQ(report.lines(),
              std::vector<std::string>{Format(" subtract_bg() : The subtraction is not done for image type %d.", {type})});
  }
}

TEST_F(BgFilterTest, SubtractionSmoothsTheSourceFirstAndTheBackgroundTableIsItsOwn) {
  const int32_t W = 5, H = 5;
  load_flat_image(W, H, 0);
  current_image().image_type = kTypeTiff;
  bg_image().intensity_table.assign(kCodeCount, 0.0);
  for (int c = 0; c < kCodeCount; ++c) bg_image().intensity_table[size_t(c)] = 2.0 * c;
  std::vector<uint16_t> source(25, 100), bg(25, 10);
  source[12] = 1000;  // removed by the median
  double offset = 0;
  Report report;
  subtract_bg(source, bg, 1.0, 0, offset, H, W, 3, kSmoothMedian, report);
  EXPECT_EQ(source[12], 100);
  EXPECT_EQ(bg[12], 80);  // 100 - 2 * 10
}

TEST_F(BgFilterTest, FilterSizeCheck) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      {"19", "2", true}, {"7", "2", true}, {"5", "0", true}, {"9", "2", false}, {"4", "1", false},
      {"2", "0", false}, {"5", "-1", false}, {"3", "0", true}, {"21", "1", true}, {"19", "1", false}};
  for (const auto& [size, step, valid] : cases) EXPECT_EQ(check_filter_size(size, step), valid) << size << "/" << step;
  EXPECT_THROW(check_filter_size("x", "1"), ConversionError);
}

TEST_F(BgFilterTest, CopyMakesABlankBackgroundOfTheImagesFrame) {
  load_flat_image(6, 4, 7);
  ImageStore& img = current_image();
  build_overflow_tables(img, 4.0f);
  img.image_type = kTypeRigaku;
  img.ImageFolder = "/data/";
  img.ImageBaseName = "a";
  copy_image_to_bg_command();
  const ImageStore& bg = bg_image();
  EXPECT_EQ(bg.NoImageFlag, 0);
  EXPECT_EQ(bg.ImageWidth, 6);
  EXPECT_EQ(bg.ImageHeight, 4);
  EXPECT_EQ(bg.image_codes, std::vector<uint16_t>(24, 0));
  EXPECT_EQ(bg.InfFileName, "/data/a.inf");
  EXPECT_EQ(bg.OverflowRatio, 4.0f);
  EXPECT_EQ(bg.intensity_table, img.intensity_table);
  EXPECT_EQ(bg.LogMax, 65535);
  EXPECT_EQ(state().bg_levels.level.size(), 24u);
  img.NoImageFlag = 1;
  copy_image_to_bg_command();
  EXPECT_EQ(log().back(), " copy_image_to_bg() : Image data does not exist.");
}

}  // namespace
}  // namespace kestrin::test
