// The 2theta accumulation kernel against a slow, obvious reference, over a table of cases
// that reaches every path the kernel chooses once per scan: exclusions (none, mask, display
// levels, both), region tests (none, slanted band, diagonal band, sector), sinks (one
// pattern, free sectors) and thread counts.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "analysis/angle_accumulator.h"
#include "analysis/integration_area.h"
#include "analysis/sector_accumulator.h"
#include "analysis_fixture.h"

namespace kestrin::test {
namespace {

// Every pixel of the box in row order, the tests written out one by one, the angle from
// the geometry kernel, the sample split between its two nearest bins. No lanes, no
// templates, no row batches. `sector` chooses the free sector of each pixel (or -1 for the
// single pattern); samples of other sectors are left out.
void reference_scan(const AngleScan& s, AngleSums& out, double division_angle = 0, int32_t sector = -1,
                    int32_t sectors = 0) {
  const ImageStore& img = *s.image;
  const int32_t bins = out.bins();
  for (int32_t y = s.y1; y <= s.y2; ++y) {
    for (int32_t x = s.x1; x <= s.x2; ++x) {
      const size_t at = size_t(x) + size_t(img.ImageWidth) * size_t(y);
      if (s.mask && s.mask[at] != 0) continue;
      if (s.levels && s.levels[at] == 0) continue;
      if (s.region == RegionTest::Band && s.band.outside(x, y)) continue;
      if (s.region == RegionTest::Sector && s.sector.outside(x, y)) continue;
      if (sector >= 0) {
        int32_t k = sector_index(x - s.geometry.X0, s.geometry.row(y).dy, division_angle);
        if (k == sectors) k = 0;
        if (k != sector) continue;
      }
      const double t = s.geometry.two_theta(double(x), double(y));
      if (!(t >= s.begin)) continue;
      const double pos = (t - s.begin) / s.step;
      if (!(pos < bins - 1)) continue;
      const int32_t b = int32_t(pos);
      const double f = pos - b, I = img.intensity_table[img.image_codes[at]];
      out.weight[size_t(b)] += 1 - f;
      out.weight[size_t(b) + 1] += f;
      out.sum[size_t(b)] += (1 - f) * I;
      out.sum[size_t(b) + 1] += f * I;
    }
  }
}

// The kernel sums lanes and merges them, so they agree with the reference up to the
// order of additions.
void expect_close(const AngleSums& kernel, const AngleSums& ref, const std::string& what) {
  ASSERT_EQ(kernel.bins(), ref.bins()) << what;
  int differing = 0;
  for (size_t i = 0; i < size_t(ref.bins()); ++i) {
    const double tw = 1e-11 * std::max(1.0, std::fabs(ref.weight[i]));
    const double ts = 1e-11 * std::max(1.0, std::fabs(ref.sum[i]));
    differing += std::fabs(kernel.weight[i] - ref.weight[i]) > tw || std::fabs(kernel.sum[i] - ref.sum[i]) > ts;
  }
  EXPECT_EQ(differing, 0) << what;
}

class AccumulatorTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    std::mt19937 rng(20240611);
    std::vector<uint16_t> codes(size_t(kW) * kH);
    for (uint16_t& c : codes) c = uint16_t(rng() % 4000);
    load_into_current_image(codes, kW, kH);
    state().image_mask.resize(kW, kH);
    levels_.assign(codes.size(), 0);
    for (size_t i = 0; i < codes.size(); ++i) {
      state().image_mask.bytes[i] = rng() % 5 == 0;
      levels_[i] = uint8_t(rng() % 4);
    }
    set_parameter(&IntegrationParams::Lo, 40);
    set_parameter(&IntegrationParams::Beta, 35);
    set_parameter(&IntegrationParams::Phi, 7);
    set_parameter(&IntegrationParams::pixel_y, 0.13);
    set_centre(30.4, 19.7);
  }

  // The region of the current choice as a command reads it before its run (the negative
  // sector start moved by 360), and a scan over its box.
  AngleScan scan_of(RegionTest test, int exclusions) {
    read_image_parameters();
    const std::optional<IntegrationRegion> r = calc_integration_area();
    EXPECT_TRUE(r);
    AngleScan s;
    s.image = &current_image();
    s.geometry = DetectorGeometry::from(state().integration_params);
    s.begin = 0.5;
    s.step = 0.37;
    s.x1 = r->x1, s.x2 = r->x2, s.y1 = r->y1, s.y2 = r->y2;
    s.region = test;
    s.band = r->band;
    s.sector = r->sector;
    if (exclusions & 1) s.mask = state().image_mask.bytes.data();
    if (exclusions & 2) s.levels = levels_.data();
    return s;
  }

