// The geometry kernel against a plain transcription of the tilt formula and against the
// laboratory-frame model; integrated synthetic rings at their true angles; lanes that give
// the same pattern for any number of threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "analysis/angle_histogram.h"
#include "analysis/dispatch.h"
#include "analysis/geometry.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "base/lanes.h"
#include "histogram_runs.h"

namespace kestrin::test {
namespace {

// The tilt formula written out plainly, one step per line.
double reference_two_theta(double x, double y, double X0, double Y0, double pX, double pY, double Lo, double Phi,
                           double Beta) {
  const double rad = std::acos(-1.0) / 180;
  const double ratio = pX == 0 ? 1.0 : pY / pX;
  const double dx = x - X0;
  const double dy = (Y0 - y) * ratio;
  const double u = dx * std::cos(Beta * rad) + dy * std::sin(Beta * rad);
  const double v = dy * std::cos(Beta * rad) - dx * std::sin(Beta * rad);
  const double rho = std::sqrt(std::pow(u * std::cos(Phi * rad), 2) + v * v) / (1 + u * std::sin(Phi * rad) * pX / Lo);
  return std::atan(rho * pX / Lo) / rad;
}

struct GeometryCase {
  double X0, Y0, pX, pY, Lo, Phi, Beta;
};
const GeometryCase kGeometries[] = {
    {100, 100, 0.1, 0.1, 100, 0, 0},       {512.3, 400.7, 0.1, 0.12, 150, 5, 30},
    {-50, 300, 0.05, 0.04, 80, 12, 200},   {300, 1200, 0.2, 0.2, 250, -7, 123.4},
    {256, 256, 0.1, 0.08, 120, 35, 300},   {10, 10, 0.15, 0.15, 60, 2, 250},
};

TEST(GeometryKernel, MatchesPlainFormulaAndLaboratoryModel) {
  for (const GeometryCase& c : kGeometries) {
    IntegrationParams p;
    p.X0 = c.X0;
    p.Y0 = c.Y0;
    p.pixel_x = c.pX;
    p.pixel_y = c.pY;
    p.Lo = c.Lo;
    p.Phi = c.Phi;
    p.Beta = c.Beta;
    const DetectorGeometry g = DetectorGeometry::from(p);
    const RingGeometry lab{600, 600, c.X0, c.Y0, c.Lo, c.pX, c.pY, c.Phi, c.Beta};
    for (double y : {0.0, 17.0, 299.0, 598.0}) {
      for (double x : {0.0, 55.0, 301.0, 599.0}) {
        const double ours = g.two_theta(x, y);
        EXPECT_NEAR(ours, reference_two_theta(x, y, c.X0, c.Y0, c.pX, c.pY, c.Lo, c.Phi, c.Beta), 1e-11);
        EXPECT_NEAR(ours, lab_two_theta(lab, x, y), 1e-9) << c.Phi << " " << c.Beta << " at " << x << "," << y;
      }
    }
  }
}

TEST(GeometryKernel, ArcTangentWithinOneUnitInTheLastPlace) {
  double worst = 0;
  for (double x = -60; x < 60; x += 0.000987) {
    const double ours = kernel_atan(x), ref = std::atan(x);
    worst = std::max(worst, std::fabs(ours - ref) / std::fabs(std::nextafter(ref, 1e300) - ref));
  }
  EXPECT_LE(worst, 1.0);
  const double inf = std::numeric_limits<double>::infinity();
  for (double x : {0.0, 1e-300, 0.66, 2.41421356237309504880, 1e300, inf})
    EXPECT_NEAR(kernel_atan(x), std::atan(x), 2e-16 * std::atan(x) + 1e-300) << x;
  EXPECT_TRUE(std::signbit(kernel_atan(-0.0)));
  EXPECT_EQ(kernel_atan(-inf), -kernel_atan(inf));
  EXPECT_TRUE(std::isnan(kernel_atan(std::nan(""))));
}

class RingTest : public AnalysisTest {
protected:
  // The ring position from the pattern: the largest bin near the true angle and a Gaussian
  // (parabola through the logarithms) over it and its neighbours, background removed.
  static double fitted_position(double truth, double begin, double step, double background) {
    const auto& v = state().nax_pattern.values;
    const double rad = std::acos(-1.0) / 180;
    auto net = [&](int i) {
      const double c = std::cos((begin + i * step) * rad);
      return v[size_t(i)] - 10 * background / (c * c * c);
    };
    const int guess = int(std::lround((truth - begin) / step));
    int best = guess;
    for (int i = guess - 5; i <= guess + 5; ++i)
      if (net(i) > net(best)) best = i;
    const double a = std::log(net(best - 1)), b = std::log(net(best)), c = std::log(net(best + 1));
    return begin + (best + 0.5 * (a - c) / (a - 2 * b + c)) * step;
  }
};

TEST_F(RingTest, RingsSitAtTheirTrueAngles) {
  const double step = 0.02;
  struct Case {
    RingGeometry geometry;
    bool noise;
  } cases[] = {
      {{500, 460, 240.3, 230.8, 100, 0.1, 0.1, 0, 0}, false},
      {{500, 460, 260.6, 200.2, 100, 0.1, 0.1, 5, 30}, false},
      {{500, 460, 200.5, 250.5, 100, 0.1, 0.12, 10, 200}, false},  // non-square pixels
      {{500, 460, 250.2, 230.9, 90, 0.1, 0.1, -7, 123.4}, false},
      {{500, 460, 230.7, 240.1, 100, 0.1, 0.08, 3, 300}, true},
  };
  const std::vector<Ring> rings = {{6, 0.04, 4000}, {10.5, 0.03, 3000}, {14, 0.05, 5000}};
  for (const Case& c : cases) {
    RingImageSpec spec;
    spec.geometry = c.geometry;
    spec.rings = rings;
    spec.background = 20;
    spec.poisson = c.noise;
    load_into_current_image(make_ring_image(spec), c.geometry.width, c.geometry.height);
    set_geometry(c.geometry);
    whole_image_region();
    set_parameter(&IntegrationParams::two_theta_begin, 2);
    set_parameter(&IntegrationParams::two_theta_step, 0.02);
    shown(calc_angle_histogram);
    for (const Ring& r : rings) {
      const double found = fitted_position(r.two_theta, 2, step, spec.background);
      EXPECT_NEAR(found, r.two_theta, 0.05 * step) << "ring " << r.two_theta << " Phi " << c.geometry.Phi << " Beta "
                                                  << c.geometry.Beta;
      // The largest bin is one of the two around the ring.
      const auto& v = state().nax_pattern.values;
      const int at = int((r.two_theta - 2) / step);
      int best = at - 5;
      for (int i = at - 5; i <= at + 5; ++i)
        if (v[size_t(i)] > v[size_t(best)]) best = i;
      EXPECT_LE(std::fabs(2 + best * step - r.two_theta), step) << r.two_theta;
    }
  }
}

TEST_F(RingTest, PatternsDoNotDependOnTheThreadCount) {
  RingImageSpec spec;
  spec.geometry = {311, 257, 150.4, 120.7, 60, 0.1, 0.11, 4, 70};
  spec.rings = {{5, 0.1, 1000}, {9, 0.2, 800}, {15, 0.1, 600}};
  spec.poisson = true;
  load_into_current_image(make_ring_image(spec), 311, 257);
  set_geometry(spec.geometry);
  using P = IntegrationParams;
  set_parameter(&P::two_theta_begin, 1);
  set_parameter(&P::two_theta_step, 0.01);
  set_parameter(&P::division_angle, 30);
  set_parameter(&P::rect_angle, 33);
  set_sector(-40, 100);
  struct Region {
    int32_t mode;  // rectangle, sector, sectored division
    bool rect_angle;
  } regions[] = {{0, false}, {0, true}, {1, false}, {2, false}};
  set_parameter(&P::RectDirection, kDirectionFull);
  for (const Region& r : regions) {
    set_parameter(&P::IntegrationMode, r.mode);
    set_parameter(&P::RectAngleMode, r.rect_angle ? 1 : 0);
    std::vector<std::vector<int32_t>> results;
    for (int threads : {1, 8, 3}) {
      set_worker_threads(threads);
      angle_intensity_command();
      std::vector<int32_t> all = state().nax_pattern.values;
      for (const SectorPattern& s : state().sector_patterns.sectors) all.insert(all.end(), s.pattern.begin(), s.pattern.end());
      results.push_back(all);
    }
    EXPECT_GT(state().nax_pattern.maximum, 0) << r.mode;
    EXPECT_EQ(results[0], results[1]) << r.mode;
    EXPECT_EQ(results[0], results[2]) << r.mode;
  }
}

}  // namespace
}  // namespace kestrin::test
