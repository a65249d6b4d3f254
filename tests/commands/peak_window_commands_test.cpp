// The peak list and peak fitting windows' rules without widgets: the copied text, deleting
// selected rows, the fit grid's texts and Retry reading the grid back.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "analysis/peak_fixture.h"
#include "analysis/peak_table.h"
#include "base/convert.h"
#include "commands/peak_fitting_commands.h"
#include "commands/peak_form_commands.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class PeakWindowTest : public PeakTest {
protected:
  // n peaks of a 2theta pattern at 1, 2, ... degrees.
  static void peaks(int n) {
    set_pattern(std::vector<int32_t>(100, 10), kAngleHistogram);
    PeakTable& t = state().peak_table;
    for (int i = 0; i < n; ++i)
      t.x[size_t(i)] = 0, t.two_theta[size_t(i)] = i + 1.0, t.d[size_t(i)] = 10.0 / (i + 1), t.intensity[size_t(i)] = 100;
    t.count = n;
  }
};

TEST_F(PeakWindowTest, CopyTakesTheSelectedRowsOrAllWithTheHeadingAndCrLf) {
  peaks(3);
  const std::vector<std::string> rows = peak_list_rows();
  const std::string heading = "  Peak        x(pixel)      2theta(deg)      d(A)        Intensity\r\n";
  EXPECT_EQ(peak_list_copy_text(rows, {false, false, false}), heading + rows[0] + "\r\n" + rows[1] + "\r\n" + rows[2] + "\r\n");
  EXPECT_EQ(peak_list_copy_text(rows, {false, true, false}), heading + rows[1] + "\r\n");
  // Only the first peak-count rows decide whether anything is selected.
  EXPECT_EQ(peak_list_copy_text(rows, {false, false, false, true}), peak_list_copy_text(rows, {}));
  state().peak_table.count = 0;
  EXPECT_EQ(peak_list_copy_text({}, {}), heading);
}

TEST_F(PeakWindowTest, DeletingRowsOneAndThreeOfFiveRemovesExactlyThosePeaks) {
  peaks(5);
  delete_selected_peaks({false, true, false, true, false});
  const PeakTable& t = state().peak_table;
  ASSERT_EQ(t.count, 3);
  EXPECT_EQ((std::vector<double>{t.two_theta[0], t.two_theta[1], t.two_theta[2]}), (std::vector<double>{1, 3, 5}));
  EXPECT_EQ(views.peak_lists, 2);  // the list is refilled after each deletion
}

TEST_F(PeakWindowTest, ButtonsRunTheirRoutines) {
  // Without a pixel pattern both refuse silently.
  calc_distance_command();
  peak_fitting_command();
  EXPECT_TRUE(log().empty());
  NaxPattern& p = state().nax_pattern;
  for (int i = 0; i < 60; ++i) p.values[size_t(i)] = 100 + int32_t(std::lround(4000 * std::exp2(-std::pow((i - 30.2) / 3, 2))));
  p.N = 60, p.maximum = 4100;
  p.set_kind(kPixelHistogram);
  state().peak_table.count = 1, state().peak_table.x[0] = 30;
  state().options.FitType = 1;
  peak_fitting_command();
  EXPECT_EQ(state().fit_tables.count, 1);
  EXPECT_NEAR(state().fit_tables.fitted[0].position, 30.2, 0.01);
  state().peak_table.two_theta[0] = 10;
  controls().set_text(frmMain::edtCameraLength, "100");
  controls().set_text(frmMain::edtPixelX, "0.1");
  calc_distance_command();
  EXPECT_EQ(log()[0], "Search from  90.0 (mm) to 110.0 (mm).");
  EXPECT_EQ(controls().text(frmMain::edtCameraLength), Format("%10.6f", {state().integration_params.Lo}));
}

// "Calc Distance" reads the edits first and writes the camera length back as "%10.6f" after
// a search, also when no reference matched; a geometry it refuses leaves the edit, the
// list and the graph alone.
TEST_F(PeakWindowTest, CalcDistanceShowsTheLengthAfterASearch) {
  set_pattern(std::vector<int32_t>(20, 5), kPixelHistogram);
  PeakTable& t = state().peak_table;
  t.count = 1, t.two_theta[0] = 10;
  struct Case { const char *pixel, *lo, *shown; int shows; };
  const Case cases[] = {{"0.1", "29.9", " 29.900000", 1}, {"0", "29.9", "29.9", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pixel);
    views.peak_lists = views.graph_draws = 0;
    controls().set_text(frmMain::edtPixelX, c.pixel);
    controls().set_text(frmMain::edtCameraLength, c.lo);
    calc_distance_command();
    EXPECT_EQ(controls().text(frmMain::edtCameraLength), c.shown);
    EXPECT_EQ(views.peak_lists, c.shows);
    EXPECT_EQ(views.graph_draws, c.shows);
  }
}

