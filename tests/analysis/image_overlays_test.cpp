// The overlays over the part view, recorded on a canvas: the region outline of each mode,
// the centre mark, the spot marks, the selected area, the restored pen and nothing without an image.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>

#include "analysis/image_overlays.h"
#include "analysis_fixture.h"
#include "image/display/display.h"

namespace kestrin::test {
namespace {

using Calls = std::vector<std::string>;

class ImageOverlaysTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    load_flat_image(400, 300, 1);
    IntegrationParams& p = params();
    p.X0 = 100, p.Y0 = 50, p.band_width = 20;
    p.IntegrationMode = 0, p.RectAngleMode = 0, p.RectDirection = 6;
    state().selected_area.shown = false;
    zoom(1.0, 0, 0);
  }
  static IntegrationParams& params() { return state().integration_params; }
  static void zoom(double z, int32_t sx, int32_t sy) {
    ImageView& v = state().image_view;
    set_image_zoom(v, z, 400, 300);
    v.ScrollX = sx, v.ScrollY = sy;
  }
  // The calls of one drawing whose pen is `pen` ("$808000/1").
  static Calls draw(const std::string& pen) {
    kgui::RecordingCanvas canvas;
    draw_image_overlays(canvas);
    Calls out;
    for (const std::string& c : canvas.calls())
      if (c.size() > pen.size() && c.compare(c.size() - pen.size(), pen.size(), pen) == 0) out.push_back(c);
    return out;
  }
  static Calls outline() { return draw("pen=$808000/1"); }
  static std::string line(int x1, int y1, int x2, int y2, const char* pen = "$808000/1") {
    char buf[128];
    std::snprintf(buf, sizeof buf, "LineTo %d,%d %d,%d pen=%s", x1, y1, x2, y2, pen);
    return buf;
  }
  static Calls closed(std::initializer_list<std::pair<int, int>> corners) {
    const std::vector<std::pair<int, int>> p(corners);
    Calls out;
    for (size_t i = 0; i < p.size(); ++i)
      out.push_back(line(p[i].first, p[i].second, p[(i + 1) % p.size()].first, p[(i + 1) % p.size()].second));
    return out;
  }
};

TEST_F(ImageOverlaysTest, OneRegionOutlinePerMode) {
  const struct {
    const char* name;
    int32_t mode, angle_mode, direction;
    Calls want;
  } cases[] = {
      // Sector rays of length W + H = 700, for both sector modes.
      {"sector", 1, 0, 6, {line(100, 50, 800, 50), line(100, 50, 100, 750)}},
      {"sectored division", 2, 1, 2, {line(100, 50, 800, 50), line(100, 50, 100, 750)}},
      // The band by angle 0: half a band either side of the centre, 6000 pixels long.
      {"angle", 0, 1, 6, closed({{100, 40}, {6100, 40}, {6100, 60}, {100, 60}})},
      {"VERTICAL", 0, 0, 2, closed({{90, 0}, {90, 299}, {110, 299}, {110, 0}})},
      {"HORIZONTAL", 0, 0, 5, closed({{0, 40}, {399, 40}, {399, 60}, {0, 60}})},
      {"FULL", 0, 0, 6, closed({{0, 0}, {0, 299}, {399, 299}, {399, 0}})},
      {"RIGHT", 0, 0, 4, closed({{100, 40}, {800, 40}, {800, 60}, {100, 60}})},
      {"junk direction", 0, 0, 11, {}},
  };
  for (const auto& c : cases) {
    IntegrationParams& p = params();
    p.IntegrationMode = c.mode, p.RectAngleMode = c.angle_mode, p.RectDirection = c.direction;
    p.sector_start = 0, p.sector_end = 90, p.rect_angle = 0;
    EXPECT_EQ(outline(), c.want) << c.name;
  }
}

