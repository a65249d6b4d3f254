// The ring removal on a synthetic ring image's whole 2theta pattern: each listed ring's
// pixels take the fitted base line (every ring, not only the first), other pixels stay,
// overlapping rings take the last.
#include "analysis/ring_removal.h"

#include <gtest/gtest.h>

#include <cmath>

#include "analysis/ring_geometry.h"
#include "analysis_fixture.h"
#include "base/report.h"
#include "ports/log.h"

namespace kestrin::test {
namespace {

class RingRemovalTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    make_image({{6, 0.06, 2000}, {9, 0.06, 1500}, {12, 0.06, 1800}});  // the corners lie at 13 degrees
    set_centre(120.3, 110.6);
    set_parameter(&IntegrationParams::Lo, 70);
    set_parameter(&IntegrationParams::two_theta_begin, 2);
    set_parameter(&IntegrationParams::two_theta_end, 25);
    set_parameter(&IntegrationParams::two_theta_step, 0.02);
    set_parameter(&IntegrationParams::Beta, 0);
    set_parameter(&IntegrationParams::Phi, 0);
    set_region(kRegionSector);
    set_parameter(&IntegrationParams::RectDirection, 0);
    state().options.FitType = 1;
  }
  void make_image(const std::vector<Ring>& list) {
    RingImageSpec spec;
    spec.geometry = {240, 220, 120.3, 110.6, 70, 0.1, 0.1, 0, 0};
    spec.rings = list;
    spec.background = 100;
    codes_ = make_ring_image(spec);
    load_into_current_image(codes_, 240, 220);
  }
  static void rings(const std::vector<std::pair<double, double>>& bounds) {
    RingList& l = state().rings;
    l = RingList();
    for (const auto& [b, e] : bounds) l.ring_begin.push_back(b), l.ring_end.push_back(e), l.ring_correct.push_back(1);
  }
  std::vector<uint16_t> codes_;
};

TEST_F(RingRemovalTest, EveryListedRingTakesItsBaseLineAndNothingElseChanges) {
  rings({{5.7, 6.3}, {11.7, 12.3}});
  whole_image_angle_pattern();
  Report report = log_report();
  const RingRemoval done = remove_rings(report);
  EXPECT_TRUE(done.written);
  EXPECT_EQ(done.peaks_added, 2);
  EXPECT_EQ(done.fits, 2);
  const ImageStore& img = current_image();
  int32_t changed = 0;
  for (int32_t y = 0; y < img.ImageHeight; ++y)
    for (int32_t x = 0; x < img.ImageWidth; ++x) {
      const double t = calc_pixel_2theta(kPixelTwoTheta, x, y);
      const size_t at = size_t(x + img.ImageWidth * y);
      if ((t >= 5.7 && t <= 6.3) || (t >= 11.7 && t <= 12.3)) {
        // The base line is the background of 100 (in image units: cos^3 and the tenth undone).
        EXPECT_NEAR(img.image_codes[at], 100, 1) << x << "," << y;
        changed += img.image_codes[at] != codes_[at];
      } else {
        ASSERT_EQ(img.image_codes[at], codes_[at]) << x << "," << y;
      }
    }
  EXPECT_GT(changed, 1000);
  EXPECT_EQ(state().peak_table.count, 2);
}

// Where two listed rings overlap, the later one's base line is written.
TEST_F(RingRemovalTest, OverlappingRingsTakeTheLastOnesLine) {
  make_image({{12, 0.04, 1500}, {12.4, 0.04, 1500}});
  rings({{11.8, 12.25}, {12.15, 12.6}});
  whole_image_angle_pattern();
  Report report = log_report();
  remove_rings(report);
  const ImageStore& img = current_image();
  ASSERT_EQ(state().peak_table.count, 2);
  const FitRecord& last = state().fit_tables.fitted[1];  // the tables hold the last ring's fit
  ASSERT_EQ(last.fitted, 1);
  int32_t checked = 0;
  for (int32_t y = 0; y < img.ImageHeight; ++y)
    for (int32_t x = 0; x < img.ImageWidth; ++x) {
      const double t = calc_pixel_2theta(kPixelTwoTheta, x, y);
      if (!(t >= 12.15 && t <= 12.25)) continue;
      const double c = std::cos(t * std::acos(-1.0) / 180);
      const double v = (last.base + last.base_tilt * t) * c * c * c / 10;
      EXPECT_EQ(img.image_codes[size_t(x + img.ImageWidth * y)], uint16_t(std::nearbyint(v))) << x << "," << y;
      ++checked;
    }
  EXPECT_GT(checked, 100);
}

// A Lorentzian ring at 6 degrees and a Gaussian one at 12, each band fitted with either
// profile. Where the profile suits the ring, the band takes the background (100) within a
// few percent. A Lorentzian fitted to the Gaussian ring puts its base line below 0 under
// the band, and a band of one bin cannot be fitted: such bands stay as they were, and the
// log says why.
TEST_F(RingRemovalTest, BandsTakeTheBackgroundOrStayWithTheReasonLogged) {
  make_image({{6, 0.06, 2000, 1.0}, {12, 0.06, 1800, 0}});
  struct Case {
    int32_t fit_type;
    double begin, end;
    const char* why;  // nullptr: the band is removed
  };
  const Case cases[] = {
      {1, 11.7, 12.3, nullptr},
      {0, 5.7, 6.3, nullptr},
      {0, 5.4, 6.6, nullptr},
      {0, 11.7, 12.3, " remove_rings() : ring  11.7000 -  12.3000 left unchanged: the fitted base line is -"},
      {1, 11.99, 12.01, " remove_rings() : ring  11.9900 -  12.0100 left unchanged: the fit did not converge."},
  };
  for (const Case& c : cases) {
    load_into_current_image(codes_, 240, 220);
    state().options.FitType = c.fit_type;
    state().peak_table.count = 0;
    the_log().clear_history();
    rings({{c.begin, c.end}});
    whole_image_angle_pattern();
    Report report = log_report();
    remove_rings(report);
    const ImageStore& img = current_image();
    double sum = 0;
    int32_t pixels = 0;
    for (int32_t y = 0; y < img.ImageHeight; ++y)
      for (int32_t x = 0; x < img.ImageWidth; ++x) {
        const double t = calc_pixel_2theta(kPixelTwoTheta, x, y);
        if (t >= c.begin && t <= c.end) sum += img.image_codes[size_t(x + img.ImageWidth * y)], ++pixels;
      }
    ASSERT_GT(pixels, 20) << c.begin;
    std::vector<std::string> reasons;
    for (const std::string& line : the_log().history())
      if (line.find("remove_rings()") != std::string::npos) reasons.push_back(line);
    if (!c.why) {
      EXPECT_NEAR(sum / pixels, 100, 5) << c.fit_type << " " << c.begin;
      EXPECT_TRUE(reasons.empty()) << c.begin;
      continue;
    }
    EXPECT_EQ(img.image_codes, codes_) << c.fit_type << " " << c.begin;
    ASSERT_EQ(reasons.size(), 1u) << c.begin;
    EXPECT_EQ(reasons[0].rfind(c.why, 0), 0u) << reasons[0];
  }
}

TEST_F(RingRemovalTest, WithoutAnImageNothingIsWritten) {
  rings({{5.7, 6.3}});
  whole_image_angle_pattern();
  current_image().NoImageFlag = 1;
  Report report;
  EXPECT_FALSE(remove_rings(report).written);
  EXPECT_EQ(current_image().image_codes, codes_);
  EXPECT_TRUE(report.lines().empty());
}

}  // namespace
}  // namespace kestrin::test
