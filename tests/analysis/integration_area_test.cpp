// The integration region: boxes, tags, band and sector membership, sector indices, clipping.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "analysis/integration_area.h"
#include "analysis_fixture.h"
#include "commands/histogram_commands.h"

namespace kestrin::test {
namespace {

class IntegrationAreaTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    load_flat_image(512, 512, 1);
    set_region(kRegionRectangle);
    set_band_mode(kByDirection);
  }

public:
  struct Box {
    int32_t x1, x2, y1, y2;
    bool operator==(const Box&) const = default;
  };
  // The region of the current parameters as a command reads them before its run (a
  // negative sector start moved by 360): it must exist.
  static IntegrationRegion region() {
    read_image_parameters();
    const std::optional<IntegrationRegion> r = calc_integration_area();
    EXPECT_TRUE(r.has_value());
    return r.value_or(IntegrationRegion{});
  }
  static Box area() {
    const IntegrationRegion r = region();
    return Box{r.x1, r.x2, r.y1, r.y2};
  }
};

std::ostream& operator<<(std::ostream& o, const IntegrationAreaTest::Box& b);

TEST_F(IntegrationAreaTest, DirectionBoxesAndTags) {
  struct Case {
    int dir;
    double X0, Y0;
    int bw;
    int32_t x1, x2, y1, y2;
    const char* tag;
  } cases[] = {
      {0, 100.0, 300.0, 11, 95, 106, 0, 299, "t"},
      {0, 100.0, 0.3, 11, 95, 106, 0, -1, "t"},  // the centre row belongs to neither half
      {1, 100.0, 300.0, 10, 95, 105, 301, 511, "b"},
      {2, 100.0, 300.0, 10, 95, 105, 0, 511, "v"},
      {3, 100.0, 300.0, 10, 0, 99, 295, 305, "l"},
      {4, 100.0, 300.0, 10, 101, 511, 295, 305, "r"},
      {5, 100.0, 300.0, 10, 0, 511, 295, 305, "h"},
      {6, 100.0, 300.0, 10, 0, 511, 0, 511, "f"},
      {7, 100.0, 300.0, 10, 96, 511, 0, 304, "ru"},
      {8, 100.0, 300.0, 10, 96, 511, 296, 511, "ru"},
      {9, 100.0, 300.0, 10, 0, 104, 0, 304, "ru"},
      {10, 100.0, 300.0, 10, 0, 104, 296, 511, "ru"},
      {4, 900.0, 300.0, 10, 901, 511, 295, 305, "r"},  // x1 is not bounded from above
      {0, -40.0, 300.0, 10, 0, -34, 0, 299, "t"},     // nor x2 from below
  };
  for (const Case& c : cases) {
    set_direction(c.dir);
    set_centre(c.X0, c.Y0);
    set_parameter(&P::band_width, c.bw);
    EXPECT_EQ(area(), (Box{c.x1, c.x2, c.y1, c.y2})) << "direction " << c.dir;
    EXPECT_EQ(state().nax_pattern.PatternName, std::string("ring") + c.tag);
  }
}

TEST_F(IntegrationAreaTest, NoCentreAndUnknownDirection) {
  set_centre(0, 0);
  state().nax_pattern.PatternName = "kept";
  EXPECT_FALSE(calc_integration_area());
  EXPECT_EQ(state().nax_pattern.PatternName, "kept");
  set_centre(10, 10);
  set_direction(11);
  const Box b = area();
  EXPECT_GT(b.x1, b.x2);
}

TEST_F(IntegrationAreaTest, FarOffCentreGivesBoundedBoxes) {
  for (double c : {1e12, -1e12, 3e9}) {
    for (int d = 0; d <= 10; ++d) {
      set_direction(d);
      set_centre(c, 5);
      const Box b = area();
      EXPECT_GE(b.x1, 0);
      EXPECT_LE(b.x2, 511);
    }
  }
}

TEST_F(IntegrationAreaTest, SectorTagsAndIntervals) {
  set_region(kRegionSector);
  set_centre(200.5, 300.5);
  struct Case {
    double s, e;
    const char* tag;
    double lo1, hi1, lo2, hi2;
  } cases[] = {
      {350, 370, "ring_sector350_370", -10, 10, -10, 10},
      {-10, 10, "ring_sector350_370", -10, 10, -10, 10},
      {100, 400, "ring_sector100_400", -180, 40, 100, 180},
      {10, 50, "ring_sector10_50", 10, 50, 10, 50},
      {100, 300, "ring_sector100_300", 100, 180, -180, -60},
      {600, 700, "ring_sector600_700", -120, -20, -120, -20},  // not -180..-20
      {400, 720, "ring_sector400_720", 40, 180, -180, 0},
  };
  for (const Case& c : cases) {
    set_sector(c.s, c.e);
    const SectorTest sector = region().sector;
    EXPECT_EQ(state().nax_pattern.PatternName, c.tag);
    EXPECT_EQ(sector.lo1, c.lo1) << c.s;
    EXPECT_EQ(sector.hi1, c.hi1) << c.s;
    EXPECT_EQ(sector.lo2, c.lo2) << c.s;
    EXPECT_EQ(sector.hi2, c.hi2) << c.s;
  }
}

