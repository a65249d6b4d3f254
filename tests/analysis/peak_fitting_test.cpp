// The peak-fitting drivers on synthetic patterns: single and overlapping peaks of both
// profiles on a sloped base, in pixels and in degrees; the start values, the fallback half
// width, the cleared tables, the accessors and the windows' refill.
#include "analysis/peak_fitting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "commands/peak_fitting_commands.h"
#include "peak_fixture.h"
#include "support/peak_profile.h"

namespace kestrin::test {
namespace {

using Driver = bool (*)();
// The drivers as their commands run them: recorded, with the results shown.
using Command = void (*)();

class PeakFittingTest : public PeakTest {
protected:
  // The profile sampled at the pattern's points (pixels, or degrees from 10 in steps of
  // 0.02), rounded, as the current pattern; the peak table holds the true positions.
  static void make_pattern(const Profile& profile, int32_t n, bool angle) {
    IntegrationParams& ip = state().integration_params;
    ip.two_theta_begin = 10, ip.two_theta_step = 0.02;
    const std::vector<double> x = angle ? axis(10, 0.02, n) : axis(0, 1, n);
    std::vector<int32_t> y;
    for (double v : exact_values(profile, x)) y.push_back(int32_t(std::lround(v)));
    set_pattern(y, angle ? kAngleHistogram : kPixelHistogram);
    PeakTable& t = state().peak_table;
    t.count = int32_t(profile.peaks.size());
    for (size_t j = 0; j < profile.peaks.size(); ++j) {
      const double p = profile.peaks[j].position;
      (angle ? t.two_theta : t.x)[j] = p + (angle ? 0.013 : 0.6);  // the search's rough position
      const double at = angle ? (p - 10) / 0.02 : p;
      t.intensity[j] = y[size_t(std::lround(at))];
    }
  }
};

struct DriverCase {
  const char* name;
  Driver driver;
  int32_t fit_type;  // 0 Lorentzian, 1 Gaussian
  bool angle;
  std::vector<double> centres;
};

TEST_F(PeakFittingTest, DriversFindPositionAndHalfWidth) {
  const std::vector<DriverCase> cases = {
      {"LM Gaussian pixels", &PeakFitting, 1, false, {300.3}},
      {"LM Lorentzian pixels", &PeakFitting, 0, false, {300.3}},
      {"LM Gaussian overlapping", &PeakFitting, 1, false, {280.2, 300.7}},
      {"LM Lorentzian degrees", &PeakFitting, 0, true, {14.0043}},
      {"LM Gaussian degrees overlapping", &PeakFitting, 1, true, {14.0043, 14.4117}},
      {"CFDQR2 Gaussian pixels", &peak_fitting_cfdqr2, 1, false, {300.3}},
      {"CFDQR2 Lorentzian pixels", &peak_fitting_cfdqr2, 0, false, {300.3}},
      {"CFDQR2 Gaussian overlapping", &peak_fitting_cfdqr2, 1, false, {280.2, 300.7}},
      {"CFDQR2 Lorentzian overlapping", &peak_fitting_cfdqr2, 0, false, {260.2, 300.7}},
      {"LM Lorentzian overlapping", &PeakFitting, 0, false, {280.2, 300.7}},
      {"CFDQR2 Gaussian degrees", &peak_fitting_cfdqr2, 1, true, {14.0043}},
  };
  for (const DriverCase& c : cases) {
    reset_shared_state();
    state().options.FitType = c.fit_type;
    const double unit = c.angle ? 0.02 : 1.0;
    Profile profile{{}, 400, c.angle ? 30.0 : 0.3};
    for (double centre : c.centres) profile.peaks.push_back({c.fit_type == 0, 6000, centre, 3.2 * unit});
    make_pattern(profile, 600, c.angle);
    c.driver();
    const FitTables& f = state().fit_tables;
    EXPECT_EQ(f.count, int32_t(c.centres.size())) << c.name;
    for (size_t j = 0; j < c.centres.size(); ++j) {
      const FitRecord& r = f.fitted[j];
      EXPECT_EQ(r.fitted, 1) << c.name << " peak " << j;
      EXPECT_NEAR(r.position, c.centres[j], 0.02 * unit) << c.name << " peak " << j;
      EXPECT_NEAR(r.half_width, 3.2 * unit, 0.02 * 3.2 * unit) << c.name << " peak " << j;
      EXPECT_NEAR(fit_peak_fwhm(int32_t(j)), 2 * r.half_width, 1e-12);
    }
  }
}

TEST_F(PeakFittingTest, LevenbergMarquardtStartValuesAndWindow) {
  state().options.FitType = 1;
  make_pattern({{{false, 6000, 300.3, 3.2}}, 400, 0.3}, 600, false);
  state().macro.MacroRecording = true;
  peak_fitting_and_show();
  const FitRecord& start = state().fit_tables.initial[0];
  const FitRecord& fitted = state().fit_tables.fitted[0];
  EXPECT_EQ(start.position, 300.9);
  EXPECT_EQ(start.base_tilt, 0);
  // The Gaussian's window reaches 1.5 inflection widths either side of the middle.
  const double width = start.window_end - start.window_start;
  EXPECT_NEAR(width, 3 * 2 * 3.2 / std::sqrt(2 * std::log(2.0)), 3);
  EXPECT_EQ(start.half_width, width / 3 / 2);
  EXPECT_EQ(fitted.window_start, start.window_start);
  EXPECT_EQ(fitted.model, 1);
  EXPECT_EQ(state().macro.MacroList, std::vector<std::string>{"Kestrin.PeakFitting();"});
  EXPECT_EQ(views.fit_results, 1);
  EXPECT_EQ(views.graph_draws, 1);
  EXPECT_EQ(views.forms, std::vector<std::string>{"frmPeakFitting"});
  state().WindowShow = 0;
  peak_fitting_cfdqr2_and_show();
  EXPECT_EQ(views.fit_results, 2);
  EXPECT_EQ(views.graph_draws, 1);
}

TEST_F(PeakFittingTest, AccessorsOfFittedRecords) {
  FitRecord& r = state().fit_tables.fitted[3];
  r = {1, 500, 20, 1.5, 100, 2, 0, 0, 1};
  EXPECT_DOUBLE_EQ(fit_peak_height(3), 500 + 100 + 2 * 20);
  EXPECT_DOUBLE_EQ(fit_peak_fwhm(3), 3);
  r.model = 0;
  EXPECT_DOUBLE_EQ(fit_peak_height(3), 640);
  EXPECT_DOUBLE_EQ(fit_peak_fwhm(3), 3);
  r.fitted = 0;
  for (int32_t i : {3, -1, kMaxPeaks, 4}) {
    EXPECT_EQ(fit_peak_height(i), 0) << i;
    EXPECT_EQ(fit_peak_fwhm(i), 0) << i;
  }
}

TEST_F(PeakFittingTest, EmptyTableOrNoPatternClearsOrLeaves) {
  make_pattern({{{false, 6000, 300.3, 3.2}}, 400, 0.3}, 600, false);
  state().fit_tables.fitted[0].fitted = 1;
  state().fit_tables.count = 1;
  state().peak_table.count = 0;
  for (Driver d : {&PeakFitting, &peak_fitting_cfdqr2}) {
    state().fit_tables.fitted[0] = {1, 5, 5, 5, 5, 5, 0, 0, 0};
    state().fit_tables.initial[0].amplitude = 5;
    state().fit_tables.count = 1;
    d();
    EXPECT_EQ(state().fit_tables.count, 0);
    EXPECT_EQ(state().fit_tables.fitted[0].fitted, 0);
    EXPECT_EQ(state().fit_tables.fitted[0].amplitude, 0);
    EXPECT_EQ(state().fit_tables.initial[0].amplitude, 0);
  }
  // Without a pixel or 2theta pattern nothing happens.
  state().nax_pattern.set_kind(kSector16Pixel);
  state().fit_tables.count = 7;
  state().macro.MacroRecording = true;
  for (Command c : {&peak_fitting_and_show, &peak_fitting_cfdqr2_and_show, &refit_peaks_and_show}) c();
  EXPECT_EQ(state().fit_tables.count, 7);
  EXPECT_TRUE(state().macro.MacroList.empty());
}

TEST_F(PeakFittingTest, CrossingsNotFoundFallBackToTheOptionHalfWidth) {
  // The peak's top at the first point: no left crossing.
  state().options.HwhmPixel = 4.5;
  state().options.HwhmTheta = 0.07;
  for (const bool angle : {false, true}) {
    make_pattern({{{false, 6000, angle ? 10.0 : 0.0, angle ? 0.06 : 3.0}}, 400, 0}, 100, angle);
    (angle ? state().peak_table.two_theta : state().peak_table.x)[0] = angle ? 10 : 0;
    peak_fitting_cfdqr2();
    EXPECT_EQ(state().fit_tables.initial[0].half_width, angle ? 0.07 : 4.5);
  }
}

TEST_F(PeakFittingTest, RefitStartsFromTheInitialRecords) {
  state().options.FitType = 1;
  make_pattern({{{false, 6000, 300.3, 3.2}, {false, 3000, 360.8, 2.5}}, 400, 0.3}, 600, false);
  peak_fitting_cfdqr2_and_show();
  FitTables& f = state().fit_tables;
  f.initial[1].amplitude = 2000, f.initial[1].position = 361.123456789, f.initial[1].half_width = 4;
  f.fitted[0].base_tilt = 9;
  f.count = 5;
  refit_peaks_and_show();
  EXPECT_EQ(f.count, 2);
  EXPECT_EQ(f.fitted[0].base_tilt, 0);
  EXPECT_NEAR(f.fitted[1].position, 360.8, 0.02);
  EXPECT_NEAR(f.fitted[1].half_width, 2.5, 0.05);
  EXPECT_EQ(views.fit_results, 2);
  EXPECT_EQ(views.graph_draws, 1);  // the refit only refills the window
}

// Four clean Gaussian rings of a 2theta pattern on a flat base: with nothing to stop the
// valley walks, the windows reach far into the base line, beyond 29 half widths of the
// start profile, where the Gaussian is its base. Every ring is fitted at every intensity
// scale, to the same position and width.
TEST_F(PeakFittingTest, Cfdqr2GaussianFitsCleanRingsWithWideWindows) {
  const double hwhm = 0.05 * std::sqrt(2 * std::log(2.0));
  const std::vector<PeakShape> rings = {
      {false, 6525.3, 12.013, hwhm}, {false, 16000, 15.4, hwhm}, {false, 32000, 19.27, hwhm}, {false, 64000, 21.6, hwhm}};
  for (const double scale : {0.1, 1.0, 10.0, 100.0}) {
    reset_shared_state();
    state().options.FitType = 1;
    Profile profile{rings, 500 * scale, 0};
    for (PeakShape& r : profile.peaks) r.amplitude *= scale;
    IntegrationParams& ip = state().integration_params;
    ip.two_theta_begin = 10, ip.two_theta_step = 0.01;
    std::vector<int32_t> y;
    for (double v : exact_values(profile, axis(10, 0.01, 1600))) y.push_back(int32_t(std::lround(v)));
    set_pattern(y, kAngleHistogram);
    PeakTable& t = state().peak_table;
    t.count = int32_t(rings.size());
    for (size_t j = 0; j < rings.size(); ++j) {
      const int32_t k = int32_t(std::lround((rings[j].position - 10) / 0.01));
      t.two_theta[j] = 10 + 0.01 * k, t.intensity[j] = y[size_t(k)];
    }
    peak_fitting_cfdqr2();
    const FitTables& f = state().fit_tables;
    EXPECT_EQ(f.count, 4) << scale;
    for (size_t j = 0; j < rings.size(); ++j) {
      EXPECT_EQ(f.fitted[j].fitted, 1) << scale << " ring " << j;
      EXPECT_NEAR(f.fitted[j].position, rings[j].position, 1e-4) << scale << " ring " << j;
      EXPECT_NEAR(f.fitted[j].half_width, hwhm, 1e-3 * hwhm) << scale << " ring " << j;
      EXPECT_NEAR(f.fitted[j].amplitude, rings[j].amplitude * scale, 5e-3 * rings[j].amplitude * scale) << scale;
    }
  }
}

TEST_F(PeakFittingTest, BadInputNeverCrashes) {
  struct Case {
    const char* name;
    std::vector<int32_t> y;
    std::vector<double> positions;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<Case> cases = {
      {"three points", {1, 5, 1}, {1}},
      {"peaks at both ends", gaussian_pattern(50, 0, 900, 2, 10), {0, 49, 48.7}},
      {"positions outside or NaN", gaussian_pattern(50, 25, 900, 2, 10), {-3, 60, nan, 1e300}},
      {"flat", std::vector<int32_t>(80, 0), {40}},
  };
  for (const Case& c : cases)
    for (Driver d : {&PeakFitting, &peak_fitting_cfdqr2, &refit_peaks})
      for (const int32_t type : {0, 1}) {
        state().options.FitType = type;
        set_pattern(c.y, kPixelHistogram);
        PeakTable& t = state().peak_table;
        t.count = int32_t(c.positions.size());
        for (size_t j = 0; j < c.positions.size(); ++j) t.x[j] = c.positions[j], t.intensity[j] = 100;
        d();
        const FitTables& f = state().fit_tables;
        EXPECT_GE(f.count, 0) << c.name;
        EXPECT_LE(f.count, t.count) << c.name;
        for (size_t j = 0; j < c.positions.size(); ++j)
          EXPECT_TRUE(!f.fitted[j].fitted || std::isfinite(f.fitted[j].position)) << c.name;
      }
}

}  // namespace
}  // namespace kestrin::test
