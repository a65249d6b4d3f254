// Ring painting: the radius of a cubic reflection, and the painted ring against a per-pixel
// reference (a pixel is in the ring when it lies within the outer circle's span of its row
// and not strictly inside the inner circle's), over centres inside and outside the image,
// non-square pixels, odd widths and rings wider than their radius.
#include "analysis/ring_mask.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analysis_fixture.h"

namespace kestrin::test {
namespace {

class RingMaskTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    load_flat_image(kWidth, kHeight, 100);
    state().image_mask.resize(kWidth, kHeight);
  }
  // A cubic crystal of lattice constant a with the given reflections, each used.
  static HklParam crystal(double a, std::initializer_list<std::array<int32_t, 3>> hkl) {
    HklParam c;
    c.lattice[0] = a;
    for (const auto& r : hkl) c.hkl[size_t(c.count)] = r, c.use[size_t(c.count++)] = true;
    return c;
  }
  static void geometry(double x0, double y0, double ratio, double lo, double px, double wavelength) {
    IntegrationParams& p = state().integration_params;
    p.X0 = x0, p.Y0 = y0, p.pixel_y = ratio * px, p.Lo = lo, p.pixel_x = px, p.wavelength = wavelength;
  }
  // The ring of `radius` and `width` by the per-pixel rule, over a mask of `fill`.
  static std::vector<uint8_t> reference(double radius, int32_t width, uint8_t value, uint8_t fill) {
    const IntegrationParams& p = state().integration_params;
    std::vector<uint8_t> out(size_t(kWidth) * kHeight, fill);
    const double inner = radius - width / 2.0, outer = radius + width / 2.0;
    for (int32_t y = 0; y < kHeight; ++y) {
      const double dy = p.pixel_ratio() * (y - p.Y0);
      const double qo = outer * outer - dy * dy, qi = inner * inner - dy * dy;
      if (qo < 0) continue;
      for (int32_t x = 0; x < kWidth; ++x) {
        const bool in_outer = x >= std::trunc(p.X0 - std::sqrt(qo)) && x <= std::trunc(p.X0 + std::sqrt(qo));
        const bool in_hole = qi > 0 && x > std::trunc(p.X0 - std::sqrt(qi)) && x < std::trunc(p.X0 + std::sqrt(qi));
        if (in_outer && !in_hole) out[size_t(y) * kWidth + size_t(x)] = value;
      }
    }
    return out;
  }
  static constexpr int32_t kWidth = 120, kHeight = 100;
};

TEST_F(RingMaskTest, RadiusOfACubicReflection) {
  geometry(60, 50, 1, 10, 0.1, 1);
  const HklParam c = crystal(4, {{1, 1, 1}, {0, 0, 9}});
  EXPECT_NEAR(reflection_ring_radius(c, 0).value(), 46.6474112360989, 1e-9);
  EXPECT_FALSE(reflection_ring_radius(c, 1));  // lambda / 2d > 1: no Bragg angle
  EXPECT_FALSE(reflection_ring_radius(c, 2));  // past the crystal's reflections
  HklParam hexagonal = c;
  hexagonal.kind = 1;
  EXPECT_FALSE(reflection_ring_radius(hexagonal, 0));
  geometry(60, 50, 1, 5, 0.1, 1.5);
  EXPECT_NEAR(reflection_ring_radius(crystal(3, {{2, 0, 0}}), 0).value(), 86.60254037844389, 1e-9);  // 2theta 60°
  geometry(60, 50, 1, 5, 0.1, 2.6);
  EXPECT_FALSE(reflection_ring_radius(crystal(3, {{1, 1, 1}}), 0));  // 2theta 97°: off the detector plane
}

TEST_F(RingMaskTest, PaintedRingMatchesThePerPixelRule) {
  const struct {
    const char* name;
    double x0, y0, ratio;
    int32_t width;
    uint8_t value, fill;
  } cases[] = {
      {"centre inside", 60.3, 49.7, 1, 4, 1, 0},
      {"odd width, centre on a pixel", 60, 50, 1, 5, 1, 0},
      {"non-square pixels", 55.5, 40.2, 1.5, 6, 1, 0},
      {"centre left of the image", -20.7, 30.1, 1, 8, 1, 0},
      {"centre below the image", 70.2, 130.4, 1, 10, 1, 0},
      {"wider than the radius", 60.3, 49.7, 1, 120, 1, 0},
      {"clearing", 58.8, 52.1, 1, 7, 0, 1},
  };
  const HklParam c = crystal(4, {{1, 1, 1}});
  for (const auto& k : cases) {
    SCOPED_TRACE(k.name);
    geometry(k.x0, k.y0, k.ratio, 10, 0.1, 1);
    std::fill(state().image_mask.bytes.begin(), state().image_mask.bytes.end(), k.fill);
    paint_ring_mask(c, 0, k.width, k.value);
    const std::vector<uint8_t> expected = reference(46.6474112360989, k.width, k.value, k.fill);
    EXPECT_EQ(state().image_mask.bytes, expected);
    EXPECT_NE(std::count(expected.begin(), expected.end(), k.value), std::count(expected.begin(), expected.end(), k.fill));
  }
}

TEST_F(RingMaskTest, NothingWithoutAnImageOrARadius) {
  geometry(60, 50, 1, 10, 0.1, 1);
  paint_ring_mask(crystal(4, {{0, 0, 9}}), 0, 4, 1);
  current_image().NoImageFlag = 1;
  paint_ring_mask(crystal(4, {{1, 1, 1}}), 0, 4, 1);
  EXPECT_EQ(std::count(state().image_mask.bytes.begin(), state().image_mask.bytes.end(), 1), 0);
}

}  // namespace
}  // namespace kestrin::test