class FitGridTest : public PeakWindowTest {
protected:
  void SetUp() override {
    PeakWindowTest::SetUp();
    peaks(2);
    FitTables& f = state().fit_tables;
    f.fitted[0] = FitRecord{1, 1234.5678, 12.345678901, 0.05, 10.5, 0.25, 0, 0, 0};
    f.initial[0] = FitRecord{0, 1200.0, 12.3456789, 0.04, 10.0, 0.0, 0, 0, 0};
    f.fitted[1] = FitRecord{0, 5.0, 20.0, 0.1, 1.0, 0.0, 0, 0, 0};
    f.initial[1] = FitRecord{0, 6.0, 20.5, 0.2, 2.0, 0.0, 0, 0, 0};
    f.count = 1;
  }
};

TEST_F(FitGridTest, TheGridShowsBothTablesWithTheirMarksAndWidthsDoubled) {
  const Rows rows = fit_result_rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"Peak No.", "x(2theta)", "Intensity", "Base Int.", "FwHm(2theta)", "Tilt",
                                               "Init Pos", "Ini. Int.", "Ini. Offset", "Ini. FwHm", "Base Tilt"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{"1 *", " 12.34567890", " 1234.57", "   10.50", "  0.1000", "  0.2500",
                                               " 12.34567890", " 1200.00", "   10.00", "  0.0800", "  0.0000"}));
  EXPECT_EQ(rows[2][0], "2 xxx");
  state().nax_pattern.set_kind(kPixelHistogram);
  EXPECT_EQ(fit_result_rows()[0][1], "x(pixel)");
  EXPECT_EQ(fit_result_rows()[0][4], "FwHm(pixel)");
}

TEST_F(FitGridTest, RetryReadsPositionAmplitudeBaseAndHalfTheWidth) {
  std::map<std::pair<int, int>, std::string> grid;
  const Rows rows = fit_result_rows();
  for (int r = 0; r < int(rows.size()); ++r)
    for (int c = 0; c < 11; ++c) grid[{c, r}] = rows[size_t(r)][size_t(c)];
  grid[{9, 1}] = "4";
  grid[{6, 2}] = " 20.123456789";  // rounded to 8 decimals
  grid[{10, 2}] = "junk";          // the base tilt column is not read
  refit_from_grid([&](int c, int r) { return grid.at({c, r}); }, 3);
  const FitTables& f = state().fit_tables;
  EXPECT_EQ(f.initial[0].half_width, 2.0);
  EXPECT_EQ(f.initial[0].position, 12.3456789);
  EXPECT_EQ(f.initial[1].position, 20.12345679);
  EXPECT_EQ(f.initial[1].amplitude, 6.0);
  EXPECT_EQ(f.initial[1].base, 2.0);
  EXPECT_TRUE(log().empty());  // no pattern: the refit does nothing
}

TEST_F(FitGridTest, ABadCellStopsRetryWithWhatWasReadBeforeItKept) {
  std::map<std::pair<int, int>, std::string> grid;
  const Rows rows = fit_result_rows();
  for (int r = 0; r < int(rows.size()); ++r)
    for (int c = 0; c < 11; ++c) grid[{c, r}] = rows[size_t(r)][size_t(c)];
  grid[{7, 1}] = "999";
  grid[{8, 1}] = "1,5";
  grid[{6, 2}] = "30";
  EXPECT_THROW(refit_from_grid([&](int c, int r) { return grid.at({c, r}); }, 3), ConversionError);
  const FitTables& f = state().fit_tables;
  EXPECT_EQ(f.initial[0].amplitude, 999.0);  // read before the bad cell
  EXPECT_EQ(f.initial[0].base, 10.0);
  EXPECT_EQ(f.initial[1].position, 20.5);  // the later row is left unread
  EXPECT_TRUE(log().empty());              // nothing is fitted
}

}  // namespace
}  // namespace kestrin::test
