// The peak search: the shape test, sub-bin positions, the full table, the sector consensus,
// compaction and the peak list rows.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/peak_search.h"
#include "analysis/peak_table.h"
#include "base/report.h"
#include "commands/nax_graph_commands.h"
#include "commands/peak_form_commands.h"
#include "peak_fixture.h"

namespace kestrin::test {
namespace {

using PeakSearchTest = PeakTest;

struct ShapeCase {
  const char* name;
  std::vector<int32_t> window;  // points i-3 .. i+3
  int32_t threshold;
  bool found;
};

TEST_F(PeakSearchTest, ShapeTestTable) {
  const ShapeCase cases[] = {
      {"symmetric", {0, 2, 3, 4, 3, 2, 0}, 0, true},
      {"right plateau", {0, 2, 3, 4, 4, 2, 0}, 0, true},
      {"left plateau", {0, 2, 4, 4, 3, 2, 0}, 0, false},
      {"outer rise of exactly 1", {1, 2, 3, 4, 3, 2, 0}, 0, false},
      {"outer fall of exactly 1", {0, 2, 3, 4, 3, 2, 1}, 0, false},
      {"top at the threshold", {0, 2, 3, 4, 3, 2, 0}, 4, true},
      {"top below the threshold", {0, 2, 3, 4, 3, 2, 0}, 5, false},
      {"huge values do not overflow", {2147483640, 2147483643, 2147483645, 2147483647, 2147483645, 2147483643, 2147483640}, 0, true},
  };
  for (const auto& c : cases) {
    const auto delta = peak_test(c.window, 3, c.threshold);
    EXPECT_EQ(delta.has_value(), c.found) << c.name;
    if (delta) {
      EXPECT_TRUE(std::fabs(*delta) < 4.0 / 3.0) << c.name;
    }
  }
  // Points 0..2 and n-3..n-1 are never centres.
  const std::vector<int32_t> w = {0, 2, 3, 4, 3, 2, 0};
  EXPECT_FALSE(peak_test(w, 2, 0));
  EXPECT_FALSE(peak_test(w, 4, 0));
}

TEST_F(PeakSearchTest, ResultCodesWithoutPatternAndOnSevenPoints) {
  state().macro.MacroRecording = true;
  EXPECT_EQ(peak_search_and_show(), 1);
  set_pattern({0, 2, 3, 4, 3, 2, 0}, kPixelHistogram);
  state().peak_table.count = 3;
  EXPECT_EQ(peak_search_and_show(), 2);
  EXPECT_EQ(state().peak_table.count, 3);  // unchanged
  EXPECT_EQ(state().macro.MacroList, (std::vector<std::string>{"Kestrin.PeakSearch();", "Kestrin.PeakSearch();"}));
  EXPECT_TRUE(log().empty());
}

TEST_F(PeakSearchTest, SubBinPositionIsTheExactVertexOfAParabola) {
  // y = 100000 - (4i - 41)^2 has its vertex at 10.25.
  std::vector<int32_t> y;
  for (int i = 0; i < 30; ++i) y.push_back(100000 - (4 * i - 41) * (4 * i - 41));
  set_pattern(y, kPixelHistogram);
  IntegrationParams& p = state().integration_params;
  p.pixel_x = 0.1, p.Lo = 100.0, p.wavelength = 1.5;
  ASSERT_EQ(peak_search_and_show(), 0);
  const PeakTable& t = state().peak_table;
  ASSERT_EQ(t.count, 1);
  EXPECT_DOUBLE_EQ(t.x[0], 10.25);
  const double tt = std::atan(10.25 * 0.1 / 100.0) * 180.0 / M_PI;
  EXPECT_DOUBLE_EQ(t.two_theta[0], tt);
  EXPECT_DOUBLE_EQ(t.d[0], 0.75 / std::sin(tt / 2.0 * M_PI / 180.0));
  EXPECT_EQ(t.intensity[0], y[10]);
  EXPECT_EQ(views.peak_lists, 1);
  EXPECT_EQ(views.graph_draws, 1);
}

TEST_F(PeakSearchTest, GaussianPeaksOnA2ThetaPatternAreFoundWithinATwentiethOfABin) {
  Report said;
  std::vector<int32_t> y(400, 100);
  const double centres[] = {60.3, 150.7, 251.5, 330.05};
  for (double c : centres) {
    const auto g = gaussian_pattern(400, c, 20000, 2.5);
    for (size_t i = 0; i < y.size(); ++i) y[i] += g[i];
  }
  set_pattern(y, kAngleHistogram);
  IntegrationParams& p = state().integration_params;
  p.two_theta_begin = 5.0, p.two_theta_step = 0.02, p.wavelength = 1.0;
  ASSERT_EQ(peak_search(said), 0);
  const PeakTable& t = state().peak_table;
  ASSERT_EQ(t.count, 4);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(t.x[size_t(k)], 0.0);
    EXPECT_NEAR((t.two_theta[size_t(k)] - 5.0) / 0.02, centres[k], 0.05);
  }
}

TEST_F(PeakSearchTest, TheTableHoldsFiveHundredPeaksAndSaysSo) {
  Report said;
  std::vector<int32_t> y;
  for (int r = 0; r < 600; ++r)
    for (int32_t v : {0, 20, 30, 40, 30, 20}) y.push_back(v);
  y.push_back(0);
  set_pattern(y, kPixelHistogram);
  ASSERT_EQ(peak_search(said), 0);
  EXPECT_EQ(state().peak_table.count, 500);
  EXPECT_DOUBLE_EQ(state().peak_table.x[499], 499 * 6 + 3);
  EXPECT_EQ(said.lines(), (std::vector<std::string>{"Dimension full : Peak=500"}));
}

TEST_F(PeakSearchTest, ThresholdIsAFiftiethOfTheMaximum) {
  Report said;
  // A small peak of height 19 under a maximum of 1000: 1000 / 50 = 20 rejects it.
  std::vector<int32_t> y(60, 0);
  const int32_t small[] = {0, 5, 10, 19, 10, 5, 0};
  const int32_t big[] = {0, 200, 500, 1000, 500, 200, 0};
  for (int i = 0; i < 7; ++i) y[size_t(10 + i)] = small[i], y[size_t(40 + i)] = big[i];
  set_pattern(y, kPixelHistogram);
  peak_search(said);
  ASSERT_EQ(state().peak_table.count, 1);
  EXPECT_DOUBLE_EQ(state().peak_table.x[0], 43.0);
}

// Sectors whose patterns have at most 7 points keep their peak lists, so the consensus
// can be driven with lists set by hand.
class ConsensusTest : public PeakTest {
protected:
  void sectors_with_peaks(const std::vector<std::vector<double>>& xs) {
    state().sector_patterns.allocate(int32_t(xs.size()));
    state().nax_pattern.set_kind(kSector16Pixel);
    for (size_t s = 0; s < xs.size(); ++s) {
      SectorPattern& sec = state().sector_patterns.sectors[s];
      sec.last_point = 7;
      PeakList& peaks = sec.peaks();
      peaks.count = 0;
      for (double x : xs[s]) {
        peaks.x[size_t(peaks.count)] = x;
        peaks.two_theta[size_t(peaks.count)] = x / 1000.0;
        peaks.intensity[size_t(peaks.count)] = 1.0;
        ++peaks.count;
      }
    }
  }
  std::vector<double> kept(int s) {
    SectorPattern& sec = state().sector_patterns.sectors[size_t(s)];
    if (sec.peak_count() == 0) return {};
    return std::vector<double>(sec.peaks().x.begin(), sec.peaks().x.begin() + sec.peak_count());
  }
};

TEST_F(ConsensusTest, FourMatchesKeepAPeakThreeDoNot) {
  // 100 is seen in five sectors (four matches each), 300 in four (three matches each).
  sectors_with_peaks({{100, 300}, {100.2, 300}, {99.8, 300}, {100.1, 300}, {100}});
  ASSERT_EQ(peak_search_and_show(), 0);
  EXPECT_EQ(kept(0), (std::vector<double>{100}));
  EXPECT_EQ(kept(2), (std::vector<double>{99.8}));
  EXPECT_EQ(kept(4), (std::vector<double>{100}));
  EXPECT_TRUE(log().empty());
  EXPECT_EQ(views.graph_draws, 1);
}

TEST_F(ConsensusTest, MarksMadeEarlierInAPassCount) {
  Report said;
  // 99.501 sees 100 only from its own, relative side as too far (0.499 / 99.501 > 0.005)
  // while 100 sees it (0.499 / 100 < 0.005). Sector 0 goes first and is removed, so each 100
  // then sees only three others.
  sectors_with_peaks({{99.501}, {100}, {100}, {100}, {100}});
  peak_search(said);
  for (int s = 0; s < 5; ++s) EXPECT_TRUE(kept(s).empty()) << s;
}

TEST_F(ConsensusTest, TheSecondPassLogsWhatItRemoves) {
  Report said;
  // Sector 0 (100) sees the four 99.501 peaks and survives the first pass; they do not see
  // it and fall, so the second pass removes sector 0's peak as well.
  sectors_with_peaks({{50, 100}, {50, 99.501}, {50, 99.501}, {50, 99.501}, {50, 99.501}});
  peak_search(said);
  EXPECT_EQ(kept(0), (std::vector<double>{50}));
  EXPECT_EQ(kept(1), (std::vector<double>{50}));
  EXPECT_EQ(said.lines(), (std::vector<std::string>{" Bank 0, Peak 1 Again Removed."}));
}

TEST_F(ConsensusTest, SectorPatternsAreSearchedWithATenthOfTheMaximum) {
  Report said;
  // Five sectors share a peak at 30.4; one of them has an extra peak at 15 below the threshold.
  sectors_with_peaks({{}, {}, {}, {}, {}});
  for (int s = 0; s < 5; ++s) {
    auto y = gaussian_pattern(60, 30.4, 5000, 2.0, 10);
    SectorPattern& sec = state().sector_patterns.sectors[size_t(s)];
    sec.pattern.assign(y.begin(), y.end());
    sec.last_point = 60;
  }
  const auto small = gaussian_pattern(60, 15, 400, 1.5);
  for (int i = 0; i < 60; ++i) state().sector_patterns.sectors[0].pattern[size_t(i)] += small[size_t(i)];
  state().nax_pattern.maximum = 5010;  // 501 is the threshold; the extra peak is about 410
  peak_search(said);
  for (int s = 0; s < 5; ++s) {
    ASSERT_EQ(kept(s).size(), 1u) << s;
    EXPECT_NEAR(kept(s)[0], 30.4, 0.05);
  }
}

TEST_F(PeakSearchTest, CompactionKeepsOrderAndDropsOnlyTheDeletionMark) {
  PeakList l;
  const double tt[] = {30, kDeletedPeak, 10, 20};
  const double x[] = {12000, kDeletedPeak, 500, 9999.995};
  for (int i = 0; i < 4; ++i) l.two_theta[size_t(i)] = tt[i], l.x[size_t(i)] = x[i], l.d[size_t(i)] = i;
  l.count = 4;
  PeakList by_angle = l;
  sort_and_compact_list(by_angle, false);
  ASSERT_EQ(by_angle.count, 3);
  EXPECT_EQ(std::vector<double>(by_angle.two_theta.begin(), by_angle.two_theta.begin() + 3), (std::vector<double>{10, 20, 30}));
  EXPECT_EQ(std::vector<double>(by_angle.d.begin(), by_angle.d.begin() + 3), (std::vector<double>{2, 3, 0}));
  // Keyed on x (pixel sector lists): a real peak beyond 9999.99 pixels stays.
  PeakList by_x = l;
  sort_and_compact_list(by_x, true);
  ASSERT_EQ(by_x.count, 3);
  EXPECT_EQ(std::vector<double>(by_x.x.begin(), by_x.x.begin() + 3), (std::vector<double>{500, 9999.995, 12000}));
}

TEST_F(PeakSearchTest, SortAndCompactResultCodes) {
  EXPECT_EQ(sort_and_compact_peaks(-1), 0);  // no pattern
  set_pattern(std::vector<int32_t>(10, 0), kPixelHistogram);
  EXPECT_EQ(sort_and_compact_peaks(-1), -1);  // empty table
  state().peak_table.count = 1;
  EXPECT_EQ(sort_and_compact_peaks(7), 0);  // s ignored
  state().nax_pattern.set_kind(kFreeSectorPixel);
  state().sector_patterns.allocate(2);
  EXPECT_EQ(sort_and_compact_peaks(-1), -1);
  EXPECT_EQ(sort_and_compact_peaks(5), -1);
  state().sector_patterns.sectors[1].peaks().count = 1;
  EXPECT_EQ(sort_and_compact_peaks(1), 0);
}

TEST_F(PeakSearchTest, SlopesStayInsideThePatternStorage) {
  set_pattern({1, 5, 9, 4}, kPixelHistogram);
  EXPECT_EQ(pattern_slope(1), 4.0);
  EXPECT_EQ(pattern_slope(2), -0.5);
  EXPECT_EQ(pattern_slope(0), 0.0);
  EXPECT_EQ(pattern_slope(kPatternSize - 1), 0.0);
  EXPECT_EQ(sector_pattern_slope(3, 1), 0.0);
  EXPECT_DOUBLE_EQ(relative_difference(1.0, 3.0), 2.0 * 2.0 / 4.0);
}

TEST_F(PeakSearchTest, PeakListRowsAndThePort) {
  PeakTable& t = state().peak_table;
  t.x[0] = 123.456789, t.two_theta[0] = 12.3456789, t.d[0] = 4.1, t.intensity[0] = 1234.5;
  t.x[1] = 0.0, t.two_theta[1] = 40.0, t.d[1] = 2.25, t.intensity[1] = 7.0;
  t.count = 2;
  EXPECT_EQ(peak_list_rows(), (std::vector<std::string>{
                                  "      1      123.45679      12.345679     4.10000000         1235  ",
                                  "      2        0.00000      40.000000     2.25000000            7  "}));
  show_peak_list();
  EXPECT_EQ(views.peak_lists, 1);
  EXPECT_EQ(views.forms, (std::vector<std::string>{"frmPeak"}));
  state().WindowShow = 0;
  show_peak_list();
  EXPECT_EQ(views.forms.size(), 1u);
}

}  // namespace
}  // namespace kestrin::test
