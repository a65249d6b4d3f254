// The cake of ring images: every band shows the rings at the columns of their distances, an
// arc lights only the band of its azimuth, a slice shows nothing past its own points, dark
// and negative intensities stay black, and a slice without a pattern stops the cake and
// keeps the picture made before.
#include "analysis/cake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/geometry.h"
#include "analysis_fixture.h"
#include "commands/cake_commands.h"
#include "image/cake_picture.h"
#include "image/image_store.h"
#include "ports/long_run.h"

namespace kestrin::test {
namespace {


// The scattering angle of a ring whose tilt-corrected distance is `distance` pixels.
double ring_at(double distance, const RingGeometry& g) { return std::atan(distance * g.pixel_x / g.Lo) / kDegToRad; }

// The azimuth of pixel (x, y) in degrees, 0 to 360, as the sector test measures it: from +x
// towards +y with rows running downwards, in pixels whatever their shape.
double azimuth(const RingGeometry& g, int32_t x, int32_t y) {
  const double a = std::atan2(y - g.Y0, x - g.X0) / kDegToRad;
  return a < 0 ? a + 360 : a;
}

struct CountingPump : EventPump {
  int pumps = 0;
  bool ending = false;
  void process_messages() override { ++pumps; }
  bool terminated() const override { return ending; }
};

class CakeTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    set_region(kRegionRectangle);
  }
  void TearDown() override {
    reset_headless_ports();
    AnalysisTest::TearDown();
  }
  // Loads codes made for `g` and types its geometry.
  static void use(const std::vector<uint16_t>& codes, const RingGeometry& g) {
    load_into_current_image(codes, g.width, g.height);
    set_geometry(g);
  }
  // A ring image of `g` without background, its rings at the given distances in pixels.
  static std::vector<uint16_t> rings(const RingGeometry& g, const std::vector<double>& distances, double sigma = 0.12) {
    RingImageSpec spec;
    spec.geometry = g;
    spec.background = 0;
    for (double d : distances) spec.rings.push_back({ring_at(d, g), sigma, 4000});
    return make_ring_image(spec);
  }
  static const TKsDIB& picture() { return cake_state().CakeDIB; }
  static int pixel(int32_t x, int32_t y) { return picture().ScanLine(y)[x]; }
  static std::vector<uint8_t> row(int32_t y) { return {picture().ScanLine(y), picture().ScanLine(y) + kCakeColumns}; }
  // The brightest column of row y within `reach` columns of `column` (the first of equals).
  static int32_t brightest_near(int32_t y, int32_t column, int32_t reach) {
    int32_t best = column - reach;
    for (int32_t x = column - reach; x <= column + reach; ++x)
      if (pixel(x, y) > pixel(best, y)) best = x;
    return best;
  }
  static bool band_dark(int32_t first_row, int32_t rows) {
    for (int32_t y = first_row; y < first_row + rows; ++y)
      for (int32_t x = 0; x < kCakeColumns; ++x)
        if (pixel(x, y) != 0) return false;
    return true;
  }
  static size_t banners() {
    return size_t(std::count(log().begin(), log().end(), "<<<<<   Slant Pixel Histogram   >>>>>"));
  }
};