TEST_F(IntegrationAreaTest, StraightLeftOfTheCentreIsNeverInASector) {
  set_region(kRegionSector);
  set_centre(200, 300);
  for (auto [s, e] : {std::pair{0, 360}, std::pair{90, 270}, std::pair{170, 190}}) {
    set_sector(s, e);
    const SectorTest sector = region().sector;
    EXPECT_TRUE(sector.outside(150, 300)) << s;
    EXPECT_FALSE(sector.outside(150, 301)) << s;  // just below: az slightly under 180
  }
}

TEST_F(IntegrationAreaTest, FullCircleSectorCoversTheFullBox) {
  // A centre off the pixel rows: the sector (0, 360) holds every pixel of the image.
  set_region(kRegionSector);
  set_centre(200.3, 300.6);
  set_sector(0, 360);
  const IntegrationRegion r = region();
  EXPECT_EQ((Box{r.x1, r.x2, r.y1, r.y2}), (Box{0, 511, 0, 511}));
  int outside = 0;
  for (int y = 0; y < 512; ++y)
    for (int x = 0; x < 512; ++x) outside += r.sector.outside(x, y);
  EXPECT_EQ(outside, 0);
}

TEST_F(IntegrationAreaTest, SectorMembershipFollowsClockwiseAzimuth) {
  set_region(kRegionSector);
  set_centre(256.5, 256.5);
  set_sector(30, 60);
  const IntegrationRegion b = region();
  // Points every few pixels: inside exactly when the clockwise azimuth is in [30, 60).
  for (int y = 0; y < 512; y += 7) {
    for (int x = 0; x < 512; x += 5) {
      const double az = std::atan2(y - 256.5, x - 256.5) * 180 / std::acos(-1.0);
      EXPECT_EQ(b.sector.outside(x, y), !(az >= 30 && az < 60)) << x << "," << y;
      if (az >= 30 && az < 60) {
        EXPECT_TRUE(x >= b.x1 && x <= b.x2 && y >= b.y1 && y <= b.y2) << x << "," << y;
      }
    }
  }
}

// Rotated-frame reference of the band: the half-strip of width bw that starts at the line
// through the centre perpendicular to the angle and runs towards (cos a, sin a).
bool in_reference_band(double x, double y, double X0, double Y0, double a_deg, double bw) {
  const double a = a_deg * std::acos(-1.0) / 180;
  const double along = (x - X0) * std::cos(a) + (y - Y0) * std::sin(a);
  const double across = -(x - X0) * std::sin(a) + (y - Y0) * std::cos(a);
  return along > 0 && std::fabs(across) < bw / 2;
}

TEST_F(IntegrationAreaTest, BandAtAnyAngleIsTheHalfStrip) {
  set_band_mode(kByAngle);
  const double X0 = 250.3, Y0 = 240.6, bw = 21;
  set_centre(X0, Y0);
  set_parameter(&P::band_width, 21);
  // Multiples of 90 degrees among them, each run after another angle: the band must not
  // depend on the previous run.
  for (double a : {45.0, 0.0, 90.0, 180.0, 270.0, 135.0, 225.0, 315.0, 360.0, -90.0, 405.0, 30.0}) {
    set_parameter(&P::rect_angle, a);
    const IntegrationRegion b = region();
    int mismatches = 0, inside = 0;
    for (int y = 0; y < 512; ++y) {
      for (int x = 0; x < 512; ++x) {
        const bool ref = in_reference_band(x, y, X0, Y0, a, bw);
        const bool ours = !b.band.outside(x, y);
        mismatches += ref != ours;
        inside += ours;
        if (ours) {  // the box comes from truncated edge ends: within a pixel
          EXPECT_TRUE(x >= b.x1 - 1 && x <= b.x2 + 1 && y >= b.y1 - 1 && y <= b.y2 + 1) << a << ": " << x << "," << y;
        }
      }
    }
    EXPECT_EQ(mismatches, 0) << "angle " << a;
    EXPECT_GT(inside, 1000) << "angle " << a;
  }
  set_parameter(&P::rect_angle, 45.7);
  area();
  EXPECT_EQ(state().nax_pattern.PatternName, "ring_rect_angle45");
}

