// The pixel geometry and the ring removal against pyFAI: calc_pixel_2theta is pyFAI's
// twoThetaArray through the integrations' mapping, and after the ring removal pyFAI's
// integration of the image is flat across the removed rings while the other rings stay.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include "analysis/ring_geometry.h"
#include "analysis/ring_removal.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "base/report.h"
#include "base/text_file.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

using RingPeerTest = AnalysisTest;

std::string peer_script() {
  return std::string(kPeerPython) + " " + KESTRIN_SOURCE_DIR + "/tests/analysis/peer/pyfai_two_theta.py";
}

std::string geometry_args(const RingGeometry& g) {
  std::ostringstream out;
  out << " " << g.width << " " << g.height;
  for (double v : {g.X0, g.Y0, g.Lo, g.pixel_x, g.pixel_y, g.Phi, g.Beta}) out << " " << FloatToStr(v);
  return out.str();
}

void use_geometry(const RingGeometry& g) {
  IntegrationParams& p = state().integration_params;
  p.X0 = g.X0, p.Y0 = g.Y0, p.Lo = g.Lo, p.pixel_x = g.pixel_x, p.pixel_y = g.pixel_y;
  p.Phi = g.Phi, p.Beta = g.Beta;
}

TEST_F(RingPeerTest, PixelTwoThetaIsPyFaisTwoThetaArray) {
  KESTRIN_REQUIRE_PEER("pyFAI");
  const RingGeometry geometries[] = {
      {60, 50, 30.3, 20.8, 80, 0.1, 0.1, 0, 0},
      {60, 50, 10.6, 40.2, 50, 0.1, 0.12, 6, 35},
      {60, 50, -20.5, 70.5, 70, 0.08, 0.08, -8, 250},
  };
  std::string command = peer_script() + " angles";
  for (const RingGeometry& g : geometries) command += geometry_args(g);
  std::string out;
  ASSERT_EQ(run_command(command + " 2>/dev/null", &out), 0);
  const std::vector<std::string> lines = split_lines(out);
  size_t at = 0;
  for (const RingGeometry& g : geometries) {
    ASSERT_GE(lines.size(), at + size_t(g.width * g.height));
    use_geometry(g);
    double worst = 0;
    for (int32_t y = 0; y < g.height; ++y)
      for (int32_t x = 0; x < g.width; ++x)
        worst = std::max(worst, std::fabs(calc_pixel_2theta(kPixelTwoTheta, x, y) - StrToFloat(lines[at++])));
    EXPECT_LT(worst, 4e-6) << "Phi " << g.Phi << " Beta " << g.Beta;
  }
  EXPECT_EQ(at, lines.size());
}

TEST_F(RingPeerTest, AfterTheRemovalPyFaiSeesTheBackgroundAcrossTheRemovedRings) {
  KESTRIN_REQUIRE_PEER("pyFAI");
  RingImageSpec spec;
  spec.geometry = {240, 220, 120.3, 110.6, 70, 0.1, 0.1, 4, 30};
  spec.rings = {{6, 0.06, 2000}, {9, 0.06, 1500}, {12, 0.06, 1800}};
  spec.background = 100;
  spec.poisson = true;
  const std::vector<uint16_t> original = make_ring_image(spec);
  load_into_current_image(original, 240, 220);
  const RingGeometry& g = spec.geometry;
  set_geometry(g);
  set_parameter(&IntegrationParams::two_theta_begin, 2);
  set_parameter(&IntegrationParams::two_theta_step, 0.02);
  state().options.FitType = 1;
  RingList& l = state().rings;
  l.ring_begin = {5.7, 11.7};
  l.ring_end = {6.3, 12.3};
  l.ring_correct = {1, 1};
  whole_image_angle_pattern();
  Report report = log_report();
  remove_rings(report);

  TempDir dir;
  auto profile = [&](std::span<const uint16_t> codes) {
    const std::string raw = dir.file("img.raw");
    std::ofstream(raw, std::ios::binary).write(reinterpret_cast<const char*>(codes.data()), std::streamsize(codes.size() * 2));
    std::string out;
    EXPECT_EQ(run_command(peer_script() + " profile" + geometry_args(g) + " " + raw + " 4 0.02 500 2>/dev/null", &out), 0);
    std::vector<std::pair<double, double>> bins;
    for (const std::string& line : split_lines(out)) {
      const size_t blank = line.find(' ');
      const auto v = TryStrToFloat(line.substr(blank + 1));
      if (v) bins.push_back({StrToFloat(line.substr(0, blank)), *v});
    }
    return bins;
  };
  const auto before = profile(original), after = profile(current_image().image_codes);
  ASSERT_EQ(before.size(), after.size());
  ASSERT_GT(after.size(), 400u);
  for (size_t i = 0; i < after.size(); ++i) {
    const double t = after[i].first;
    if ((t > 5.72 && t < 6.28) || (t > 11.72 && t < 12.28)) {
      EXPECT_NEAR(after[i].second, 100, 3) << t;  // flat: the noise of the ring's bin
    } else if (std::fabs(t - 9) < 0.3) {
      EXPECT_EQ(after[i].second, before[i].second) << t;  // the ring that was not listed
    }
  }
}

}  // namespace
}  // namespace kestrin::test
