// The centre without the direct beam on hand-made strip lists: the shift search, the
// corrected centre, the peaks kept per strip and the lists that match nothing.
#include "analysis/center_no_direct.h"

#include <gtest/gtest.h>

#include <vector>

#include "peak_fixture.h"
#include "ports/names/main_form_names.h"

namespace kestrin::test {
namespace {

StripPeaks strip(const std::vector<double>& x) {
  StripPeaks s;
  for (double v : x) s.x[size_t(s.count++)] = v;
  return s;
}

TEST(CenterNoDirect, OppositeStripsCorrectTheCentre) {
  struct Case {
    const char* name;
    StripLists lists;
    Centre expected;
  };
  const std::vector<double> rings = {80, 131.5, 190, 247};
  auto moved = [&rings](double d) {
    std::vector<double> x;
    for (double r : rings) x.push_back(r + d);
    return strip(x);
  };
  const std::vector<Case> cases = {
      // Y0 3 pixels too large: TOP sees the rings 3 further, BOTTOM 3 nearer; shift -6.
      {"Y0 3 too large", {moved(3), moved(-3), moved(0), moved(0)}, {500, 397}},
      {"X0 5 too small", {moved(0), moved(0), moved(-5), moved(5)}, {505, 400}},
      // An extra ring in one strip and a missing one in the other change nothing.
      {"extra and missing rings",
       {strip({83, 134.5, 160, 193, 250}), strip({77, 128.5, 244}), moved(-2), moved(2)},
       {502, 397}},
      {"an empty opposite strip", {moved(1), strip({}), moved(0), moved(0)}, {500, 0}},
      {"empty strips", {strip({50}), strip({}), strip({}), strip({60})}, {0, 0}},
  };
  for (const Case& c : cases) {
    const Centre got = match_opposite_sides(c.lists, 500, 400);
    EXPECT_DOUBLE_EQ(got.x, c.expected.x) << c.name;
    EXPECT_DOUBLE_EQ(got.y, c.expected.y) << c.name;
  }
}

TEST(CenterNoDirect, NearestOppositePeakTakesTheFirstOfEqualDistances) {
  const StripLists lists = {strip({}), strip({10, 20, 30}), strip({}), strip({5})};
  EXPECT_EQ(nearest_opposite_peak(lists, 15, 0), 0);
  EXPECT_EQ(nearest_opposite_peak(lists, 26, 0), 2);
  EXPECT_EQ(nearest_opposite_peak(lists, 400, 1), 0);
  EXPECT_EQ(nearest_opposite_peak(lists, 1e6, 1), -1);  // beyond the search bound
  EXPECT_EQ(nearest_opposite_peak(lists, 15, 1), 0);
  const StripLists empty{};
  EXPECT_EQ(nearest_opposite_peak(empty, 15, 0), -1);
}

TEST(CenterNoDirect, KeepsUpToElevenStrongPeaksInTableOrder) {
  PeakList table;
  table.count = 14;
  for (size_t j = 0; j < 14; ++j) table.x[j] = 10.0 * double(j + 1), table.intensity[j] = j == 2 ? 99 : 100;
  const StripPeaks s = keep_strip_peaks(table, 1000);  // a tenth: 100; peak 2 is weaker
  ASSERT_EQ(s.count, 11);
  EXPECT_EQ(s.x[1], 20);
  EXPECT_EQ(s.x[2], 40);
  EXPECT_EQ(s.x[10], 120);
}

// A round without an image measures every strip on the pattern that is current, so opposite
// lists agree and the centre stays; with no pattern, or a centre whose strips leave the
// image, nothing matches and both results are 0. The window keeps the round's settings.
using CenterNoDirectRound = PeakTest;

TEST_F(CenterNoDirectRound, WithoutRingsTheRoundStaysOrGivesZero) {
  struct Case {
    const char* name;
    bool image, pattern;
    const char *x, *y;
    Centre expected;
  };
  const Case cases[] = {
      {"no image, a pattern", false, true, "300", "200", {300, 200}},
      {"no image, no pattern", false, false, "300", "200", {0, 0}},
      {"strips off the image", true, false, "5000", "-300", {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    if (c.image) load_flat_image(60, 40, 100);
    if (c.pattern) set_peaked_pixel_pattern({50, 90});
    state().integration_params.X0 = 300, state().integration_params.Y0 = 200;
    edit(frmMain::edtCenterX0, c.x);
    edit(frmMain::edtCenterY0, c.y);
    edit(frmMain::edtPixelX, "0.1");
    edit(frmMain::edtPixelY, "0.1");
    edit(frmMain::edtBandWidth, "100");
    check(frmMain::rbtnSector);
    Centre got{-1, -1};
    EXPECT_EQ(FindCenterNoDirect(got.x, got.y), 0);
    EXPECT_EQ(got.x, c.expected.x);
    EXPECT_EQ(got.y, c.expected.y);
    EXPECT_TRUE(controls().checked(frmMain::rbtnRectangle));
    EXPECT_TRUE(controls().checked(frmMain::rbtnRect_Direction));
    EXPECT_EQ(controls().text(frmMain::edtBandWidth), "20");
    EXPECT_EQ(controls().item_index(frmMain::cmbDirection), 4);
  }
}

}  // namespace
}  // namespace kestrin::test
