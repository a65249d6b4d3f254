// The tilt from hand-made sector peak lists: the pairing of opposite sectors, the cosine fit
// to the sector tilts, the untilted detector and the pairs without common peaks.
#include "analysis/tilt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

#include "base/report.h"
#include "peak_fixture.h"

namespace kestrin::test {
namespace {

class TiltTest : public PeakTest {
protected:
  void SetUp() override {
    PeakTest::SetUp();
    report = Report();
    state().sector_patterns.allocate(16);
    state().nax_pattern.set_kind(kSector16Pixel);
    IntegrationParams& p = state().integration_params;
    p.Lo = 100, p.pixel_x = 0.1, p.Beta = 12, p.Phi = 0.5;
  }
  static void sector(int32_t s, const std::vector<double>& x) {
    PeakList& l = state().sector_patterns.sectors[size_t(s)].peaks();
    l.count = int32_t(x.size());
    for (size_t j = 0; j < x.size(); ++j) l.x[j] = x[j], l.intensity[j] = 100;
  }
  static std::vector<double> sector_x(int32_t s) {
    const PeakList& l = state().sector_patterns.sectors[size_t(s)].peaks();
    return std::vector<double>(l.x.begin(), l.x.begin() + l.count);
  }
  const std::vector<std::string>& said() const { return report.lines(); }
  Report report;
  // Sector k's tilt t_k as one ring of radius 100 pixels: opposite radii 100 +- D with
  // t = (180 / pi) (D / r^2) Lo / pX.
  static void sector_tilts(const std::function<double(int32_t)>& t) {
    for (int32_t k = 0; k < 8; ++k) {
      const double D = t(k) * std::numbers::pi / 180 * 100 * 100 / 1000;
      sector(k, {100 + D});
      sector(k + 8, {100 - D});
    }
  }
};

TEST_F(TiltTest, PairingKeepsOnlyCommonPeaks) {
  struct Case {
    const char* name;
    std::vector<double> a, b, kept_a, kept_b;
    int32_t result;
  };
  const std::vector<Case> cases = {
      {"all pair up", {100, 200, 300}, {100.2, 199.5, 300.4}, {100, 200, 300}, {100.2, 199.5, 300.4}, 3},
      {"an extra peak in a", {100, 150, 200}, {100.1, 200.1}, {100, 200}, {100.1, 200.1}, 2},
      {"an extra peak in b", {100, 200}, {100.1, 180, 200.1}, {100, 200}, {100.1, 200.1}, 2},
      {"the nearer of two", {100, 100.3}, {100.25}, {100.3}, {100.25}, 1},
      {"nothing within the tolerance", {100}, {101}, {}, {}, 0},
      {"an empty list", {}, {100}, {}, {}, -1},
  };
  for (const Case& c : cases) {
    sector(2, c.a);
    sector(10, c.b);
    EXPECT_EQ(make_peak_table(2, 10, report), c.result) << c.name;
    EXPECT_EQ(sector_x(2), c.kept_a) << c.name;
    EXPECT_EQ(sector_x(10), c.kept_b) << c.name;
  }
}

TEST_F(TiltTest, SectorTiltsOfACosineGiveItsAzimuthAndAmplitude) {
  sector_tilts([](int32_t k) { return 1.0 * std::cos((22.5 * k - 90) * std::numbers::pi / 180); });
  const TiltResult tilt = calc_tilt(report);
  ASSERT_EQ(tilt.status, 0);
  EXPECT_TRUE(tilt.determined);
  EXPECT_EQ(state().integration_params.Beta, 90);
  EXPECT_NEAR(state().integration_params.Phi, 1.0, 1e-9);
  EXPECT_TRUE(log().empty());  // the lines are the caller's
  ASSERT_EQ(said().size(), 19u);
  EXPECT_EQ(said()[0], " Initial tilt  azimuth = 12.0(deg), Tilt     =   0.500000(deg)");
  EXPECT_EQ(said()[1], "Sector =0, Peak=1, Azimuth=  0.0(deg), Tilt=  0.000000(deg)");
  EXPECT_EQ(said()[5], "Sector =4, Peak=1, Azimuth= 90.0(deg), Tilt=  1.000000(deg)");
  EXPECT_EQ(said()[13], "Sector =12, Peak=1, Azimuth=270.0(deg), Tilt= -1.000000(deg)");
  EXPECT_EQ(said()[17], "  Azimuth =  90.0(deg), Tilt =  1.000000(deg)");
  EXPECT_EQ(said()[18], " Final azimuth = 90.0(deg), Tilt =   1.000000");
}

TEST_F(TiltTest, AnUntiltedDetectorIsSmallEnough) {
  sector_tilts([](int32_t) { return 0.0; });
  const TiltResult tilt = calc_tilt(report);
  ASSERT_EQ(tilt.status, 0);
  EXPECT_TRUE(tilt.determined);
  EXPECT_EQ(said()[18], "Tilt is small enough.");
  EXPECT_EQ(said()[19], " Final azimuth =  0.0(deg), Tilt =   0.000000");
  EXPECT_EQ(state().integration_params.Beta, 0);
  EXPECT_EQ(state().integration_params.Phi, 0);
}

TEST_F(TiltTest, NoCommonPeaksLeavesTheTiltAlone) {
  sector_tilts([](int32_t) { return 5.0; });  // opposite radii 8.7 % apart: no pair
  const TiltResult tilt = calc_tilt(report);
  ASSERT_EQ(tilt.status, 0);
  EXPECT_FALSE(tilt.determined);
  EXPECT_EQ(said().back(), " calc_tilt() : no sector pair has common peaks.");
  EXPECT_EQ(state().integration_params.Beta, 12);
  EXPECT_EQ(state().integration_params.Phi, 0.5);
}

// The cosine needs the ring in half the sectors. A tilt beyond the pairing tolerance leaves
// only the sectors near the tilt axis, which see the smallest tilt: fewer than 8 of 16 give
// no tilt, and Beta and Phi stay.
TEST_F(TiltTest, FewerThanHalfTheSectorsDetermineNoTilt) {
  struct Case {
    const char* name;
    int32_t pairs;  // pairs 0 .. pairs - 1 see a small tilt, the others one beyond the tolerance
    const char* last_line;
  };
  const Case cases[] = {
      {"four pairs", 4, nullptr},
      {"three pairs", 3, " calc_tilt() : only 6 of 16 sectors hold a common peak, the tilt was not determined."},
      {"one pair", 1, " calc_tilt() : only 2 of 16 sectors hold a common peak, the tilt was not determined."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    sector_tilts([&c](int32_t k) { return k < c.pairs ? 0.3 * (k + 1) : 5.0; });
    const TiltResult tilt = calc_tilt(report);
    ASSERT_EQ(tilt.status, 0);
    EXPECT_EQ(tilt.determined, c.last_line == nullptr);
    const IntegrationParams& p = state().integration_params;
    if (c.last_line) {
      EXPECT_EQ(said().back(), c.last_line);
      EXPECT_EQ(p.Beta, 12);
      EXPECT_EQ(p.Phi, 0.5);
    } else {
      EXPECT_EQ(said().back().substr(0, 16), " Final azimuth =");
      EXPECT_NE(p.Beta, 12);
    }
  }
}

TEST_F(TiltTest, RefusesSilentlyWithoutSixteenSectors) {
  state().nax_pattern.set_kind(kFreeSectorPixel);
  EXPECT_EQ(calc_tilt(report).status, 1);
  state().nax_pattern.set_kind(kSector16Pixel);
  state().sector_patterns.allocate(8);
  EXPECT_EQ(calc_tilt(report).status, 1);
  EXPECT_FALSE(calc_tilt(report).determined);
  EXPECT_TRUE(said().empty());
}

}  // namespace
}  // namespace kestrin::test
