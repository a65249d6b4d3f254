// The spot search against its literal reference (candidates and spots, integer and
// fractional intensity tables, several thread counts), its refusals and the rules of its
// batches and duplicates.
#include "analysis/spot_search.h"

#include <gtest/gtest.h>

#include "analysis/spot_list.h"
#include "base/report.h"
#include "analysis_fixture.h"
#include "spot_reference.h"
#include "support/spot_image.h"

namespace kestrin::test {
namespace {

class SpotSearchTest : public AnalysisTest {
protected:
  // The frame as the current image; `fractional` gives it a table of non-integer intensities.
  static void load_frame(const SpotImageSpec& spec, bool fractional = false) {
    load_into_current_image(make_spot_image(spec), spec.width, spec.height);
    if (fractional)
      for (int c = 0; c < kCodeCount; ++c) current_image().intensity_table[size_t(c)] = c * 1.37 + 0.05;
  }
  static std::vector<ReferenceSpot> listed() {
    const SpotList& l = state().spot_list;
    std::vector<ReferenceSpot> out;
    for (int32_t i = 0; i < l.SpotCount; ++i) out.push_back({l.SpotX[size_t(i)], l.SpotY[size_t(i)], l.SpotIntensity[size_t(i)]});
    return out;
  }
  void search(const SpotScan& s) {
    spot_search(current_image().ImageWidth, s.s, s.b, s.ratio, s.tolerance, s.d, s.x0, s.y0, s.x1, s.y1, said);
  }
  Report said;  // what the searches said
};

bool same(const std::vector<ReferenceSpot>& a, const std::vector<ReferenceSpot>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].x != b[i].x || a[i].y != b[i].y || a[i].intensity != b[i].intensity) return false;
  return true;
}

TEST_F(SpotSearchTest, CandidatesAndSpotsEqualTheLiteralSearchOnEveryThreadCount) {
  struct Case {
    uint32_t seed;
    bool fractional;
    SpotScan scan;
  };
  const Case cases[] = {
      {7, false, {1, 9, 1.3, 0.2, 4, 0, 0, 160, 120}},
      {8, false, {0, 3, 1.2, 0.5, 2, 5, 7, 150, 101}},  // flat sides differ by 7 / 5 for b = 3
      {9, false, {3, 5, 1.1, 0.5, 6, 0, 0, 160, 120}},
      {10, true, {1, 9, 1.3, 0.2, 4, 0, 0, 160, 120}},
      {11, true, {2, 4, 1.2, 0.4, 0, 20, 10, 140, 110}},
  };
  for (const Case& c : cases) {
    SpotImageSpec spec;
    spec.seed = c.seed;
    spec.spots = 40;
    load_frame(spec, c.fractional);
    const std::vector<SpotCandidate> expected = reference_candidates(current_image(), c.scan);
    const std::vector<ReferenceSpot> spots = reference_search(current_image(), c.scan);
    ASSERT_GT(expected.size(), 10u) << c.seed;
    for (int threads : {1, 2, 8}) {
      set_worker_threads(threads);
      EXPECT_EQ(find_spot_candidates(current_image(), c.scan), expected) << c.seed << " on " << threads;
      search(c.scan);
      EXPECT_TRUE(same(listed(), spots)) << c.seed << " on " << threads;
    }
  }
}

// The refined spots lie on the true spot centres.
TEST_F(SpotSearchTest, FindsEverySeededSpotNearItsCentre) {
  SpotImageSpec spec;
  spec.spots = 12;
  spec.min_separation = 25;
  spec.background = 10;  // below a tenth of every spot's top, so the centroid sees the spot alone
  spec.noise = 1;
  spec.min_amplitude = 800;
  std::vector<SpotTruth> truth;
  load_into_current_image(make_spot_image(spec, &truth), spec.width, spec.height);
  search({1, 9, 1.3, 0.2, 4, 0, 0, spec.width, spec.height});
  size_t matched = 0;
  for (const SpotTruth& t : truth)
    for (const ReferenceSpot& s : listed())
      if (std::hypot(s.x - t.x, s.y - t.y) < 0.5) ++matched;
  EXPECT_EQ(matched, truth.size());
  EXPECT_EQ(listed().size(), truth.size());
}

