// Every histogram kernel against its slow, literal per-pixel reference over a table of
// small synthetic images (tilts, non-square pixels, a centre off the image, exclusions,
// band and sector tests): the same patterns, or 1 apart at exact rounding ties only; the
// count-based sixteen sectors exactly the same; the same result on 1, 2 and 8 threads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/angle_histogram.h"
#include "analysis/fine_curved_histograms.h"
#include "analysis/pixel_histogram.h"
#include "analysis/sectored_histogram.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "base/lanes.h"
#include "histogram_reference.h"
#include "histogram_runs.h"

namespace kestrin::test {
namespace {

struct ImageCase {
  const char* what;
  RingGeometry geometry;
  bool exclusions;
};

const ImageCase kImages[] = {
    {"square pixels, no tilt", {61, 47, 30.2, 22.7, 20, 0.1, 0.1, 0, 0}, false},
    {"tilted, non-square pixels, exclusions", {61, 47, 25.4, 30.1, 20, 0.1, 0.12, 6, 35}, true},
    {"centre off the image", {61, 47, -12.5, 60.3, 25, 0.1, 0.08, -10, 200}, true},
};

// A region: the rectangle by direction or at an angle, or the sector.
struct RegionCase {
  const char* what;
  int32_t region;
  int direction;
  bool rect_angle;
  int test;  // 0 none, 1 band, 2 sector (as the reference walks)
};

const RegionCase kRegions[] = {
    {"full box", kRegionRectangle, 6, false, 0},
    {"top box", kRegionRectangle, 0, false, 0},
    {"band at 33 degrees", kRegionRectangle, 3, true, 1},
    {"diagonal band", kRegionRectangle, 8, false, 1},
    {"sector", kRegionSector, 0, false, 2},
};

class KernelReferenceTest : public AnalysisTest {
protected:
  void load(const ImageCase& c) {
    const RingGeometry& g = c.geometry;
    RingImageSpec spec;
    spec.geometry = g;
    spec.rings = {{6, 0.6, 3000}, {11, 0.5, 2000}};
    spec.background = 40;
    spec.poisson = true;
    load_into_current_image(make_ring_image(spec), g.width, g.height);
    set_geometry(g);
    set_parameter(&P::two_theta_begin, 1);
    set_parameter(&P::two_theta_end, 40);
    set_parameter(&P::two_theta_step, 0.05);
    set_parameter(&P::band_width, 15);
    set_parameter(&P::rect_angle, 33);
    set_sector(-40, 100);
    const int32_t W = g.width, H = g.height;
    state().image_mask.resize(W, H);
    state().display_levels.level.assign(size_t(W) * size_t(H), 9);
    state().display_levels.width = W;
    state().display_levels.height = H;
    for (int32_t y = 0; y < H; ++y)
      for (int32_t x = 0; x < W; ++x) {
        state().image_mask.bytes[size_t(x + W * y)] = (x * 7 + y * 3) % 5 == 0;
        if ((x + 2 * y) % 7 == 0) state().display_levels.level[size_t(x + W * y)] = 0;
      }
    state().OmitGreen = state().OmitBlue = c.exclusions;
  }
  // Runs the routine on 1, 2 and 8 threads: the same pattern each time, which is returned.
  static std::vector<int32_t> run_on_threads(HistogramRoutine routine) {
    std::vector<std::vector<int32_t>> results;
    for (int threads : {1, 2, 8}) {
      set_worker_threads(threads);
      shown(routine);
      results.push_back(state().nax_pattern.values);
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_EQ(results[0], results[2]);
    return results[0];
  }
};

TEST_F(KernelReferenceTest, RegionHistogramsMatchTheReference) {
  struct Kind {
    const char* what;
    RefKind kind;
    HistogramRoutine box;
    HistogramRoutine band;
    HistogramRoutine sector;
  } kinds[] = {
      {"flat", RefKind::Flat, calc_angle_histogram, calc_angle_histogram_band, calc_angle_histogram_sector},
      {"fine", RefKind::Fine, calc_fine_angle_histogram, calc_fine_angle_histogram_band, calc_fine_angle_histogram_sector},
      {"curved", RefKind::Curved, calc_curved_angle_histogram, calc_curved_angle_histogram_band,
       calc_curved_angle_histogram_sector},
      {"pixel", RefKind::Distance, calc_pixel_histogram, calc_slant_pixel_histogram, calc_slant_pixel_histogram_sector},
  };
  int ties = 0, compared = 0;
  for (const ImageCase& image : kImages) {
    load(image);
    for (const RegionCase& region : kRegions) {
      set_region(region.region, region.direction, region.rect_angle);
      for (const Kind& k : kinds) {
        SCOPED_TRACE(testing::Message() << image.what << ", " << region.what << ", " << k.what);
        HistogramRoutine routine = region.test == 0 ? k.box : region.test == 1 ? k.band : k.sector;
        const std::vector<int32_t> ours = run_on_threads(routine);
        RefPattern ref = ref_region(k.kind, region.test);
        // The fine box keeps 1 in its empty bins, every other routine 0.
        if (k.kind == RefKind::Fine && region.test == 0) ref.empty = 1;
        ASSERT_EQ(state().nax_pattern.N, ref.last + 1);
        ties += expect_matches_reference([&](int32_t i) { return ours[size_t(i)]; }, ref, kPatternSize);
        compared += ref.last;
      }
    }
  }
  EXPECT_GT(compared, 5000);
  EXPECT_LE(ties, 3);
}

TEST_F(KernelReferenceTest, SectoredHistogramsMatchTheReference) {
  struct Case {
    const char* what;
    bool fixed16;
    RefKind kind;
    double angle;
  } cases[] = {
      {"sixteen fixed sectors", true, RefKind::Distance, 7.3},
      {"free pixel sectors of 22.5", false, RefKind::Distance, 22.5},
      {"free pixel sectors of 7.3", false, RefKind::Distance, 7.3},
      {"free 2theta sectors of 1", false, RefKind::Flat, 1},
      {"free pixel sectors of 0.2, each pixel tested", false, RefKind::Distance, 0.2},
      {"free 2theta sectors of 120", false, RefKind::Flat, 120},
  };
  for (const ImageCase& image : kImages) {
    load(image);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << image.what << ", " << c.what);
      set_parameter(&P::division_angle, c.angle);
      HistogramRoutine routine = c.fixed16                    ? calc_sectored_histogram
                          : c.kind == RefKind::Flat    ? calc_free_angle_sectored_angle_histogram
                                                       : calc_free_angle_sectored_pixel_histogram;
      std::vector<std::vector<int32_t>> runs;
      for (int threads : {1, 2, 8}) {
        set_worker_threads(threads);
        shown(routine);
        std::vector<int32_t> all;
        for (int32_t k = 0; k < state().sector_patterns.walked(); ++k) {
          const SectorPattern& s = state().sector_patterns.sectors[size_t(k)];
          all.insert(all.end(), s.pattern.begin(), s.pattern.end());
          all.push_back(-s.last_point);
        }
        runs.push_back(all);
      }
      EXPECT_EQ(runs[0], runs[1]);
      EXPECT_EQ(runs[0], runs[2]);

      const int32_t count = c.fixed16 ? 16 : state().integration_params.sector_count;
      ASSERT_EQ(state().sector_patterns.count, count);
      const std::vector<RefPattern> ref = ref_sectored(c.kind, c.fixed16, count);
      int32_t last = 0;
      for (int32_t k = 0; k < count; ++k) {
        const SectorPattern& s = state().sector_patterns.sectors[size_t(k)];
        const RefPattern& r = ref[size_t(k)];
        // Both are 0 past the stored points and the reference's sums.
        const int32_t n = int32_t(std::max(s.pattern.size(), r.values.size())) + 1;
        if (c.fixed16) {
          for (int32_t i = 0; i < n; ++i) ASSERT_EQ(s.value(i), r.value(i)) << "sector " << k << " bin " << i;  // counts: exact
        } else {
          EXPECT_LE(expect_matches_reference([&](int32_t i) { return s.value(i); }, r, n), 1) << "sector " << k;
        }
        EXPECT_EQ(s.last_point, ref[size_t(k)].last + 1) << "sector " << k;
        last = std::max(last, ref[size_t(k)].last);
      }
      EXPECT_EQ(state().nax_pattern.N, last + 1);
      EXPECT_GT(last, 20);
    }
  }
}

}  // namespace
}  // namespace kestrin::test
