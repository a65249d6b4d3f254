// The peak list and peak fitting windows' rules without widgets: the copied text, deleting
// selected rows, the fit grid's texts and Retry reading the grid back.
#include <gtest/gtest.h>

#include <map>

#include "analysis/peak_fixture.h"
#include "analysis/peak_table.h"
#include "base/convert.h"
#include "commands/peak_fitting_commands.h"
#include "commands/peak_form_commands.h"

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

TEST_F(PeakWindowTest, RoutinesNotInThisBuildSaySo) {
  for (void (*command)() : {calc_distance_command, peak_fitting_command, print_peak_command}) command();
  EXPECT_EQ(log(), (std::vector<std::string>{" camera_length_search() : not available in this version.",
                                             " PeakFitting() : not available in this version.",
                                             " print_peak_proc() : not available in this version."}));
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
  EXPECT_EQ(log(), (std::vector<std::string>{" refit_peaks() : not available in this version."}));
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