// The bands of the eight directions point along their angles (image y down).
TEST_F(ImageOverlaysTest, DirectionBandsPointAlongTheirAngles) {
  const std::pair<int32_t, double> directions[] = {{0, 270}, {1, 90}, {3, 180}, {4, 0}, {7, 315}, {8, 45}, {9, 225}, {10, 135}};
  params().X0 = 200, params().Y0 = 150;
  for (auto [direction, angle] : directions) {
    params().RectDirection = direction;
    const Calls calls = outline();
    ASSERT_EQ(calls.size(), 4u) << direction;
    int x1, y1, x2, y2;
    ASSERT_EQ(std::sscanf(calls[1].c_str(), "LineTo %d,%d %d,%d", &x1, &y1, &x2, &y2), 4);  // the far edge
    double a = std::atan2((y1 + y2) / 2.0 - 150, (x1 + x2) / 2.0 - 200) * 180 / 3.14159265358979323846;
    if (a < 0) a += 360;
    EXPECT_NEAR(a, angle, 0.2) << direction;
  }
}

// At zoom 2 the band's half width, its length and the rays are twice as many screen
// pixels, so the outline stays on the integrated region; the rectangles convert corner by
// corner.
TEST_F(ImageOverlaysTest, OffsetsFollowTheZoom) {
  zoom(2.0, 50, 0);  // the centre (100, 50) is at screen (100, 100)
  params().RectAngleMode = 1;
  EXPECT_EQ(outline(), closed({{100, 80}, {12100, 80}, {12100, 120}, {100, 120}}));
  params().RectAngleMode = 0, params().RectDirection = 2;
  EXPECT_EQ(outline(), closed({{80, 0}, {80, 598}, {120, 598}, {120, 0}}));
  params().IntegrationMode = 1, params().sector_start = 180, params().sector_end = 225;
  EXPECT_EQ(outline(), (Calls{line(100, 100, -1300, 100), line(100, 100, -889, -889)}));
}

TEST_F(ImageOverlaysTest, CentreCrossAndDot) {
  EXPECT_EQ(draw("pen=$FF00FF/2"), (Calls{line(100, 50, 105, 55, "$FF00FF/2"), line(100, 50, 105, 45, "$FF00FF/2"),
                                          line(100, 50, 95, 45, "$FF00FF/2"), line(100, 50, 95, 55, "$FF00FF/2")}));
  state().options.CenterMarker = 1;
  const Calls dot = {line(3, 3, 6, 3, "$FF00FF/2"), line(3, 3, 3, 6, "$FF00FF/2"), line(3, 3, 0, 3, "$FF00FF/2"),
                     line(3, 3, 3, 0, "$FF00FF/2")};
  params().X0 = 1, params().Y0 = 0;  // at the view's corner: kept 3 pixels inside
  EXPECT_EQ(draw("pen=$FF00FF/2"), dot);
  // A small image zoomed in: the dot stays at the centre, inside the view.
  load_flat_image(10, 10, 1);
  set_image_zoom(state().image_view, 8.0, 10, 10);
  params().X0 = 9, params().Y0 = 9;
  EXPECT_EQ(draw("pen=$FF00FF/2").front(), line(72, 72, 75, 72, "$FF00FF/2"));
}

TEST_F(ImageOverlaysTest, SelectedAreaWhileShown) {
  SelectedArea& a = state().selected_area;
  a.AreaX0 = 10, a.AreaY0 = 20, a.AreaX1 = 30, a.AreaY1 = 40;
  EXPECT_TRUE(draw("pen=$C0DCC0/5").empty());
  a.shown = true;
  zoom(2.0, 0, 0);
  EXPECT_EQ(draw("pen=$C0DCC0/5"), (Calls{line(20, 40, 60, 40, "$C0DCC0/5"), line(60, 40, 60, 80, "$C0DCC0/5"),
                                          line(60, 80, 20, 80, "$C0DCC0/5"), line(20, 80, 20, 40, "$C0DCC0/5")}));
}