TEST_F(IntegrationAreaTest, DiagonalBands) {
  set_centre(256, 256);
  set_parameter(&P::band_width, 20);
  const double d = 20 / std::sqrt(2.0);
  for (int dir = 7; dir <= 10; ++dir) {
    set_direction(dir);
    const BandTest band = region().band;
    for (int y = 0; y < 512; y += 3) {
      for (int x = 0; x < 512; x += 3) {
        const double p = x - 256, q = y - 256;
        bool in = false;
        if (dir == 7) in = std::fabs(p + q) <= d && q <= p;
        if (dir == 8) in = std::fabs(q - p) <= d && p + q >= 0;
        if (dir == 9) in = std::fabs(q - p) <= d && p + q <= 0;
        if (dir == 10) in = std::fabs(p + q) <= d && q >= p;
        EXPECT_EQ(band.outside(x, y), !in) << dir << ": " << x << "," << y;
      }
    }
  }
  set_direction(3);
  EXPECT_TRUE(region().band.outside(10, 256));  // axis-aligned boxes have no band
}

TEST_F(IntegrationAreaTest, SectorIndices) {
  const double rad = std::acos(-1.0) / 180;
  struct Case {
    double az, angle;
    int32_t index;
  } cases[] = {{359, 25, 14}, {0, 25, 0}, {24.9, 25, 0}, {90, 90, 1}, {-1, 90, 3}, {180, 22.5, 8}};
  for (const Case& c : cases)
    EXPECT_EQ(sector_index(std::cos(c.az * rad), std::sin(c.az * rad), c.angle), c.index) << c.az;
  struct Case16 {
    double az;
    int32_t index;
  } cases16[] = {{0, 0}, {11.2, 0}, {11.3, 1}, {22.5, 1}, {-11.2, 0}, {-11.3, 15}, {180, 8}, {-90, 12}};
  for (const Case16& c : cases16)
    EXPECT_EQ(sector16_index(std::cos(c.az * rad), std::sin(c.az * rad)), c.index) << c.az;
}

TEST_F(IntegrationAreaTest, OutcodeAndClipping) {
  load_flat_image(100, 100, 1);
  EXPECT_EQ(image_outcode(-1, 50), 1);
  EXPECT_EQ(image_outcode(100, 50), 2);
  EXPECT_EQ(image_outcode(50, -1), 4);
  EXPECT_EQ(image_outcode(50, 100), 8);
  EXPECT_EQ(image_outcode(-5, 200), 9);
  EXPECT_EQ(image_outcode(0, 99), 0);
  struct Case {
    int32_t x0, y0, x1, y1, result, xo, yo;
  } cases[] = {
      {10, 10, 10, -500, 1, 10, 0},     // straight up: the top edge
      {10, 10, 10, 600, 1, 10, 99},     // straight down
      {50, 50, -50, 150, 1, 0, 150},    // left edge gives y 150: out of range ...
      {50, 50, 250, 50, 1, 99, 50},     // right edge
      {50, 50, 60, 50, -1, -7, -7},     // inside: code 0, nothing to clip
      {50, 50, 50, -20, 1, 50, 0},
  };
  for (const Case& c : cases) {
    int32_t xo = -7, yo = -7;
    const int32_t r = clip_to_image(image_outcode(c.x1, c.y1), c.x0, c.y0, c.x1, c.y1, xo, yo);
    if (c.x1 == -50) {  // ... so the bottom edge (bit 8) gives the point
      EXPECT_EQ(r, 1);
      EXPECT_EQ(xo, 1);
      EXPECT_EQ(yo, 99);
      continue;
    }
    EXPECT_EQ(r, c.result) << c.x1 << "," << c.y1;
    EXPECT_EQ(xo, c.xo) << c.x1 << "," << c.y1;
    EXPECT_EQ(yo, c.yo) << c.x1 << "," << c.y1;
  }
  int32_t xo = 0, yo = 0;
  EXPECT_EQ(clip_to_image(1, 5, 5, 5, 5, xo, yo), -1);  // vertical ray and the left edge
}

std::ostream& operator<<(std::ostream& o, const IntegrationAreaTest::Box& b) {
  return o << b.x1 << ".." << b.x2 << " x " << b.y1 << ".." << b.y2;
}

}  // namespace
}  // namespace kestrin::test