  static constexpr int32_t kW = 61, kH = 43;
  std::vector<uint8_t> levels_;
};

TEST_F(AccumulatorTest, EveryPathAgreesWithTheReferenceForAnyThreadCount) {
  using P = IntegrationParams;
  struct Region {
    const char* name;
    int32_t mode;        // 0 rectangle, 1 sector
    int32_t rect_angle;  // 0 by direction, 1 by angle
    int32_t direction;
    RegionTest test;
  } regions[] = {
      {"box", 0, 0, 6, RegionTest::None},
      {"part box", 0, 0, 4, RegionTest::None},
      {"slanted band", 0, 1, 0, RegionTest::Band},
      {"diagonal band", 0, 0, 8, RegionTest::Band},
      {"sector", 1, 0, 0, RegionTest::Sector},
  };
  set_parameter(&P::rect_angle, 123);
  set_parameter(&P::band_width, 15);
  set_sector(-40, 95);
  for (const Region& region : regions) {
    set_parameter(&P::IntegrationMode, region.mode);
    set_parameter(&P::RectAngleMode, region.rect_angle);
    set_parameter(&P::RectDirection, region.direction);
    for (int exclusions = 0; exclusions < 4; ++exclusions) {
      const AngleScan scan = scan_of(region.test, exclusions);
      const int32_t bins = reachable_bins(scan);
      AngleSums ref(bins);
      reference_scan(scan, ref);
      const std::string what = std::string(region.name) + " exclusions " + std::to_string(exclusions);
      std::vector<AngleSums> runs;
      for (int threads : {1, 3, 0}) {
        set_worker_threads(threads);
        AngleSums sums(bins);
        accumulate_angles(scan, sums);
        expect_close(sums, ref, what + " threads " + std::to_string(threads));
        runs.push_back(sums);
      }
      // Fixed lanes merged in order: the thread count changes no bit.
      EXPECT_EQ(runs[0].weight, runs[1].weight) << what;
      EXPECT_EQ(runs[0].sum, runs[2].sum) << what;
    }
  }
}

TEST_F(AccumulatorTest, FreeSectorsAgreeWithTheReferenceSectorBySector) {
  whole_image_region();
  struct Case {
    double angle;
    int exclusions;
  } cases[] = {{360, 0}, {50, 1}, {22.5, 3}, {7, 2}, {0.1, 1}};
  for (const Case& c : cases) {
    const AngleScan scan = scan_of(RegionTest::None, c.exclusions);
    const int32_t count = int32_t(std::ceil(360.0 / c.angle));
    const int32_t bins = reachable_bins(scan);
    std::vector<std::vector<AngleSums>> runs;
    for (int threads : {1, 0}) {
      set_worker_threads(threads);
      std::vector<AngleSums> sums(size_t(count), AngleSums{bins});
      accumulate_sectors(scan, SectorDivision{false, c.angle, count}, bins,
                         [&sums, bins](int32_t k, const double* ws) {
                           for (int32_t i = 0; i < bins; ++i) {
                             sums[size_t(k)].weight[size_t(i)] = ws[2 * i];
                             sums[size_t(k)].sum[size_t(i)] = ws[2 * i + 1];
                           }
                         });
      runs.push_back(sums);
      for (int32_t k = 0; k < count; ++k) {
        AngleSums ref(bins);
        reference_scan(scan, ref, c.angle, k, count);
        expect_close(sums[size_t(k)], ref, "angle " + std::to_string(c.angle) + " sector " + std::to_string(k));
      }
    }
    // Each sector is summed in pixel order by one thread: the thread count changes no bit.
    for (int32_t k = 0; k < count; ++k) {
      EXPECT_EQ(runs[0][size_t(k)].weight, runs[1][size_t(k)].weight) << c.angle << " sector " << k;
      EXPECT_EQ(runs[0][size_t(k)].sum, runs[1][size_t(k)].sum) << c.angle << " sector " << k;
    }
  }
}

}  // namespace
}  // namespace kestrin::test
