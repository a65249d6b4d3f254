// kestrin-harness end to end: a tilted ring image with a direct-beam spot is loaded from an
// R-AXIS file and analysed with AutoAnalysis; the centre, the tilt and the pixel pattern's
// peaks are read back through the script methods.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "harness_process.h"
#include "support/raxis_fixture.h"
#include "support/ring_image.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

TEST(AutoAnalysisHarness, FromTheSpotToTheTiltedPattern) {
  TempDir dir;
  const std::vector<double> rings = {8, 10, 12.5, 15, 18, 21.3};
  RingImageSpec spec;
  spec.geometry = {1260, 1240, 630.4, 618.7, 150, 0.1, 0.1, 0.8, 35};
  spec.rings.push_back({0.0, 0.08, 30000});
  for (double t : rings) spec.rings.push_back({t, 0.05, 5000});
  spec.background = 20;
  RaxisFixture f;
  f.width = spec.geometry.width;
  f.height = spec.geometry.height;
  f.codes = make_ring_image(spec);
  f.write(dir.file("tilted.img"));

  std::string commands = "Kestrin = new Kestrin;\nKestrin.LoadImageFile('" + dir.file("tilted.img") + "');\n";
  commands +=
      "SetCenterX 0\nSetCenterY 0\nSetLo 150\nSetPixelSizeX 0.1\nSetPixelSizeY 0.1\nSetPhi 0\nSetBeta 0\n"
      "Kestrin.SetIntegrationMode(0);\nKestrin.SetRectAngleMode(0);\nKestrin.SetRectDirection(6);\n"
      "Kestrin.AutoAnalysis();\nGetCenterX\nGetCenterY\nGetBeta\nGetPhi\nGetMaxPeakNumber\n";
  for (size_t k = 0; k < rings.size(); ++k) commands += "GetPeakData " + std::to_string(k) + " 0\n";
  std::string out;
  std::vector<double> values;
  ASSERT_TRUE(run_harness(dir.file("commands.txt"), commands, out, values)) << out;
  ASSERT_EQ(values.size(), 6 + rings.size()) << out;  // LoadImageFile's result first
  EXPECT_NEAR(values[1], 630.4, 0.05);
  EXPECT_NEAR(values[2], 618.7, 0.05);
  EXPECT_LE(std::fabs(std::remainder(values[3] - 35, 360.0)), 3.0) << values[3];
  EXPECT_NEAR(values[4], 0.8, 0.08);
  ASSERT_EQ(values[5], double(rings.size())) << out;
  for (size_t k = 0; k < rings.size(); ++k)
    EXPECT_NEAR(values[6 + k], 150 * std::tan(rings[k] * std::numbers::pi / 180) / 0.1, 0.1) << rings[k];
}

}  // namespace
}  // namespace kestrin::test
