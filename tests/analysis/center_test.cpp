// Finding the beam centre: the maximum search window, the logged rows, the centroid.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis/center.h"
#include "base/convert.h"
#include "base/report.h"
#include "image/image_store.h"
#include "peak_fixture.h"

namespace kestrin::test {
namespace {

using CenterTest = PeakTest;

// An image whose pixel (x, y) holds the code f(x, y).
template <typename F>
void load_image_of(int32_t w, int32_t h, F f) {
  std::vector<uint16_t> codes(size_t(w) * size_t(h));
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) codes[size_t(x) + size_t(w) * size_t(y)] = uint16_t(f(x, y));
  load_into_current_image(codes, w, h);
}

void load_spot(double cx, double cy) {
  load_image_of(80, 70, [&](int32_t x, int32_t y) {
    const double r2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
    return std::lround(5 + 20000 * std::exp(-r2 / (2 * 1.8 * 1.8)));
  });
}

void start_at(double x, double y) {
  IntegrationParams& p = state().integration_params;
  p.X0 = x, p.Y0 = y;
}

TEST_F(CenterTest, AGaussianSpotAtASubPixelPositionIsFoundWithinAFiftiethOfAPixel) {
  struct Case { double x, y, start_x, start_y; };
  const Case cases[] = {{40.3, 33.7, 38, 36}, {36.62, 38.45, 0, 0}, {44.5, 30.25, 40.9, 31.2}};
  for (const auto& c : cases) {
    load_spot(c.x, c.y);
    start_at(c.start_x, c.start_y);
    Report report;
    ASSERT_EQ(find_center(report), 0);
    const IntegrationParams& p = state().integration_params;
    EXPECT_NEAR(p.X0, c.x, 0.05) << c.x;
    EXPECT_NEAR(p.Y0, c.y, 0.05) << c.y;
    EXPECT_EQ(report.lines().back(), " Fitted " + Format("%10.5f", {p.X0}) + "," + Format("%10.5f", {p.Y0}));
  }
  EXPECT_EQ(views.redraws, 0);  // redrawing is the command's
  EXPECT_TRUE(log().empty());
}

TEST_F(CenterTest, TheBannerAndNoImage) {
  Report report;
  EXPECT_FALSE(announce_find_center(report));
  EXPECT_EQ(report.lines(), (std::vector<std::string>{"<<<<<<<<<< FIND CENTER >>>>>>>>>>", "find_center() : Image data does not exist."}));
  Report silent;
  EXPECT_EQ(find_center(silent), 1);
  EXPECT_TRUE(silent.lines().empty());
  load_spot(40, 30);
  Report ready;
  EXPECT_TRUE(announce_find_center(ready));
  EXPECT_EQ(ready.lines(), std::vector<std::string>{"<<<<<<<<<< FIND CENTER >>>>>>>>>>"});
}

TEST_F(CenterTest, EqualMaximaTakeTheFirstInRowMajorOrder) {
  load_image_of(60, 60, [](int32_t x, int32_t y) { return (x == 33 && y == 28) || (x == 27 && y == 30) ? 900 : 10; });
  double X = 30, Y = 30;
  Report report;
  find_local_maximum(X, Y, report);
  const auto& l = report.lines();
  ASSERT_EQ(l.size(), 13u + 2u);
  EXPECT_EQ(l[13], "Maximum (  33,  28) Intensity =  900.00");
  // The centroid takes both bright pixels (the background stays below a tenth).
  EXPECT_EQ(X, 30.0);
  EXPECT_EQ(Y, 29.0);
  EXPECT_EQ(l[14], " Fitted   30.00000,  29.00000");
}

TEST_F(CenterTest, WindowSizeRule) {
  // A flat image: the first pixel of the window is the maximum, which shows its corner.
  load_image_of(101, 81, [](int32_t, int32_t) { return 7; });
  struct Case { double x, y; size_t rows, row_length; const char* maximum; };
  const Case cases[] = {
      {0, 0, 23, 23 * 5, "Maximum (  39,  29) Intensity =    7.00"},      // around (Trunc(101/2.0), Trunc(81/2.0))
      {60.7, 0, 23, 13 * 5, "Maximum (  54,  29) Intensity =    7.00"},   // x given: 13 wide
      {60.7, 44.2, 13, 13 * 5, "Maximum (  54,  38) Intensity =    7.00"},
  };
  for (const auto& c : cases) {
    double X = c.x, Y = c.y;
    Report report;
    find_local_maximum(X, Y, report);
    const auto& l = report.lines();
    ASSERT_EQ(l.size(), c.rows + 2);
    for (size_t r = 0; r < c.rows; ++r) EXPECT_EQ(l[r].size(), c.row_length);
    EXPECT_EQ(l[c.rows], c.maximum);
  }
}

TEST_F(CenterTest, LoggedRowsHoldOnlyPixelsInsideTheImageAndUnmasked) {
  load_image_of(30, 20, [](int32_t x, int32_t y) { return 100 * y + x; });
  state().image_mask.resize(30, 20);
  state().image_mask.bytes[3] = 1;  // pixel (3, 0)
  state().image_mask.bytes[4] = 2;  // only a byte of 1 excludes
  state().OmitGreen = true;
  double X = 2, Y = 1;
  Report report;
  find_local_maximum(X, Y, report);
  const auto& l = report.lines();
  ASSERT_EQ(l.size(), 15u);
  for (int r = 0; r < 5; ++r) EXPECT_EQ(l[size_t(r)], "") << r;  // rows -5..-1
  EXPECT_EQ(l[5], "    0    1    2    4    5    6    7    8");
  EXPECT_EQ(l[6], "  100  101  102  103  104  105  106  107  108");
  EXPECT_EQ(l[13], "Maximum (   8,   7) Intensity =  708.00");
}

TEST_F(CenterTest, HugeIntensitiesAreLoggedWhole) {
  load_image_of(20, 20, [](int32_t x, int32_t y) { return x == 10 && y == 10 ? 2 : 1; });
  current_image().intensity_table[2] = 5.0e12;
  double X = 10, Y = 10;
  Report report;
  find_local_maximum(X, Y, report);
  EXPECT_NE(report.lines()[6].find("5000000000000"), std::string::npos);
  EXPECT_EQ(X, 10.0);
}

TEST_F(CenterTest, VerticalReverseCountsShownRowsFromTheBottom) {
  load_spot(40.3, 20.6);
  state().options.VerticalReverse = 1;
  start_at(40, 20);  // shown as row 69 - 20 = 49
  Report report;
  ASSERT_EQ(find_center(report), 0);
  const IntegrationParams& p = state().integration_params;
  EXPECT_NEAR(p.Y0, 20.6, 0.05);
  EXPECT_EQ(shown_y(p.Y0), 70 - p.Y0 - 1.0);
  const auto& l = report.lines();
  ASSERT_EQ(l.size(), 15u);
  EXPECT_EQ(l[13].substr(0, 20), "Maximum (  40,  48) ");  // row 21 from the top
  EXPECT_EQ(l[14], " Fitted " + Format("%10.5f", {p.X0}) + "," + Format("%10.5f", {70 - p.Y0 - 1.0}));
}

TEST_F(CenterTest, AWindowWhollyOutsideTheImageLeavesTheMaximumAtTheOrigin) {
  load_image_of(20, 20, [](int32_t, int32_t) { return 3; });
  double X = 500, Y = 1e30;
  Report report;
  find_local_maximum(X, Y, report);
  EXPECT_EQ(report.lines()[13], "Maximum (   0,   0) Intensity =    0.00");
  // The centroid is then taken around (0, 0) with threshold 0.
  EXPECT_DOUBLE_EQ(X, 4.5);
  EXPECT_DOUBLE_EQ(Y, 4.5);
}

// A start outside the image, or a window without a direct beam (its maximum not above twice
// the window's median), leaves the centre as it was and says why; a spot is found exactly
// as find_local_maximum finds it.
TEST_F(CenterTest, AStartOutsideTheImageOrNoSpotKeepsTheCentre) {
  struct Case {
    const char* name;
    bool spot;
    double start_x, start_y;
    const char* why;  // nullptr: the spot is found
  };
  const Case cases[] = {
      {"a spot", true, 38, 36, nullptr},
      {"a spot, the middle from (0, 0)", true, 0, 0, nullptr},
      {"below the image", true, 906, 1989, "the start ( 906.00000,1989.00000) lies outside the image"},
      {"left of the image", true, -3, 30, "the start (  -3.00000,  30.00000) lies outside the image"},
      {"no beam, from (0, 0)", false, 0, 0, "the maximum is not clearly above the background (median "},
      {"no beam, from a start", false, 30, 40, "the maximum is not clearly above the background (median "},
  };
  RingImageSpec rings;  // one ring of radius 25 pixels round (40, 35), no direct beam
  rings.geometry.width = 80, rings.geometry.height = 70, rings.geometry.X0 = 40, rings.geometry.Y0 = 35;
  rings.rings = {{std::atan(2.5 / 100) * 180 / 3.141592653589793, 0.05, 3000}};
  rings.background = 100, rings.poisson = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    if (c.spot) load_spot(36.62, 38.45);
    else load_into_current_image(make_ring_image(rings), 80, 70);
    start_at(c.start_x, c.start_y);
    const IntegrationParams& p = state().integration_params;
    Report report;
    if (!c.why) {
      double X = c.start_x, Y = c.start_y;
      Report search;
      find_local_maximum(X, Y, search);
      EXPECT_EQ(find_center(report), 0);
      EXPECT_EQ(p.X0, X);
      EXPECT_EQ(p.Y0, Y);
      EXPECT_EQ(report.lines(), search.lines());
      continue;
    }
    EXPECT_EQ(find_center(report), 2);
    EXPECT_EQ(p.X0, c.start_x);
    EXPECT_EQ(p.Y0, c.start_y);
    const std::string& last = report.lines().back();
    EXPECT_EQ(last.rfind("find_center() : " + std::string(c.why), 0), 0u) << last;
    const std::string kept = ", the centre stays where it was.";
    EXPECT_EQ(last.substr(last.size() - kept.size()), kept);
  }
}

}  // namespace
}  // namespace kestrin::test