// Spot marks with their numbers below, or above where a spot drawn before is near; a spot
// off the view keeps the reset screen position; the focused spot in its own colour; the
// analysis labels with the underline row beneath the value row; the font restored.
TEST_F(ImageOverlaysTest, SpotMarksAndLabels) {
  SpotList& l = state().spot_list;
  const std::vector<std::array<double, 5>> spots = {  // x, y, h, k, l
      {50, 60, 1, 1, 1}, {52, 61, 0, 0, 0}, {1000, 10, 0, 0, 0}, {200, 100, -1, 2, -0.5}};
  for (const auto& [x, y, h, k, m] : spots) {
    l.SpotX.push_back(x), l.SpotY.push_back(y), l.SpotIntensity.push_back(1);
    SpotRecord r;
    r.x = x, r.y = y, r.h = h, r.k = k, r.l = m;
    l.SpotRecords.push_back(r);
  }
  l.SpotCount = 4;
  l.FocusedSpot = 3;
  auto marks = [] {
    kgui::RecordingCanvas canvas;
    draw_image_overlays(canvas);
    EXPECT_EQ(canvas.font().name(), "MS Sans Serif");
    EXPECT_EQ(canvas.font().size(), 8);
    EXPECT_EQ(canvas.brush().style, kgui::bsSolid);
    Calls out;
    for (const std::string& c : canvas.calls())
      if (c.rfind("Ellipse", 0) == 0 || c.rfind("TextOut", 0) == 0) out.push_back(c);
    return out;
  };
  const std::string spot = " font=MS ゴシック/9/$FF00FF brush=clear", focused = " font=MS ゴシック/9/$0000FF brush=clear";
  EXPECT_EQ(marks(), (Calls{"Ellipse 48,58 52,62 pen=$FF00FF/1 brush=clear", "TextOut 47,63 '1'" + spot,
                            "Ellipse 50,59 54,63 pen=$FF00FF/1 brush=clear", "TextOut 49,46 '2'" + spot,
                            "Ellipse 198,98 202,102 pen=$0000FF/1 brush=clear", "TextOut 197,103 '4'" + focused}));
  EXPECT_EQ(l.SpotRecords[1].label_x, 52);
  EXPECT_EQ(l.SpotRecords[1].label_y, 61);
  EXPECT_EQ(l.SpotRecords[2].label_x, -99999);
  EXPECT_EQ(l.SpotRecords[2].label_y, -99999);

  l.AnalysisLabels = true;
  const Calls analysed = marks();
  ASSERT_EQ(analysed.size(), 12u);
  EXPECT_EQ(analysed[5], "TextOut 49,22 '2'" + spot);  // three rows of 12 above: 61 - 36 - 3
  EXPECT_EQ(analysed[6], "TextOut 4,34 '( 0.0, 0.0, 0.0)'" + spot);
  EXPECT_EQ(analysed[9], "TextOut 197,103 '4'" + focused);
  EXPECT_EQ(analysed[10], "TextOut 152,115 '( 1.0, 2.0, 0.5)'" + focused);
  EXPECT_EQ(analysed[11], "TextOut 152,127 '  ___       ___'" + focused);
}

TEST_F(ImageOverlaysTest, NothingWithoutAnImageAndThePenIsRestored) {
  kgui::RecordingCanvas canvas;
  canvas.pen().color = 0x123456;
  canvas.pen().width = 3;
  canvas.brush().style = kgui::bsSolid;
  state().selected_area.shown = true;
  draw_image_overlays(canvas);
  EXPECT_FALSE(canvas.calls().empty());
  EXPECT_EQ(canvas.pen().color, 0x123456u);
  EXPECT_EQ(canvas.pen().width, 3);
  EXPECT_EQ(canvas.brush().style, kgui::bsSolid);
  current_image().NoImageFlag = 1;
  canvas.clearCalls();
  draw_image_overlays(canvas);
  EXPECT_TRUE(canvas.calls().empty());
}

}  // namespace
}  // namespace kestrin::test
