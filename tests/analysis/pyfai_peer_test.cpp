// The same synthetic ring images integrated by pyFAI and by Kestrin: fitted ring positions
// agree within a twentieth of a step.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "analysis/angle_histogram.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "histogram_runs.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

using PyFaiPeerTest = AnalysisTest;

// Kestrin's ring position: Gaussian through the largest bin near the ring and its neighbours.
double fitted_position(double truth, double begin, double step) {
  const auto& v = state().nax_pattern.values;
  const int guess = int(std::lround((truth - begin) / step));
  int best = guess - 5;
  for (int i = guess - 5; i <= guess + 5; ++i)
    if (v[size_t(i)] > v[size_t(best)]) best = i;
  const double a = std::log(double(v[size_t(best) - 1])), b = std::log(double(v[size_t(best)])),
               c = std::log(double(v[size_t(best) + 1]));
  return begin + (best + 0.5 * (a - c) / (a - 2 * b + c)) * step;
}

TEST_F(PyFaiPeerTest, RingPositionsAgree) {
  KESTRIN_REQUIRE_PEER("pyFAI");
  const double begin = 2, step = 0.02;
  const int N = 900;
  const std::vector<Ring> rings = {{6, 0.04, 4000}, {10.5, 0.05, 3000}, {14, 0.05, 5000}};
  const RingGeometry geometries[] = {
      {400, 360, 190.3, 170.8, 80, 0.1, 0.1, 0, 0},
      {400, 360, 210.6, 160.2, 80, 0.1, 0.12, 6, 35},
      {400, 360, 180.5, 200.5, 70, 0.1, 0.1, -8, 250},
  };
  TempDir dir;
  for (const RingGeometry& g : geometries) {
    RingImageSpec spec;
    spec.geometry = g;
    spec.rings = rings;
    spec.background = 0;
    const std::vector<uint16_t> codes = make_ring_image(spec);
    const std::string raw = dir.file("rings.raw");
    std::ofstream(raw, std::ios::binary).write(reinterpret_cast<const char*>(codes.data()), std::streamsize(codes.size() * 2));

    std::ostringstream cmd;
    cmd << kPeerPython << " " << KESTRIN_SOURCE_DIR << "/tests/analysis/peer/pyfai_ring_positions.py " << raw;
    for (double v : {double(g.width), double(g.height), g.X0, g.Y0, g.Lo, g.pixel_x, g.pixel_y, g.Phi, g.Beta, begin, step})
      cmd << " " << FloatToStr(v);
    cmd << " " << N;
    for (const Ring& r : rings) cmd << " " << FloatToStr(r.two_theta);
    cmd << " 2>/dev/null";
    std::string output;
    ASSERT_EQ(run_command(cmd.str(), &output), 0) << cmd.str();
    std::istringstream peer(output);

    load_into_current_image(codes, g.width, g.height);
    set_geometry(g);
    set_parameter(&P::two_theta_begin, begin);
    set_parameter(&P::two_theta_step, step);
    whole_image_region();
    logged(calc_angle_histogram);
    for (const Ring& r : rings) {
      std::string line;
      ASSERT_TRUE(std::getline(peer, line)) << output;
      const double theirs = StrToFloat(line);
      const double ours = fitted_position(r.two_theta, begin, step);
      EXPECT_NEAR(ours, theirs, 0.05 * step) << "ring " << r.two_theta << " Phi " << g.Phi << " Beta " << g.Beta;
      EXPECT_NEAR(ours, r.two_theta, 0.05 * step);
    }
  }
}

}  // namespace
}  // namespace kestrin::test
