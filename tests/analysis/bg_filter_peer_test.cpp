// The background filter against scipy.ndimage: rank_filter with the sampled footprint and
// the same rank matches every interior pixel (borders keep the source codes, so scipy's
// border mode does not matter); the median and average smoothings match rank_filter and a
// correlation with a ones kernel that leaves one element out. (scipy's percentile_filter
// would not do: below 50 % its rank is rounded where the filter truncates toward zero.)
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "analysis/bg_filter.h"
#include "analysis/rank_filter.h"
#include "analysis_fixture.h"
#include "base/report.h"
#include "rank_reference.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

using BgFilterPeerTest = AnalysisTest;

struct ScipyJob {
  std::string kind;
  int32_t size, step;
  int64_t rank;
};

// scipy's results of every job on `src`, from one run of the peer.
std::vector<std::vector<uint16_t>> scipy_filters(const TempDir& dir, const std::vector<uint16_t>& src, int32_t W,
                                                 int32_t H, const std::vector<ScipyJob>& jobs) {
  const std::string in = dir.file("in.raw");
  std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(src.data()), std::streamsize(src.size() * 2));
  std::ostringstream cmd;
  cmd << kPeerPython << " " << KESTRIN_SOURCE_DIR << "/tests/analysis/peer/scipy_rank_filter.py " << in << " " << W
      << " " << H;
  for (size_t i = 0; i < jobs.size(); ++i)
    cmd << " " << jobs[i].kind << ":" << jobs[i].size << ":" << jobs[i].step << ":" << jobs[i].rank << ":"
        << dir.file("out" + std::to_string(i) + ".raw");
  std::string output;
  EXPECT_EQ(run_command(cmd.str() + " 2>&1", &output), 0) << output;
  std::vector<std::vector<uint16_t>> results;
  for (size_t i = 0; i < jobs.size(); ++i) {
    std::vector<uint16_t> result(src.size());
    std::ifstream(dir.file("out" + std::to_string(i) + ".raw"), std::ios::binary)
        .read(reinterpret_cast<char*>(result.data()), std::streamsize(result.size() * 2));
    results.push_back(std::move(result));
  }
  return results;
}

// The pixels whose window lies inside the image, and every other pixel as the source.
std::vector<uint16_t> interior(const std::vector<uint16_t>& filtered, const std::vector<uint16_t>& src, int32_t W,
                               int32_t H, int32_t size) {
  std::vector<uint16_t> out = src;
  const int32_t h = size / 2;
  for (int32_t y = h; y <= H - 1 - h; ++y)
    for (int32_t x = h; x <= W - 1 - h; ++x) out[size_t(x + W * y)] = filtered[size_t(x + W * y)];
  return out;
}

TEST_F(BgFilterPeerTest, RankFilterAndSmoothingsMatchScipy) {
  KESTRIN_REQUIRE_PEER("scipy");
  struct Case {
    int32_t size, step, percent;
  };
  const Case cases[] = {{3, 0, 50},  {5, 0, 30},  {4, 0, 50},  {6, 1, 25},  {7, 2, 50},  {19, 2, 50},
                        {19, 3, 10}, {19, 0, 0},  {19, 0, 100}, {5, 0, -20}, {5, 0, 130}};
  TempDir dir;
  const int32_t W = 64, H = 48;
  const std::vector<uint16_t> src = random_codes(W, H, 17, 2000, 400);
  std::vector<ScipyJob> jobs;
  for (const Case& c : cases) jobs.push_back({"rank", c.size, c.step, RankWindow{c.size, c.step}.rank(c.percent)});
  const std::vector<int32_t> smooth_sizes = {3, 4, 5};
  for (const int32_t size : smooth_sizes) {
    jobs.push_back({"rank", size, 0, size * size / 2});
    jobs.push_back({"average", size, 0, 0});
  }
  const std::vector<std::vector<uint16_t>> theirs = scipy_filters(dir, src, W, H, jobs);
  ASSERT_EQ(theirs.size(), jobs.size());
  size_t job = 0;
  for (const Case& c : cases) {
    std::vector<uint16_t> ours(src.size());
    Report report;
    bg_rank_filter(c.size, c.step, c.percent, ours, src, H, W, 0, kSmoothNone, report);
    EXPECT_EQ(ours, interior(theirs[job++], src, W, H, c.size)) << c.size << "/" << c.step << "/" << c.percent;
  }
  load_flat_image(W, H, 0);  // identity intensities
  for (const int32_t size : smooth_sizes) {
    std::vector<uint16_t> median = src, average = src;
    smooth_median_codes(size, W, H, median);
    smooth_average_codes(size, W, H, average);
    EXPECT_EQ(median, interior(theirs[job++], src, W, H, size)) << size;
    EXPECT_EQ(average, interior(theirs[job++], src, W, H, size)) << size;
  }
}

}  // namespace
}  // namespace kestrin::test
