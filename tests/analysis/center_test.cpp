// Finding the beam centre: the maximum search window, the logged rows, the centroid.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis/center.h"
#include "base/convert.h"
#include "image/image_store.h"
#include "model/parameters.h"
#include "peak_fixture.h"
#include "ports/names/main_form_names.h"

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

TEST_F(CenterTest, AGaussianSpotAtASubPixelPositionIsFoundWithinAFiftiethOfAPixel) {
  struct Case { double x, y; const char* start_x; const char* start_y; };
  const Case cases[] = {{40.3, 33.7, "38", "36"}, {36.62, 38.45, "0", "0"}, {44.5, 30.25, "40.9", "31.2"}};
  for (const auto& c : cases) {
    load_spot(c.x, c.y);
    edit(frmMain::edtCenterX0, c.start_x);
    edit(frmMain::edtCenterY0, c.start_y);
    ASSERT_EQ(find_center(), 0);
    const IntegrationParams& p = state().integration_params;
    EXPECT_NEAR(p.X0, c.x, 0.05) << c.x;
    EXPECT_NEAR(p.Y0, c.y, 0.05) << c.y;
    EXPECT_EQ(controls().text(frmMain::edtCenterX0), Format("%10.5f", {p.X0}));
    EXPECT_EQ(controls().text(frmMain::edtCenterY0), Format("%10.5f", {p.Y0}));
  }
  EXPECT_EQ(views.redraws, 3);
}

TEST_F(CenterTest, NoImageAndTheMacroLine) {
  state().macro.MacroRecording = true;
  EXPECT_EQ(find_center(), 1);
  EXPECT_EQ(log(), (std::vector<std::string>{"<<<<<<<<<< FIND CENTER >>>>>>>>>>", "find_center() : Image data does not exist."}));
  EXPECT_EQ(state().macro.MacroList, (std::vector<std::string>{"Kestrin.FindCenter();"}));
}

TEST_F(CenterTest, EqualMaximaTakeTheFirstInRowMajorOrder) {
  load_image_of(60, 60, [](int32_t x, int32_t y) { return (x == 33 && y == 28) || (x == 27 && y == 30) ? 900 : 10; });
  double X = 30, Y = 30;
  find_local_maximum(X, Y);
  const auto& l = log();
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
    the_log().clear_history();
    double X = c.x, Y = c.y;
    find_local_maximum(X, Y);
    ASSERT_EQ(log().size(), c.rows + 2);
    for (size_t r = 0; r < c.rows; ++r) EXPECT_EQ(log()[r].size(), c.row_length);
    EXPECT_EQ(log()[c.rows], c.maximum);
  }
}

TEST_F(CenterTest, LoggedRowsHoldOnlyPixelsInsideTheImageAndUnmasked) {
  load_image_of(30, 20, [](int32_t x, int32_t y) { return 100 * y + x; });
  state().image_mask.resize(30, 20);
  state().image_mask.bytes[3] = 1;  // pixel (3, 0)
  state().image_mask.bytes[4] = 2;  // only a byte of 1 excludes
  state().OmitGreen = true;
  double X = 2, Y = 1;
  find_local_maximum(X, Y);
  const auto& l = log();
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
  find_local_maximum(X, Y);
  EXPECT_NE(log()[6].find("5000000000000"), std::string::npos);
  EXPECT_EQ(X, 10.0);
}

TEST_F(CenterTest, VerticalReverseCountsShownRowsFromTheBottom) {
  load_spot(40.3, 20.6);
  state().options.VerticalReverse = 1;
  edit(frmMain::edtCenterX0, "40");
  edit(frmMain::edtCenterY0, "49");  // row 69 - 49 = 20 from the top
  ASSERT_EQ(find_center(), 0);
  const IntegrationParams& p = state().integration_params;
  EXPECT_NEAR(p.Y0, 20.6, 0.05);
  EXPECT_EQ(controls().text(frmMain::edtCenterY0), Format("%10.5f", {70 - p.Y0 - 1.0}));
  const double found = p.Y0;
  read_parameters(current_image().ImageHeight);  // the edit read back gives the same row
  EXPECT_NEAR(p.Y0, found, 1e-5);
  ASSERT_EQ(log().size(), 16u);
  EXPECT_EQ(log()[14].substr(0, 20), "Maximum (  40,  48) ");  // row 21 from the top
  EXPECT_EQ(log()[15], " Fitted " + Format("%10.5f", {p.X0}) + "," + Format("%10.5f", {70 - p.Y0 - 1.0}));
}

