// The centre without the direct beam on hand-made strip lists: the shift search, the
// corrected centre, the peaks kept per strip and the lists that match nothing.
#include "analysis/center_no_direct.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/report.h"
#include "commands/main_form_commands.h"
#include "peak_fixture.h"

namespace kestrin::test {
namespace {

// One round as the main window's command runs it (rectangle mode by direction with the
// strips' band, each strip's direction shown and its peaks searched as the button does),
// its lines in the log.
void strip_round(double& x, double& y) { find_center_without_direct_round(x, y); }

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

// Each pair says how it placed its coordinate: a strip without peaks, no pair within 10
// pixels, or a shift that leaves a strip's inner ring unpaired (each ring paired with the
// next one of the other strip) leave it unmatched; a large shift that pairs every ring with
// itself is matched.
TEST(CenterNoDirect, EachPairSaysHowItMatched) {
  struct Case {
    const char* name;
    StripPeaks top, bottom;
    SideMatch match;
    double value;
    int32_t shift;
    double left_out;
  };
  const std::vector<double> rings = {80, 131.5, 190, 247};  // innermost spacing 51.5
  auto moved = [&rings](double d) {
    std::vector<double> x;
    for (double r : rings) x.push_back(r + d);
    return strip(x);
  };
  const std::vector<Case> cases = {
      {"3 pixels", moved(3), moved(-3), SideMatch::kMatched, 397, -6, 0},
      {"20 pixels: every ring with itself", moved(20), moved(-20), SideMatch::kMatched, 380, -40, 0},
      {"an outer ring in one strip only", strip({83, 134.5, 193, 250, 301}), moved(-3), SideMatch::kMatched, 397, -6,
       0},
      {"an empty BOTTOM", moved(0), strip({}), SideMatch::kNoPeaks, 0, 0, 0},
      {"an empty TOP", strip({}), moved(0), SideMatch::kNoPeaks, 0, 0, 0},
      {"nothing within reach", strip({50}), strip({200}), SideMatch::kNoPair, 0, -100, 0},
      {"each ring with the next", moved(0), strip({70, 133, 185, 240, 299}), SideMatch::kNeighbourRings, 0, 52, 70},
      {"each ring with the previous", strip({70, 133, 185, 240, 299}), moved(0), SideMatch::kNeighbourRings, 0, -53,
       70},
      // The rounds of a tilted detector end here: no shift, ring 1 of TOP on ring 0 of BOTTOM.
      {"no shift, neighbours", strip({240.8, 283.1, 421.9}), strip({283.1, 327.3, 473.8}), SideMatch::kNeighbourRings,
       0, 0, 240.8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const StripLists lists = {c.top, c.bottom, strip({}), strip({})};
    const SideResult r = match_side(lists, 0, 400);
    EXPECT_EQ(int(r.match), int(c.match));
    EXPECT_DOUBLE_EQ(r.value, c.value);
    EXPECT_EQ(r.shift, c.shift);
    EXPECT_EQ(r.left_out, c.left_out);
    EXPECT_DOUBLE_EQ(match_opposite_sides(lists, 500, 400).y, c.value);
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
// image, nothing matches and both coordinates keep their values. The window keeps the
// round's settings.
using CenterNoDirectRound = PeakTest;

TEST_F(CenterNoDirectRound, WithoutRingsTheRoundKeepsTheCentre) {
  struct Case {
    const char* name;
    bool image, pattern;
    double x, y;
    Centre expected;
  };
  const Case cases[] = {
      {"no image, a pattern", false, true, 300, 200, {300, 200}},
      {"no image, no pattern", false, false, 300, 200, {300, 200}},
      {"strips off the image", true, false, 5000, -300, {5000, -300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    if (c.image) load_flat_image(60, 40, 100);
    if (c.pattern) set_peaked_pixel_pattern({50, 90});
    set_centre(c.x, c.y);
    set_parameter(&IntegrationParams::pixel_x, 0.1);
    set_parameter(&IntegrationParams::pixel_y, 0.1);
    set_parameter(&IntegrationParams::band_width, 100);
    set_region(kRegionSector);
    Centre got{-1, -1};
    strip_round(got.x, got.y);
    EXPECT_EQ(got.x, c.expected.x);
    EXPECT_EQ(got.y, c.expected.y);
    EXPECT_EQ(shown_value(&P::IntegrationMode), kRegionRectangle);
    EXPECT_EQ(shown_value(&P::RectAngleMode), kByDirection);
    EXPECT_EQ(shown_text(&P::band_width), "20");
    EXPECT_EQ(shown_value(&P::RectDirection), 4);
  }
}

// Ten rounds as the menu runs them, each from the centre the previous one gave, on a
// 1200 x 1000 image of the first six CeO2 rings (0.8 A, 100 mm, 0.1 mm pixels: 262 to 682
// pixels out, the two innermost 43 apart) without a direct beam. The tilt is not entered.
class CenterNoDirectRings : public PeakTest {
protected:
  static RingImageSpec ceo2(double X0, double Y0, double Phi) {
    RingImageSpec spec;
    RingGeometry& g = spec.geometry;
    g.width = 1200, g.height = 1000, g.X0 = X0, g.Y0 = Y0, g.Lo = 100, g.pixel_x = g.pixel_y = 0.1;
    g.Phi = Phi, g.Beta = 35;
    for (double d : {3.1242, 2.7057, 1.9132, 1.6316, 1.5621, 1.3529})
      spec.rings.push_back({2 * std::asin(0.8 / (2 * d)) * 180 / std::numbers::pi, 0.05, 3000});
    spec.background = 20;
    spec.poisson = true;
    return spec;
  }
  Centre rounds(const RingImageSpec& spec, const std::vector<uint16_t>& codes, Centre start) {
    SetUp();
    load_into_current_image(codes, spec.geometry.width, spec.geometry.height);
    RingGeometry untilted = spec.geometry;
    untilted.Phi = untilted.Beta = 0;
    set_geometry(untilted);
    Centre c = start;
    for (int i = 0; i < 10; ++i) {
      set_centre(c.x, c.y);
      strip_round(c.x, c.y);
    }
    return c;
  }
  static size_t kept_lines(const std::string& what) {
    return size_t(std::count_if(log().begin(), log().end(), [&](const std::string& l) {
      return l.rfind(" FindCenterNoDirect() : ", 0) == 0 && l.find(what) != std::string::npos;
    }));
  }
};

// A tilted detector pairs ring n of one strip with ring n + 1 of the other: those rounds
// keep the centre, where they used to run 20 to 66 pixels off. Untilted, a start within 20
// pixels converges to the centre as it always did, and no round is refused.
TEST_F(CenterNoDirectRings, NeighbouringRingsAreNotPaired) {
  struct Case {
    const char* name;
    double Phi;
    Centre off;           // the start, from the true centre
    Centre within;        // how far from the start (tilted) or from the centre (untilted)
    size_t neighbours;    // coordinates kept for pairing neighbouring rings
  };
  const Case cases[] = {
      {"untilted, 20 right", 0, {20, 0}, {0.05, 0.05}, 0},
      {"untilted, 14 left and 14 down", 0, {-14, 14}, {0.05, 0.05}, 0},
      {"tilted, 20 right", 2.5, {20, 0}, {0, 0}, 20},
      {"tilted, 20 up", 2.5, {0, -20}, {0, 0}, 20},
      {"tilted, 5 right and 5 down", 2.5, {5, 5}, {0, 0}, 20},
  };
  const RingImageSpec untilted = ceo2(612.3, 488.6, 0), tilted = ceo2(612.3, 488.6, 2.5);
  const std::vector<uint16_t> images[] = {make_ring_image(untilted), make_ring_image(tilted)};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const RingImageSpec& spec = c.Phi == 0 ? untilted : tilted;
    const Centre start{612.3 + c.off.x, 488.6 + c.off.y};
    const Centre got = rounds(spec, images[c.Phi == 0 ? 0 : 1], start);
    const Centre aim = c.Phi == 0 ? Centre{612.3, 488.6} : start;
    EXPECT_NEAR(got.x, aim.x, c.within.x);
    EXPECT_NEAR(got.y, aim.y, c.within.y);
    EXPECT_EQ(kept_lines("strips pair neighbouring rings; Center"), c.neighbours);
  }
}

// The beam 150 rows from the top edge, nearer to it than the first ring: the TOP strip has
// no ring, so CenterY keeps its value (it used to become 0) and CenterX is still found.
TEST_F(CenterNoDirectRings, AStripWithoutRingsKeepsItsCoordinate) {
  struct Case {
    const char* name;
    Centre truth, off;
    size_t kept_y;
  };
  const Case cases[] = {
      {"beam in the middle", {612.3, 488.6}, {8, -6}, 0},
      {"beam near the top edge", {612.3, 150.4}, {8, -6}, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RingImageSpec spec = ceo2(c.truth.x, c.truth.y, 0);
    spec.poisson = false;
    const Centre start{c.truth.x + c.off.x, c.truth.y + c.off.y};
    const Centre got = rounds(spec, make_ring_image(spec), start);
    EXPECT_NEAR(got.x, c.truth.x, 0.05);
    EXPECT_NEAR(got.y, c.kept_y ? start.y : c.truth.y, c.kept_y ? 0 : 0.05);
    const std::string kept =
        " FindCenterNoDirect() : the TOP strip has no peak; CenterY stays at" + Format("%10.5f", {start.y}) + ".";
    EXPECT_EQ(size_t(std::count(log().begin(), log().end(), kept)), c.kept_y);
    EXPECT_EQ(kept_lines("CenterX stays"), 0u);
  }
}

}  // namespace
}  // namespace kestrin::test
