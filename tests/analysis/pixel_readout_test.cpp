// The image window's readouts of one pixel and the pixel information block of a Shift-click.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/pixel_readout.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "base/report.h"

namespace kestrin::test {
namespace {

class PixelReadoutTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    load_flat_image(40, 30, 3);
    IntegrationParams& p = state().integration_params;
    p.X0 = 10, p.Y0 = 10, p.pixel_x = p.pixel_y = 0.1, p.Lo = 100, p.wavelength = 1.5;
    p.Beta = p.Phi = 0;
  }
  static IntegrationParams& params() { return state().integration_params; }
};

TEST_F(PixelReadoutTest, PixelInformationLogsItsBlockThenTheLocalMaximum) {
  Report report;
  pixel_information(13, 14, report);
  const std::vector<std::string>& lines = report.lines();
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1], " <<<<<   Pixel information   >>>>>");
  EXPECT_EQ(lines[2], " Clicked (   13,    14)  Intensity = 3.0000");
  // rho = 5 (a 3-4-5 triangle), 2theta = atan(5 * 0.1 / 100).
  EXPECT_EQ(lines[3], " x =     5.000(pixel), 2theta =  0.2865(degree)");
  EXPECT_EQ(lines.back().rfind(" Fitted ", 0), 0u);  // find_local_maximum's last line
  EXPECT_TRUE(log().empty());
}

// A camera length of 0 stops the block where the division would, with the platform's
// message; the log never shows an infinite value.
TEST_F(PixelReadoutTest, CameraLengthZeroStopsAfterTheIntensityLine) {
  params().Lo = 0;
  Report report;
  try {
    pixel_information(13, 14, report);
    FAIL() << "no error";
  } catch (const ConversionError& e) {
    EXPECT_STREQ(e.what(), "Floating point division by zero");
  }
  ASSERT_EQ(report.lines().size(), 3u);
  EXPECT_EQ(report.lines()[2], " Clicked (   13,    14)  Intensity = 3.0000");
}

TEST_F(PixelReadoutTest, DistanceReadoutByDistanceSetting) {
  const struct {
    int32_t setting;
    double Lo;
    int32_t x, y;
    const char* distance;
  } cases[] = {
      {0, 100, 13, 14, "5.000"},
      {1, 100, 13, 14, "0.286"},   // 2theta in degrees
      {1, 0, 13, 14, "5.000"},     // without a camera length: the distance
      {2, 100, 13, 14, "300.003"}, // 1.5 / (2 sin(0.1432 deg))
      {2, 0, 13, 14, "###"},
      {2, 100, 10, 10, "###"},     // the centre: no d-spacing
      {3, 100, 13, 14, nullptr},   // an unknown setting leaves the readout
  };
  for (const auto& c : cases) {
    state().options.DistanceSetting = c.setting;
    params().Lo = c.Lo;
    const PixelReadout r = pixel_readout(c.x, c.y);
    if (!c.distance) {
      EXPECT_FALSE(r.distance) << c.setting;
      continue;
    }
    ASSERT_TRUE(r.distance) << c.setting;
    EXPECT_EQ(*r.distance, c.distance) << c.setting << " Lo " << c.Lo;
  }
}

// Chi grows clockwise on the screen (image y down) from +x, in 0..360.
TEST_F(PixelReadoutTest, AzimuthGrowsClockwise) {
  const struct {
    int32_t x, y;
    const char* chi;
  } cases[] = {{15, 10, " 0.00"}, {10, 15, "90.00"}, {5, 10, "180.00"}, {10, 5, "270.00"}, {11, 9, "315.00"}, {10, 10, " 0.00"}};
  for (const auto& c : cases) {
    const PixelReadout r = pixel_readout(c.x, c.y);
    ASSERT_TRUE(r.angle);
    EXPECT_EQ(*r.angle, c.chi) << c.x << "," << c.y;
  }
}

// Distance and azimuth only while the centre is set: X0 > 0 and Y0 not 0.
TEST_F(PixelReadoutTest, CentreGate) {
  const struct {
    double X0, Y0;
    bool shown;
  } cases[] = {{10, 10, true}, {0, 10, false}, {-3, 10, false}, {10, 0, false}, {10, -4, true}};
  for (const auto& c : cases) {
    params().X0 = c.X0, params().Y0 = c.Y0;
    const PixelReadout r = pixel_readout(3, 4);
    EXPECT_EQ(bool(r.distance), c.shown) << c.X0 << "," << c.Y0;
    EXPECT_EQ(bool(r.angle), c.shown) << c.X0 << "," << c.Y0;
  }
}

TEST_F(PixelReadoutTest, PositionIntensityAndTheCurvedPlate) {
  PixelReadout r = pixel_readout(0, 0);
  EXPECT_EQ(r.x, "0");
  EXPECT_EQ(r.y, "0");
  EXPECT_EQ(r.intensity, "3");
  state().options.VerticalReverse = 1;  // rows counted from the bottom
  EXPECT_EQ(pixel_readout(0, 0).y, "29");
  EXPECT_EQ(pixel_readout(0, 29).y, "0");
  // Intensities are rounded (halves to even); GEL images show them in 15-digit general form.
  ImageStore& img = current_image();
  img.intensity_table[3] = 2.5;
  EXPECT_EQ(pixel_readout(1, 1).intensity, "2");
  img.intensity_table[3] = 1234.56789012345678;
  EXPECT_EQ(pixel_readout(1, 1).intensity, "1235");
  img.image_type = 13;
  EXPECT_EQ(pixel_readout(1, 1).intensity, "1234.56789012346");
  // Curved plate: 2theta from the arc along x and the height along y; the azimuth stays.
  img.image_type = 9;
  r = pixel_readout(13, 14);
  const double a = -3 * 0.1, b = -4 * 0.1;
  const double want = std::acos(std::cos(a / 100) * 100 / std::sqrt(100 * 100 + b * b)) * 180 / 3.14159265358979323846;
  ASSERT_TRUE(r.distance);
  EXPECT_EQ(*r.distance, Format("%4.3f", {want}));
  EXPECT_FALSE(r.angle);
  params().Lo = 0;
  EXPECT_FALSE(pixel_readout(13, 14).distance);
}

}  // namespace
}  // namespace kestrin::test
