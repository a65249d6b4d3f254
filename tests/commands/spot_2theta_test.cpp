// The 2theta of single spots: one Gaussian spot per quadrant, off the axes, on a flat
// background, analysed from the program's start state (sectored division chosen). Each
// fitted 2theta lies within 0.01 degree of the spot's pixel 2theta, which needs the band
// pointed at the spot and the rectangle-by-angle region chosen; the RAW profile holds the
// profile window.
#include "commands/spot_2theta.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/ring_geometry.h"
#include "analysis/spot_list.h"
#include "analysis/spot_tables.h"
#include "base/convert.h"
#include "base/text_file.h"
#include "image/image_store.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "support/ring_image.h"
#include "support/state_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

constexpr int32_t kSide = 400;
constexpr double kCentre = 200.5;
const std::pair<double, double> kSpots[] = {{302.3, 271.6}, {112.8, 291.2}, {93.4, 121.7}, {281.1, 97.9}};

std::vector<uint16_t> spot_frame() {
  std::vector<uint16_t> codes(size_t(kSide) * kSide);
  for (int32_t y = 0; y < kSide; ++y)
    for (int32_t x = 0; x < kSide; ++x) {
      double v = 100;
      for (const auto& [sx, sy] : kSpots) {
        const double r2 = (x - sx) * (x - sx) + (y - sy) * (y - sy);
        v += 3000 * std::exp(-r2 / (2 * 1.6 * 1.6));
      }
      codes[size_t(x) + size_t(kSide) * size_t(y)] = uint16_t(std::lround(v));
    }
  return codes;
}

class Spot2ThetaTest : public StateTest {
protected:
  void SetUp() override {
    StateTest::SetUp();
    load_into_current_image(spot_frame(), kSide, kSide);
    current_image().ImageFolder = dir_.path();
    edit(frmMain::edtCenterX0, FloatToStr(kCentre));
    edit(frmMain::edtCenterY0, FloatToStr(kCentre));
    edit(frmMain::edtCameraLength, "100");
    read_parameters(kSide);
    SpotList& l = state().spot_list;
    set_spot_count(l, 4);
    for (size_t i = 0; i < 4; ++i) {
      l.SpotRecords[i].x = l.SpotX[i] = kSpots[i].first;
      l.SpotRecords[i].y = l.SpotY[i] = kSpots[i].second;
    }
  }
  TempDir dir_;
};

TEST_F(Spot2ThetaTest, AzimuthPointsTheBandAtTheSpotInEveryQuadrant) {
  EXPECT_DOUBLE_EQ(spot_azimuth(110, 100, 100, 100), 0);
  EXPECT_DOUBLE_EQ(spot_azimuth(100, 110, 100, 100), 90);  // down the screen
  EXPECT_DOUBLE_EQ(spot_azimuth(90, 100, 100, 100), 180);
  EXPECT_DOUBLE_EQ(spot_azimuth(100, 90, 100, 100), 270);
  EXPECT_NEAR(spot_azimuth(110, 90, 100, 100), 315, 1e-12);
}

TEST_F(Spot2ThetaTest, EachSpotsFittedTwoThetaMatchesItsPixelTwoTheta) {
  ASSERT_FALSE(controls().checked(frmMain::rbtnRectangle));
  state().options.FitType = 0;
  Spot2ThetaSettings s;  // the window's start values: +-2 degrees, band 12, Gaussian
  for (int32_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    analyze_spot_2theta(i, s);
    const SpotRecord& r = state().spot_list.SpotRecords[size_t(i)];
    const double expected = calc_pixel_2theta(kPixelTwoTheta, kSpots[i].first, kSpots[i].second);
    EXPECT_DOUBLE_EQ(r.two_theta_ref, expected);
    EXPECT_NEAR(r.two_theta_fit, expected, 0.01);
    EXPECT_GT(r.fwhm, 0);
    EXPECT_EQ(r.band, 12);
    EXPECT_EQ(r.fit_type, 1);
    EXPECT_EQ(state().spot_analysis_grid.at(size_t(i) + 1).at(kAnaFit), Format("%10.6f", {r.two_theta_fit}));
  }
  EXPECT_TRUE(controls().checked(frmMain::rbtnRectangle));
  EXPECT_TRUE(controls().checked(frmMain::rbtnRect_Angle));
  EXPECT_EQ(state().options.FitType, 0);  // restored

  const double t0 = state().spot_list.SpotRecords[0].two_theta_ref;
  std::string text;
  ASSERT_TRUE(read_file_bytes(dir_.file("ring_001.RAW"), text));
  std::vector<double> angles;
  for (const std::string& line : split_lines(text))
    if (line.find(',') != std::string::npos)
      if (auto a = TryStrToFloat(line.substr(0, line.find(',')))) angles.push_back(*a);
  ASSERT_FALSE(angles.empty());
  EXPECT_NEAR(angles.front(), t0 - 2, 0.03);
  EXPECT_NEAR(angles.back(), t0 + 2, 0.03);
}

TEST_F(Spot2ThetaTest, NoFittedPeakWithinTheAllowanceWritesZeros) {
  Spot2ThetaSettings s;
  s.allowance = -1;  // nothing is that near
  analyze_spot_2theta(0, s);
  const SpotRecord& r = state().spot_list.SpotRecords[0];
  EXPECT_EQ(r.two_theta_fit, 0);
  EXPECT_EQ(r.fwhm, 0);
  EXPECT_EQ(state().spot_analysis_grid.at(1).at(kAnaFit), "0");
  EXPECT_EQ(state().spot_analysis_grid.at(1).at(kAnaAmplitude), "0");
}

}  // namespace
}  // namespace kestrin::test
