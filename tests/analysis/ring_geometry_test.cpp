// Pixel geometry (the integrations' own 2theta), row spans of circles, and the crystal file.
#include "analysis/ring_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/crystal_file.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

class RingGeometryTest : public AnalysisTest {
protected:
  static IntegrationParams& p() { return state().integration_params; }
  void SetUp() override {
    AnalysisTest::SetUp();
    p().X0 = 100.5, p().Y0 = 80.25, p().pixel_x = 0.1, p().pixel_y = 0.1;
    p().Lo = 100, p().wavelength = 1.5, p().Beta = 0, p().Phi = 0;
  }
};

TEST_F(RingGeometryTest, DistanceAngleAndSpacingOfAPixel) {
  EXPECT_EQ(calc_pixel_2theta(kPixelRho, 100.5, 80.25), 0);
  EXPECT_DOUBLE_EQ(calc_pixel_2theta(kPixelRho, 130.5, 40.25), 50);
  const double two_theta = std::atan(5.0 / 100) * 180 / std::acos(-1.0);
  EXPECT_NEAR(calc_pixel_2theta(kPixelTwoTheta, 130.5, 40.25), two_theta, 1e-13);
  EXPECT_NEAR(calc_pixel_2theta(kPixelSpacing, 130.5, 40.25), 1.5 / (2 * std::sin(two_theta / 2 * std::acos(-1.0) / 180)),
              1e-12);
  // Tilted and with rectangular pixels: the same number as the integrations' geometry.
  p().Beta = 35, p().Phi = 6, p().pixel_y = 0.12;
  const DetectorGeometry g = DetectorGeometry::from(p());
  for (const auto& [x, y] : {std::pair{3.0, 7.0}, std::pair{180.0, 20.0}, std::pair{100.5, 150.0}})
    EXPECT_EQ(calc_pixel_2theta(kPixelTwoTheta, x, y), g.two_theta(x, y));
  // No camera length: modes 1 and 2 give the distance.
  p().Lo = 0, p().Beta = 0, p().Phi = 0, p().pixel_y = 0.1;
  EXPECT_DOUBLE_EQ(calc_pixel_2theta(kPixelTwoTheta, 130.5, 40.25), 50);
  EXPECT_DOUBLE_EQ(calc_pixel_2theta(kPixelSpacing, 130.5, 40.25), 50);
}

TEST_F(RingGeometryTest, RowSpansOfACircle) {
  struct Case {
    int32_t y;
    double radius, ratio;
    int32_t count, xa, xb;
  };
  p().Y0 = 80;
  const Case cases[] = {
      {80, 100, 1, 2, 0, 200},     // Trunc(0.5) and Trunc(200.5)
      {80, 100.7, 1, 2, 0, 201},   // Trunc(-0.2) is 0, toward zero
      {80, 150, 1, 2, -49, 250},
      {180, 100, 1, 1, 100, -1},   // a touch
      {181, 100, 1, 0, -1, -1},
      {160, 100, 1.25, 1, 100, -1},  // the row offset is scaled by pY / pX
      {161, 100, 1.25, 0, -1, -1},
  };
  for (const Case& c : cases) {
    p().pixel_x = 1, p().pixel_y = c.ratio;
    int32_t count = -1, xa = -1, xb = -1;
    ring_row_span(c.y, count, xa, xb, c.radius);
    EXPECT_EQ(count, c.count) << c.y << " " << c.radius;
    EXPECT_EQ(xa, c.xa) << c.y << " " << c.radius;
    EXPECT_EQ(xb, c.xb) << c.y << " " << c.radius;
  }
}

class CrystalFileTest : public AnalysisTest {
protected:
  std::string write(const std::string& body, const std::string& head = "") {
    std::string text;
    for (int i = 1; i <= 10; ++i) text += "comment " + std::to_string(i) + "\r\n";
    const std::string path = dir_.file("crystal.dat");
    EXPECT_TRUE(write_file_bytes(path, text + head + body));
    return path;
  }
  static const std::vector<HklParam>& crystals() { return state().hklParam; }
  TempDir dir_;
};

TEST_F(CrystalFileTest, ReadsCrystalsUntilTheEndLineOrAHundredReflections) {
  std::string body = "2\r\nSi,0,5.4309,5.4309,5.4309,90,90,90\r\n1,1,1\r\n 2, 2,0 \r\n  0,0,0  \r\nMany,1,1,2,3,4,5,6\n";
  for (int i = 0; i < 100; ++i) body += std::to_string(i % 7) + ",0," + std::to_string(i + 1) + "\n";
  body += "0,0,0\n";  // not read: the hundredth reflection ended the list
  read_crystal_file(write(body));
  ASSERT_EQ(crystals().size(), 2u);
  const HklParam& si = crystals()[0];
  EXPECT_EQ(si.name, "Si");
  EXPECT_EQ(si.kind, 0);
  EXPECT_EQ(si.lattice[0], 5.4309);
  EXPECT_EQ(si.count, 2);
  EXPECT_EQ(si.hkl[1], (std::array<int32_t, 3>{2, 2, 0}));
  EXPECT_TRUE(si.use[1]);
  EXPECT_FALSE(si.use[2]);
  EXPECT_EQ(crystals()[1].count, 100);
  EXPECT_EQ(crystals()[1].hkl[99][2], 100);
  EXPECT_EQ(crystals()[1].lattice[5], 6);
}

TEST_F(CrystalFileTest, ABadCellRaisesAndKeepsTheCrystalsBefore) {
  EXPECT_THROW(read_crystal_file(write("3\r\nA,0,1,1,1,90,90,90\r\n1,0,0\r\n0,0,0\r\nB,0,1,x,1,90,90,90\r\n")),
               ConversionError);
  ASSERT_EQ(crystals().size(), 3u);
  EXPECT_EQ(crystals()[0].name, "A");
  EXPECT_EQ(crystals()[0].count, 1);
  EXPECT_EQ(crystals()[1].name, "B");
  // A file shorter than its count: the missing line reads as empty, which is no number.
  EXPECT_THROW(read_crystal_file(write("1000000000\r\nA,0,1,1,1,90,90,90\r\n1,0,0\r\n")), ConversionError);
  EXPECT_LE(crystals().size(), 2u);
  EXPECT_THROW(read_crystal_file(write("two\r\n")), ConversionError);
  EXPECT_THROW(read_crystal_file(dir_.file("missing.dat")), EInOutError);
}

}  // namespace
}  // namespace kestrin::test
