// Editing the peak table: locating a peak on the slopes, adding near a given 2theta and
// deleting rows of the peak list.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/peak_edit.h"
#include "analysis/peak_table.h"
#include "base/convert.h"
#include "base/report.h"
#include "peak_fixture.h"

namespace kestrin::test {
namespace {

class PeakEditTest : public PeakTest {
protected:
  const PeakTable& table() { return state().peak_table; }
  Report said;  // what the edits said
};

TEST_F(PeakEditTest, TheLastSlopeReadStaysInsideThePattern) {
  // At k = n - 6 the slope at k + 5 would read point n.
  const int32_t n = kPatternSize;
  int32_t highest = 0;
  auto slope = [&](int32_t j) {
    highest = std::max(highest, j + 1);
    return j < n - 3 ? 1.0 : -1.0;
  };
  EXPECT_FALSE(locate_peak(n - 6, n, slope));
  EXPECT_EQ(highest, 0);
  EXPECT_TRUE(locate_peak(n - 7, n, slope));
  EXPECT_LE(highest, n - 1);
}

TEST_F(PeakEditTest, TheZeroCrossingOfALinearSlopeIsExact) {
  // slope(j) = 7.3 - j crosses zero at 7.3.
  const auto delta = locate_peak(7, 40, [](int32_t j) { return 7.3 - j; });
  ASSERT_TRUE(delta);
  EXPECT_NEAR(7 + *delta, 7.3, 1e-12);
}

TEST_F(PeakEditTest, AddAtAngleOnA2ThetaPattern) {
  std::vector<int32_t> y(300, 20);
  const auto g = gaussian_pattern(300, 120.4, 8000, 2.5);
  for (size_t i = 0; i < y.size(); ++i) y[i] += g[i];
  set_pattern(y, kAngleHistogram);
  IntegrationParams& p = state().integration_params;
  p.two_theta_begin = 10.0, p.two_theta_step = 0.05, p.wavelength = 1.54;
  EXPECT_TRUE(add_peak_at_angle(10.0 + 119 * 0.05, said));
  ASSERT_EQ(table().count, 1);
  EXPECT_NEAR(table().two_theta[0], 10.0 + 120.4 * 0.05, 0.005);
  EXPECT_DOUBLE_EQ(table().d[0], 0.77 / std::sin(table().two_theta[0] / 2 * M_PI / 180));
  EXPECT_FALSE(add_peak_at_angle(10.0 + 121 * 0.05, said));
  EXPECT_EQ(said.lines(), (std::vector<std::string>{
                       " add_peak_proc() : Peak already exists at " + Format("%10.6f", {table().two_theta[0]})}));
  state().nax_pattern.set_kind(kPixelHistogram);
  EXPECT_FALSE(add_peak_at_angle(16.0, said));
}

TEST_F(PeakEditTest, DeletingSelectedRowsFromLastToFirst) {
  set_peaked_pixel_pattern({});
  PeakTable& t = state().peak_table;
  for (int i = 0; i < 5; ++i) t.x[size_t(i)] = 10.0 * (i + 1), t.two_theta[size_t(i)] = i + 1.0;
  t.count = 5;
  for (int row : {3, 1}) EXPECT_TRUE(delete_selected_peak(row, said));
  ASSERT_EQ(t.count, 3);
  EXPECT_EQ(std::vector<double>(t.x.begin(), t.x.begin() + 3), (std::vector<double>{10, 30, 50}));
  EXPECT_FALSE(delete_selected_peak(3, said));  // past the table: nothing
  EXPECT_FALSE(delete_selected_peak(600, said));
  EXPECT_EQ(t.count, 3);
  EXPECT_FALSE(delete_selected_peak(-1, said));
  EXPECT_EQ(t.count, 3);
  EXPECT_EQ(said.lines(), (std::vector<std::string>{" No peak selected."}));
}
}  // namespace
}  // namespace kestrin::test
