// The pixel, sectored, sub-pixel and curved-plate histograms against pyFAI on the same
// synthetic ring images: ring positions agree per pattern and per sector, and pyFAI's
// cylindrical detector gives the curved plate's angle of every pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/curved_plate.h"
#include "analysis/fine_curved_histograms.h"
#include "analysis/geometry.h"
#include "analysis/pixel_histogram.h"
#include "analysis/sectored_histogram.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "histogram_runs.h"
#include "commands/parameter_io.h"
#include "support/profile_peak.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {


class HistogramPeerTest : public AnalysisTest {
protected:
  // Makes the image, loads it and sets the main window for it; returns the raw file.
  std::string use_image(const RingImageSpec& spec) {
    const RingGeometry& g = spec.geometry;
    const std::vector<uint16_t> codes = make_ring_image(spec);
    const std::string raw = dir.file("rings.raw");
    std::ofstream(raw, std::ios::binary).write(reinterpret_cast<const char*>(codes.data()), std::streamsize(codes.size() * 2));
    load_into_current_image(codes, g.width, g.height);
    set_geometry(g);
    whole_image_region();
    return raw;
  }
  // Runs a peer script with the arguments; returns its output lines.
  static std::vector<std::string> peer(const std::string& script, const std::vector<std::string>& args) {
    std::string cmd = std::string(kPeerPython) + " " + KESTRIN_SOURCE_DIR + "/tests/analysis/peer/" + script;
    for (const std::string& a : args) cmd += " " + a;
    std::string out;
    EXPECT_EQ(run_command(cmd + " 2>/dev/null", &out), 0) << cmd;
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
  }
  static std::vector<std::string> geometry_args(const RingGeometry& g) {
    std::vector<std::string> a;
    for (double v : {double(g.width), double(g.height), g.X0, g.Y0, g.Lo, g.pixel_x, g.pixel_y})
      a.push_back(FloatToStr(v));
    return a;
  }
  static std::vector<double> profile(const std::vector<int32_t>& values) { return {values.begin(), values.end()}; }
  // A 2theta pattern's ring position in degrees.
  static double angle_peak(double truth, double begin, double step) {
    return begin + step * gaussian_peak_index(profile(state().nax_pattern.values), (truth - begin) / step);
  }

  TempDir dir;
};

TEST_F(HistogramPeerTest, PixelHistogramRingsAgreeWithPyFai) {
  KESTRIN_REQUIRE_PEER("pyFAI");
  RingImageSpec spec;
  spec.geometry = {400, 360, 190.3, 170.8, 80, 0.1, 0.12, 4, 35};  // tilted, non-square pixels
  spec.rings = {{5, 0.12, 4000}, {9, 0.12, 3000}};
  spec.background = 0;
  const std::string raw = use_image(spec);
  std::vector<std::string> args = {raw};
  for (const std::string& a : geometry_args(spec.geometry)) args.push_back(a);
  for (const char* a : {"4", "35", "2", "0.01", "1000", "5", "9"}) args.push_back(a);
  const std::vector<std::string> theirs = peer("pyfai_ring_positions.py", args);
  ASSERT_EQ(theirs.size(), 2u);
  logged(calc_pixel_histogram);
  for (size_t k = 0; k < 2; ++k) {
    const double rho = 80 * std::tan(StrToFloat(theirs[k]) * kDegToRad) / 0.1;
    const double ours = gaussian_peak_index(profile(state().nax_pattern.values), rho);
    EXPECT_NEAR(ours, rho, 0.05) << "ring " << spec.rings[k].two_theta;
  }
}