TEST_F(CenterTest, AWindowWhollyOutsideTheImageLeavesTheMaximumAtTheOrigin) {
  load_image_of(20, 20, [](int32_t, int32_t) { return 3; });
  double X = 500, Y = 1e30;
  find_local_maximum(X, Y);
  EXPECT_EQ(log()[13], "Maximum (   0,   0) Intensity =    0.00");
  // The centroid is then taken around (0, 0) with threshold 0.
  EXPECT_DOUBLE_EQ(X, 4.5);
  EXPECT_DOUBLE_EQ(Y, 4.5);
}

// A start outside the image, or a window without a direct beam (its maximum not above twice
// the window's median), leaves the centre and the edits as they were and says why; a spot
// is found exactly as find_local_maximum finds it.
TEST_F(CenterTest, AStartOutsideTheImageOrNoSpotKeepsTheCentre) {
  struct Case {
    const char* name;
    bool spot;
    const char *start_x, *start_y;
    const char* why;  // nullptr: the spot is found
  };
  const Case cases[] = {
      {"a spot", true, "38", "36", nullptr},
      {"a spot, the middle from (0, 0)", true, "0", "0", nullptr},
      {"below the image", true, "906", "1989", "the start ( 906.00000,1989.00000) lies outside the image"},
      {"left of the image", true, "-3", "30", "the start (  -3.00000,  30.00000) lies outside the image"},
      {"no beam, from (0, 0)", false, "0", "0", "the maximum is not clearly above the background (median "},
      {"no beam, from a start", false, "30", "40", "the maximum is not clearly above the background (median "},
  };
  RingImageSpec rings;  // one ring of radius 25 pixels round (40, 35), no direct beam
  rings.geometry.width = 80, rings.geometry.height = 70, rings.geometry.X0 = 40, rings.geometry.Y0 = 35;
  rings.rings = {{std::atan(2.5 / 100) * 180 / 3.141592653589793, 0.05, 3000}};
  rings.background = 100, rings.poisson = true;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    views.redraws = 0;
    if (c.spot) load_spot(36.62, 38.45);
    else load_into_current_image(make_ring_image(rings), 80, 70);
    edit(frmMain::edtCenterX0, c.start_x);
    edit(frmMain::edtCenterY0, c.start_y);
    read_parameters(current_image().ImageHeight);
    const IntegrationParams& p = state().integration_params;
    const double start_x = p.X0, start_y = p.Y0;
    if (!c.why) {
      double X = start_x, Y = start_y;
      find_local_maximum(X, Y);
      the_log().clear_history();
      EXPECT_EQ(find_center(), 0);
      EXPECT_EQ(p.X0, X);
      EXPECT_EQ(p.Y0, Y);
      EXPECT_EQ(controls().text(frmMain::edtCenterX0), Format("%10.5f", {X}));
      EXPECT_EQ(log().back().substr(0, 8), " Fitted ");
      continue;
    }
    EXPECT_EQ(find_center(), 2);
    EXPECT_EQ(p.X0, start_x);
    EXPECT_EQ(p.Y0, start_y);
    EXPECT_EQ(controls().text(frmMain::edtCenterX0), c.start_x);
    EXPECT_EQ(controls().text(frmMain::edtCenterY0), c.start_y);
    EXPECT_EQ(log().back().rfind("find_center() : " + std::string(c.why), 0), 0u) << log().back();
    const std::string kept = ", the centre stays where it was.";
    EXPECT_EQ(log().back().substr(log().back().size() - kept.size()), kept);
    EXPECT_EQ(views.redraws, 0);
  }
}

}  // namespace
}  // namespace kestrin::test
