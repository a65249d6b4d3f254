// kestrin-harness end to end against pyFAI: an R-AXIS frame with synthetic rings is loaded,
// integrated with AngleIntensity and read back point by point with GetNaxIntensity; the
// fitted ring positions agree with pyFAI's integration of the same pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/convert.h"
#include "harness_process.h"
#include "support/raxis_fixture.h"
#include "support/ring_image.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

TEST(IntegrationHarness, AngleIntensityRingsAgreeWithPyFai) {
  KESTRIN_REQUIRE_PEER("pyFAI");
  TempDir dir;
  const double begin = 2, step = 0.02;
  const RingGeometry g{400, 360, 210.6, 160.2, 80, 0.1, 0.12, 6, 35};
  const std::vector<Ring> rings = {{6, 0.04, 4000}, {10.5, 0.05, 3000}, {14, 0.05, 5000}};
  RingImageSpec spec;
  spec.geometry = g;
  spec.rings = rings;
  spec.background = 0;
  RaxisFixture f;
  f.width = g.width;
  f.height = g.height;
  f.codes = make_ring_image(spec);
  f.write(dir.file("rings.img"));
  std::ofstream(dir.file("rings.raw"), std::ios::binary)
      .write(reinterpret_cast<const char*>(f.codes.data()), std::streamsize(f.codes.size() * 2));

  std::string commands = "Kestrin = new Kestrin;\nKestrin.LoadImageFile('" + dir.file("rings.img") + "');\n";
  commands +=
      "SetCenterX 210.6\nSetCenterY 160.2\nSetLo 80\nSetPixelSizeX 0.1\nSetPixelSizeY 0.12\nSetPhi 6\nSetBeta 35\n"
      "Set2ThetaBegin 2\nSet2ThetaStep 0.02\nKestrin.SetIntegrationMode(0);\nKestrin.SetRectAngleMode(0);\n"
      "Kestrin.SetRectDirection(6);\nKestrin.AngleIntensity();\n";
  for (const Ring& r : rings) {
    const int at = int(std::lround((r.two_theta - begin) / step));
    for (int i = at - 6; i <= at + 6; ++i) commands += "Kestrin.GetNaxIntensity(" + std::to_string(i) + ");\n";
  }
  std::string out;
  std::vector<double> values;
  ASSERT_TRUE(run_harness(dir.file("commands.txt"), commands, out, values)) << out;
  ASSERT_EQ(values.size(), 1 + 13 * rings.size()) << out;  // LoadImageFile's result first
  ASSERT_NE(out.find("0,399,0,359\n"), std::string::npos) << out;

  std::ostringstream cmd;
  cmd << kPeerPython << " " << KESTRIN_SOURCE_DIR << "/tests/analysis/peer/pyfai_ring_positions.py "
      << dir.file("rings.raw");
  for (double v : {double(g.width), double(g.height), g.X0, g.Y0, g.Lo, g.pixel_x, g.pixel_y, g.Phi, g.Beta, begin, step})
    cmd << " " << FloatToStr(v);
  cmd << " 900";
  for (const Ring& r : rings) cmd << " " << FloatToStr(r.two_theta);
  std::string peer_out;
  ASSERT_EQ(run_command(cmd.str() + " 2>/dev/null", &peer_out), 0);
  std::istringstream peer(peer_out);

  for (size_t k = 0; k < rings.size(); ++k) {
    // Points at-6..at+6 of ring k: the largest and its neighbours, a Gaussian through them.
    const double* v = values.data() + 1 + 13 * k;
    int best = 1;
    for (int i = 1; i < 12; ++i)
      if (v[i] > v[best]) best = i;
    const double a = std::log(v[best - 1]), b = std::log(v[best]), c = std::log(v[best + 1]);
    const int at = int(std::lround((rings[k].two_theta - begin) / step));
    const double ours = begin + (at - 6 + best + 0.5 * (a - c) / (a - 2 * b + c)) * step;
    std::string line;
    ASSERT_TRUE(std::getline(peer, line)) << peer_out;
    EXPECT_NEAR(ours, StrToFloat(line), 0.05 * step) << "ring " << rings[k].two_theta;
    EXPECT_NEAR(ours, rings[k].two_theta, 0.05 * step) << "ring " << rings[k].two_theta;
  }
}

}  // namespace
}  // namespace kestrin::test