TEST_F(HistogramPeerTest, SectorRingsAgreeWithPyFai) {
  KESTRIN_REQUIRE_PEER("pyFAI");
  struct Case {
    const char* what;
    RingGeometry geometry;
    bool fixed16;
    double angle;
    const char* unit;
  } cases[] = {
      // The fixed sectors bin each pixel at its rounded distance, so a bin samples the ring at
      // its pixels' own distances: a centre on a pixel puts those on the bins' centres along
      // the axes (a centre 0.3 pixel off moves sector 8's first ring by 0.14 pixel).
      {"sixteen sectors, non-square pixels", {400, 360, 200, 181, 80, 0.1, 0.11, 0, 0}, true, 22.5, "r"},
      {"free sectors of 22.5", {400, 360, 195.7, 176.2, 80, 0.1, 0.11, 0, 0}, false, 22.5, "r"},
      {"free sectors of 45, tilted", {400, 360, 205.2, 170.4, 80, 0.1, 0.1, 4, 35}, false, 45, "2th"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RingImageSpec spec;
    spec.geometry = c.geometry;
    spec.rings = {{5, 0.12, 4000}, {9, 0.12, 3000}};
    spec.background = 0;
    const std::string raw = use_image(spec);
    set_parameter(&P::division_angle, c.angle);
    c.fixed16 ? logged(calc_sectored_histogram) : logged(calc_free_angle_sectored_pixel_histogram);
    const int32_t sectors = state().sector_patterns.count;
    std::string ranges;
    for (int32_t k = 0; k < sectors; ++k) {
      const double a1 = c.fixed16 ? 22.5 * k - 11.25 : c.angle * k;
      ranges += (k ? "," : "") + FloatToStr(a1) + ":" + FloatToStr(a1 + (c.fixed16 ? 22.5 : c.angle));
    }
    const double radii[] = {80 * std::tan(5 * kDegToRad) / 0.1, 80 * std::tan(9 * kDegToRad) / 0.1};
    std::vector<std::string> args = {raw};
    for (const std::string& a : geometry_args(c.geometry)) args.push_back(a);
    for (const std::string& a : {FloatToStr(c.geometry.Phi), FloatToStr(c.geometry.Beta), std::string(c.unit), ranges,
                                 FloatToStr(radii[0]), FloatToStr(radii[1])})
      args.push_back(a);
    const std::vector<std::string> theirs = peer("pyfai_sector_rings.py", args);
    ASSERT_EQ(theirs.size(), size_t(sectors));
    for (int32_t k = 0; k < sectors; ++k) {
      const SectorPattern& s = state().sector_patterns.sectors[size_t(k)];
      std::istringstream line(theirs[size_t(k)]);
      for (double r : radii) {
        double their = 0;
        line >> their;
        const double ours = gaussian_peak_index(profile(s.pattern), their);
        EXPECT_NEAR(ours, their, 0.1) << "sector " << k << " ring " << r;
        EXPECT_NEAR(their, r, 0.3) << "sector " << k;  // pyFAI finds the rings where they are
      }
    }
  }
}

TEST_F(HistogramPeerTest, CurvedPlateAgreesWithPyFaisCylinder) {
  KESTRIN_REQUIRE_PEER("pyFAI");
  RingImageSpec spec;
  // A pixel spans 0.036 degrees of arc, under two steps: pyFAI's pixel splitting and our
  // split of pixel centres then see the rings alike.
  spec.geometry = {600, 300, 240.4, 149.7, 80, 0.05, 0.05, 0, 0};
  spec.rings = {{5, 0.15, 4000}, {8.5, 0.15, 3000}, {12, 0.15, 2000}};
  spec.background = 0;
  spec.curved = true;
  const std::string raw = use_image(spec);
  const double begin = 2, step = 0.02;
  std::vector<std::string> args = {raw, dir.file("tth.raw")};
  for (const std::string& a : geometry_args(spec.geometry)) args.push_back(a);
  for (const char* a : {"2", "0.02", "1000", "5", "8.5", "12"}) args.push_back(a);
  const std::vector<std::string> theirs = peer("pyfai_curved_plate.py", args);
  ASSERT_EQ(theirs.size(), 3u);

  std::vector<double> tth(size_t(600 * 300));
  std::ifstream(dir.file("tth.raw"), std::ios::binary).read(reinterpret_cast<char*>(tth.data()), std::streamsize(tth.size() * 8));
  const CurvedPlate plate = CurvedPlate::from(state().integration_params);
  double worst = 0;
  for (int32_t y = 0; y < 300; ++y)
    for (int32_t x = 0; x < 600; ++x) worst = std::max(worst, std::fabs(plate.two_theta(x, y) - tth[size_t(x + 600 * y)]));
  EXPECT_LT(worst, 5e-6);  // degrees; pyFAI's own positions carry single-precision steps

  set_parameter(&P::two_theta_begin, 2);
  set_parameter(&P::two_theta_step, 0.02);
  logged(calc_curved_angle_histogram);
  for (size_t k = 0; k < 3; ++k) {
    const double their = StrToFloat(theirs[k]);
    EXPECT_NEAR(angle_peak(their, begin, step), their, 0.02 * step) << "ring " << spec.rings[k].two_theta;
  }
}

TEST_F(HistogramPeerTest, FineRingsAgreeWithPyFai) {
  KESTRIN_REQUIRE_PEER("pyFAI");
  RingImageSpec spec;
  spec.geometry = {400, 360, 210.6, 160.2, 80, 0.1, 0.12, 6, 35};
  spec.rings = {{6, 0.06, 4000}, {10.5, 0.06, 3000}, {14, 0.06, 5000}};
  spec.background = 0;
  const std::string raw = use_image(spec);
  const double begin = 2, step = 0.02;
  std::vector<std::string> args = {raw};
  for (const std::string& a : geometry_args(spec.geometry)) args.push_back(a);
  for (const char* a : {"6", "35", "2", "0.02", "900", "6", "10.5", "14"}) args.push_back(a);
  const std::vector<std::string> theirs = peer("pyfai_ring_positions.py", args);
  ASSERT_EQ(theirs.size(), 3u);
  set_parameter(&P::two_theta_begin, 2);
  set_parameter(&P::two_theta_end, 30);
  set_parameter(&P::two_theta_step, 0.02);
  logged(calc_fine_angle_histogram);
  for (size_t k = 0; k < 3; ++k) {
    const double their = StrToFloat(theirs[k]);
    EXPECT_NEAR(angle_peak(their, begin, step), their, 0.02 * step) << "ring " << spec.rings[k].two_theta;
  }
}

}  // namespace
}  // namespace kestrin::test