TEST_F(CakeTest, EveryBandShowsTheRingsAtTheColumnsOfTheirDistances) {
  const struct {
    const char* what;
    RingGeometry geometry;
    std::vector<double> distances;
  } cases[] = {
      {"a ring at 400 pixels", {840, 830, 420.2, 414.7, 100, 0.1, 0.1, 0, 0}, {400}},
      {"tilted, non-square pixels", {300, 280, 150.4, 139.6, 80, 0.1, 0.12, 3, 40}, {60, 110}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    use(rings(c.geometry, c.distances), c.geometry);
    the_log().clear_history();
    ASSERT_TRUE(run_cake(kCake));
    ASSERT_TRUE(cake_state().made);
    ASSERT_EQ(picture().Height(), 320);
    for (int32_t band = 0; band < 32; ++band) {
      const int32_t top = 10 * band;
      for (double d : c.distances) EXPECT_EQ(brightest_near(top, int32_t(d / 2), 10), int32_t(d / 2)) << "band " << band;
      EXPECT_EQ(pixel(kCakeColumns - 1, top), 0) << "band " << band;  // beyond the image
      for (int32_t j = 1; j < 10; ++j) ASSERT_EQ(row(top + j), row(top)) << "band " << band << " row " << j;
    }
    EXPECT_EQ(banners(), 33u);
    EXPECT_EQ(shown_value(&P::IntegrationMode), kRegionSector);
    EXPECT_EQ(shown_text(&P::sector_start), "352");
    EXPECT_EQ(shown_text(&P::sector_end), "363");
    EXPECT_TRUE(state().nax_pattern.has_kind(kPixelHistogram));
  }
}

TEST_F(CakeTest, ArcsLightOnlyTheBandsOfTheirAzimuths) {
  // Slice s spans the azimuths from s x width on, measured from +x towards the rows below
  // the centre; bands run from the top down. An arc well inside one slice lights its band
  // alone.
  const RingGeometry g{300, 300, 150.3, 149.6, 80, 0.1, 0.1, 0, 0};
  const std::pair<double, double> arcs[] = {{34, 43}, {50, 53}, {200, 208}};
  std::vector<uint16_t> codes = rings(g, {100});
  for (int32_t y = 0; y < g.height; ++y)
    for (int32_t x = 0; x < g.width; ++x) {
      const double a = azimuth(g, x, y);
      if (std::none_of(std::begin(arcs), std::end(arcs), [&](const auto& arc) { return a >= arc.first && a <= arc.second; }))
        codes[size_t(x + g.width * y)] = 0;
    }
  use(codes, g);
  const struct {
    const char* what;
    CakeShape shape;
    std::vector<int32_t> lit;
    const char* start;
    const char* end;
  } cases[] = {
      {"Cake", kCake, {3, 4, 18}, "352", "363"},
      {"sector cake", kSectorCake, {1, 2, 9}, "198", "220"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(run_cake(c.shape));
    ASSERT_EQ(picture().Height(), c.shape.height);
    const int32_t rows = c.shape.rows_per_slice;
    std::vector<int32_t> lit;
    for (int32_t band = 0; band < c.shape.height / rows; ++band) {
      if (band_dark(band * rows, rows)) continue;
      lit.push_back(band);
      EXPECT_EQ(brightest_near(band * rows, 50, 10), 50) << "band " << band;
    }
    EXPECT_EQ(lit, c.lit);
    EXPECT_EQ(shown_text(&P::sector_start), c.start);
    EXPECT_EQ(shown_text(&P::sector_end), c.end);
  }
}

TEST_F(CakeTest, ASliceShowsNothingPastItsOwnPoints) {
  // The centre 40 pixels from the right edge: the slices towards +x end there, so their
  // bands stay dark where the slices towards -x show the ring at 150 pixels.
  const RingGeometry g{300, 200, 259.6, 100.2, 80, 0.1, 0.1, 0, 0};
  RingImageSpec spec;
  spec.geometry = g;
  spec.rings = {{ring_at(150, g), 0.12, 4000}};
  spec.background = 500;
  use(make_ring_image(spec), g);
  state().nax_pattern.values.assign(state().nax_pattern.values.size(), 60000);
  ASSERT_TRUE(run_cake(kCake));
  // Slice 0 spans 0 to 11 degrees: its farthest pixel lies under 45 pixels away.
  EXPECT_GT(pixel(15, 0), 0);
  for (int32_t x = 23; x < kCakeColumns; ++x) ASSERT_EQ(pixel(x, 0), 0) << x;
  EXPECT_EQ(brightest_near(160, 75, 10), 75);  // slice 16, 176 to 187 degrees
  EXPECT_GT(pixel(75, 160), 200);
}

TEST_F(CakeTest, DarkAndNegativeIntensitiesStayBlack) {
  const RingGeometry g{200, 200, 100.3, 99.6, 80, 0.1, 0.1, 0, 0};
  // An image of zeros gives a black picture.
  use(std::vector<uint16_t>(size_t(g.width * g.height), 0), g);
  ASSERT_TRUE(run_cake(kCake));
  EXPECT_TRUE(band_dark(0, 320));
  // Intensities below 0 off the ring: black there, the ring at full brightness.
  RingImageSpec spec;
  spec.geometry = g;
  spec.rings = {{ring_at(60, g), 0.12, 4000}};
  spec.background = 100;
  use(make_ring_image(spec), g);
  ImageStore& img = current_image();
  for (size_t code = 0; code < img.intensity_table.size(); ++code) img.intensity_table[code] = double(code) - 200.0;
  ASSERT_TRUE(run_cake(kCake));
  for (int32_t band = 0; band < 32; ++band) {
    EXPECT_EQ(brightest_near(10 * band, 30, 5), 30) << band;
    EXPECT_EQ(pixel(20, 10 * band), 0) << band;
    EXPECT_EQ(pixel(45, 10 * band), 0) << band;
  }
  int brightest = 0;
  for (int32_t y = 0; y < 320; ++y) brightest = std::max(brightest, pixel(30, y));
  EXPECT_EQ(brightest, 255);
}

TEST_F(CakeTest, ASliceWithoutAPatternStopsTheCakeAndKeepsThePicture) {
  const RingGeometry g{160, 160, 80.3, 79.6, 80, 0.1, 0.1, 0, 0};
  use(rings(g, {50}), g);
  ASSERT_TRUE(run_cake(kCake));
  const std::vector<uint8_t> band_0 = row(0);
  const std::array<int32_t, 5> kind = state().nax_pattern.kind;
  const struct {
    const char* what;
    void (*spoil)();
    std::vector<std::string> lines;
  } cases[] = {
      {"no image", [] { current_image().NoImageFlag = 1; },
       {"<<<<<   Slant Pixel Histogram   >>>>>", " calc_slant_pixel_histogram() : Image data does not exist."}},
      {"a tilt without a camera length",
       [] {
         set_parameter(&P::Lo, 0);
         set_parameter(&P::Phi, 3);
       },
       {"<<<<<   Slant Pixel Histogram   >>>>>",
        " calc_slant_pixel_histogram():Camera length must be greater than 0 for a tilted detector"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    use(rings(g, {30}), g);
    c.spoil();
    the_log().clear_history();
    EXPECT_FALSE(run_cake(kCake));
    EXPECT_EQ(log(), c.lines);
    EXPECT_TRUE(cake_state().made);
    EXPECT_EQ(row(0), band_0);
    EXPECT_EQ(state().nax_pattern.kind, kind);
  }
}

TEST_F(CakeTest, TheCakePumpsOncePerSliceAndStopsWhenTheProgramEnds) {
  const RingGeometry g{160, 160, 80.3, 79.6, 80, 0.1, 0.1, 0, 0};
  use(rings(g, {50}), g);
  CountingPump pump;
  Ports p;
  p.events = &pump;
  install_ports(p);
  set_region(kRegionRectangle);
  set_geometry(g);
  ASSERT_TRUE(run_cake(kSectorCake));
  EXPECT_EQ(pump.pumps, 10);
  const std::vector<uint8_t> band_0 = row(0);
  use(rings(g, {30}), g);
  pump.ending = true;
  the_log().clear_history();
  EXPECT_FALSE(run_cake(kCake));
  EXPECT_EQ(pump.pumps, 11);
  EXPECT_EQ(banners(), 1u);
  EXPECT_EQ(row(0), band_0);
  EXPECT_EQ(picture().Height(), kSectorCake.height);
}

}  // namespace
}  // namespace kestrin::test
