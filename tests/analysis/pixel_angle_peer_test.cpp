// The 2theta of the image window's pixel information against pyFAI on tilted geometries.
#include <gtest/gtest.h>

#include <sstream>

#include "analysis/pixel_readout.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

using PixelAnglePeerTest = AnalysisTest;

TEST_F(PixelAnglePeerTest, TwoThetaAgreesWithPyFai) {
  KESTRIN_REQUIRE_PEER("pyFAI");
  const RingGeometry geometries[] = {
      {400, 360, 190.3, 170.8, 80, 0.1, 0.1, 0, 0},
      {400, 360, 210.6, 160.2, 80, 0.1, 0.12, 6, 35},
      {400, 360, 180.5, 200.5, 70, 0.1, 0.1, -8, 250},
  };
  const std::pair<int32_t, int32_t> pixels[] = {{0, 0}, {399, 359}, {190, 171}, {37, 300}, {350, 12}, {200, 100}};
  for (const RingGeometry& g : geometries) {
    std::ostringstream cmd;
    cmd << kPeerPython << " " << KESTRIN_SOURCE_DIR << "/tests/analysis/peer/pyfai_pixel_two_theta.py";
    for (double v : {double(g.width), double(g.height), g.X0, g.Y0, g.Lo, g.pixel_x, g.pixel_y, g.Phi, g.Beta})
      cmd << " " << FloatToStr(v);
    for (auto [x, y] : pixels) cmd << " " << x << "," << y;
    cmd << " 2>/dev/null";
    std::string output;
    ASSERT_EQ(run_command(cmd.str(), &output), 0) << cmd.str();
    std::istringstream peer(output);
    IntegrationParams& p = state().integration_params;
    p.X0 = g.X0, p.Y0 = g.Y0, p.Lo = g.Lo, p.pixel_x = g.pixel_x, p.pixel_y = g.pixel_y;
    p.Phi = g.Phi, p.Beta = g.Beta;
    for (auto [x, y] : pixels) {
      std::string line;
      ASSERT_TRUE(std::getline(peer, line)) << output;
      EXPECT_NEAR(pixel_angle(x, y).two_theta, StrToFloat(line), 1e-6) << x << "," << y << " tilt " << g.Phi;
    }
  }
}

}  // namespace
}  // namespace kestrin::test
