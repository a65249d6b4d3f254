// The harness's fitting commands: the script method PeakFitting (the Poisson-likelihood fit)
// and the harness-only FitList, which prints the fit list and records nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "base/convert.h"
#include "commands/headless_ports.h"
#include "harness/harness.h"
#include "image/program_state.h"
#include "model/state.h"
#include "ports/log.h"

namespace kestrin::harness {
namespace {

TEST(FitCommands, PeakFittingThenFitList) {
  reset_state();
  reset_headless_ports();
  the_log().clear_history();
  NaxPattern& p = state().nax_pattern;
  const double centres[] = {60.3, 130.8};
  for (int i = 0; i < 200; ++i) {
    double v = 100;
    for (double c : centres) v += 3000 * std::exp2(-std::pow((i - c) / 2.5, 2));
    p.values[size_t(i)] = int32_t(std::lround(v));
  }
  p.N = 200, p.maximum = 3100;
  p.set_kind(kPixelHistogram);
  state().options.FitType = 1;
  state().macro.MacroRecording = true;
  std::istringstream in("PeakSearch\nPeakFitting\nFitList\n");
  std::ostringstream out, err;
  run_commands(in, out, err);
  EXPECT_EQ(err.str(), "");
  std::vector<std::string> lines;
  std::istringstream text(out.str());
  for (std::string l; std::getline(text, l);) lines.push_back(l);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "*****   fit list  by Kestrin   *****");
  EXPECT_EQ(lines[1], "Number of fits =   2");
  // "No,x,Intensity,Base,Fwhm,..." for each fitted peak.
  for (size_t k = 0; k < 2; ++k) {
    std::vector<double> fields;
    std::istringstream row(lines[3 + k]);
    for (std::string f; std::getline(row, f, ',');) fields.push_back(StrToFloat(f));
    ASSERT_EQ(fields.size(), 11u);
    EXPECT_EQ(fields[0], double(k + 1));
    EXPECT_NEAR(fields[1], centres[k], 0.01);
    EXPECT_NEAR(fields[4], 5.0, 0.02);
  }
  EXPECT_EQ(state().macro.MacroList, (std::vector<std::string>{"Kestrin.PeakSearch();", "Kestrin.PeakFitting();"}));
}

// CalcTilt on sector lists whose opposite radii follow a tilt of 1 degree towards 90 degrees;
// GetBeta and GetPhi read the result.
TEST(FitCommands, CalcTiltThenTheTilt) {
  reset_state();
  reset_headless_ports();
  the_log().clear_history();
  SharedState& st = state();
  st.sector_patterns.allocate(16);
  st.nax_pattern.set_kind(kSector16Pixel);
  st.integration_params.Lo = 100, st.integration_params.pixel_x = 0.1;
  for (int32_t k = 0; k < 8; ++k) {
    const double t = std::cos((22.5 * k - 90) * std::acos(-1.0) / 180);
    const double D = t * std::acos(-1.0) / 180 * 10;  // 100^2 / (Lo / pX) pixels per radian
    for (const auto& [s, x] : {std::pair{k, 100 + D}, std::pair{k + 8, 100 - D}}) {
      PeakList& l = st.sector_patterns.sectors[size_t(s)].peaks();
      l.count = 1, l.x[0] = x, l.intensity[0] = 100;
    }
  }
  std::istringstream in("CalcTilt\nGetBeta\nGetPhi\n");
  std::ostringstream out, err;
  run_commands(in, out, err);
  EXPECT_EQ(err.str(), "");
  const std::string text = out.str();
  EXPECT_NE(text.find(" Final azimuth = 90.0(deg), Tilt =   1.000000\n= 90\n= 1\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace kestrin::harness