TEST_F(SpotSearchTest, AddAppendsABatchThatRepeatsTheSameSpots) {
  SpotImageSpec spec;
  load_frame(spec);
  const SpotScan s{1, 9, 1.3, 0.2, 4, 0, 0, spec.width, spec.height};
  search(s);
  const int32_t n = state().spot_list.SpotCount;
  ASSERT_GT(n, 3);
  state().spot_list.SpotBatchStart = 5;
  search(s);
  EXPECT_EQ(state().spot_list.SpotBatchStart, 5);  // a new search leaves the marker
  for (int k = 1; k <= 2; ++k) {
    spot_search_add(spec.width, s.s, s.b, s.ratio, s.tolerance, s.d, s.x0, s.y0, s.x1, s.y1, said);
    EXPECT_EQ(state().spot_list.SpotCount, n * (k + 1));
    EXPECT_EQ(state().spot_list.SpotBatchStart, n * k);
  }
  EXPECT_EQ(state().spot_list.SpotX[0], state().spot_list.SpotX[size_t(2 * n)]);
  EXPECT_GE(state().spot_list.SpotRecords.size(), size_t(3 * n));
  remove_near_spots(0.1);
  EXPECT_EQ(state().spot_list.SpotCount, n);
}

TEST_F(SpotSearchTest, RectanglesWithoutRoomForTheBorderFindNothing) {
  load_flat_image(40, 40, 100);
  current_image().image_codes[20 + 40 * 20] = 5000;
  const SpotScan wide{1, 9, 1.3, 0.2, 4, 0, 0, 40, 40};
  search(wide);
  ASSERT_EQ(state().spot_list.SpotCount, 1);
  EXPECT_EQ(state().spot_list.SpotX[0], 20);
  // Columns 11 to 30 (2b + 2 of them) leave column 20 to test; 11 to 29 leave none.
  search({1, 9, 1.3, 0.2, 4, 11, 0, 30, 40});
  EXPECT_EQ(state().spot_list.SpotCount, 1);
  search({1, 9, 1.3, 0.2, 4, 11, 0, 29, 40});
  EXPECT_EQ(state().spot_list.SpotCount, 0);
  search(wide);
  spot_search_add(40, 1, 9, 1.3, 0.2, 4, 11, 0, 29, 40, said);
  EXPECT_EQ(state().spot_list.SpotCount, 1);
  EXPECT_EQ(state().spot_list.SpotBatchStart, 1);
}

// A zero background makes no candidate instead of dividing by zero; so does a zero side.
TEST_F(SpotSearchTest, ZeroBackgroundOrSideMakesNoCandidate) {
  load_flat_image(30, 30, 0);
  current_image().image_codes[15 + 30 * 15] = 1000;
  search({1, 3, 1.3, 0.2, 4, 0, 0, 30, 30});
  EXPECT_EQ(state().spot_list.SpotCount, 0);
  EXPECT_TRUE(said.lines().empty());
}

TEST_F(SpotSearchTest, RefusesBadSizesAWrongWidthAndAMissingImage) {
  search({1, 9, 1.3, 0.2, 4, 0, 0, 10, 10});
  load_flat_image(30, 30, 10);
  search({4, 3, 1.3, 0.2, 4, 0, 0, 30, 30});
  search({0, 0, 1.3, 0.2, 4, 0, 0, 30, 30});
  spot_search_add(29, 1, 3, 1.3, 0.2, 4, 0, 0, 30, 30, said);
  EXPECT_EQ(said.lines(), (std::vector<std::string>{
                       " spot_search() : Image data does not exist.",
                       " spot_search() : Size1 4 and Size2 3 are refused: 0 <= Size1 <= Size2 and 1 <= Size2 are needed.",
                       " spot_search() : Size1 0 and Size2 0 are refused: 0 <= Size1 <= Size2 and 1 <= Size2 are needed.",
                       " spot_search_add() : Width 29 is not the image width 30.",
                   }));
}

TEST_F(SpotSearchTest, RefinementHonoursTheMaskOnlyWhileItIsOn) {
  load_flat_image(40, 40, 10);
  auto& codes = current_image().image_codes;
  codes[20 + 40 * 20] = 500;
  codes[23 + 40 * 20] = 400;
  state().image_mask.resize(40, 40);
  state().image_mask.bytes[20 + 40 * 20] = 1;
  double x = 19, y = 21;
  EXPECT_EQ(refine_spot(x, y), 500);
  EXPECT_EQ(x, 1200.0 / 900 + 20);  // the centroid of the pixels of at least a tenth of 500
  EXPECT_EQ(y, 20);
  state().OmitGreen = true;
  x = 19, y = 21;
  EXPECT_EQ(refine_spot(x, y), 400);
  EXPECT_EQ(x, 23);
  // A window without a positive unmasked pixel keeps the position.
  load_flat_image(40, 40, 0);
  x = 12.5, y = 7.25;
  EXPECT_EQ(refine_spot(x, y), 0);
  EXPECT_EQ(x, 12.5);
  EXPECT_EQ(y, 7.25);
}

}  // namespace
}  // namespace kestrin::test
