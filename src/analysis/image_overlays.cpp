// The image overlays: region outline, centre mark, spot marks and the selected area.
#include "analysis/image_overlays.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "analysis/geometry.h"
#include "analysis/spot_list.h"
#include "base/convert.h"
#include "image/display/display.h"
#include "image/image_store.h"
#include "model/state.h"

namespace kestrin {

namespace {

enum Direction : int32_t { kTop, kBottom, kVertical, kLeft, kRight, kHorizontal, kFull, kRU, kRL, kLU, kLL };
enum Colour : size_t { kMaskColour, kAreaColour, kCentreColour, kSpotColour, kFocusedSpotColour, kAreaSelectColour };

// The direction angles of the rectangle's directions (image y grows downwards); -1 for the
// three drawn as rectangles.
constexpr std::array<double, 11> kDirectionAngle = {270, 90, -1, 180, 0, -1, -1, 315, 45, 225, 135};

constexpr int kCentreWidth = 2, kSelectionWidth = 5;
constexpr double kAngleBandLength = 6000.0;
constexpr int kSpotRadius = 2, kLabelGap = 3, kSpotFontSize = 9;
constexpr const char* kSpotFont = "MS ゴシック";
constexpr int32_t kNotDrawn = -99999;

TColor colour(Colour c) { return state().colours.colour[c]; }

struct ScreenPoint {
  double x = 0, y = 0;
  int ix() const { return saturate_int32(std::trunc(x)); }
  int iy() const { return saturate_int32(std::trunc(y)); }
};

// The view transform, and the screen pixels per image pixel along each axis.
struct Transform {
  const ImageView& v;
  double sx() const { return double(v.ViewWidth) / v.ViewCols; }
  double sy() const { return double(v.ViewHeight) / v.ViewRows; }
  ScreenPoint operator()(double x, double y) const {
    return {std::trunc(image_to_screen_x(v, x)), std::trunc(image_to_screen_y(v, y))};
  }
};

void area_line(ScreenPoint a, ScreenPoint b, kgui::Canvas& canvas) { draw_area_line(a.ix(), a.iy(), b.ix(), b.iy(), canvas); }

void closed_outline(const std::array<ScreenPoint, 4>& p, kgui::Canvas& canvas) {
  for (size_t i = 0; i < 4; ++i) area_line(p[i], p[(i + 1) % 4], canvas);
}

// The band from the centre outwards along angle a: half a band on each side, `length`
// image pixels long.
void band_outline(const Transform& t, ScreenPoint c, double a, double half_band, double length, kgui::Canvas& canvas) {
  const double ca = std::cos(a * kDegToRad), sa = std::sin(a * kDegToRad);
  const ScreenPoint side{half_band * sa * t.sx(), -half_band * ca * t.sy()};
  const ScreenPoint along{length * ca * t.sx(), length * sa * t.sy()};
  const ScreenPoint plus{c.x + side.x, c.y + side.y}, minus{c.x - side.x, c.y - side.y};
  closed_outline({plus, ScreenPoint{plus.x + along.x, plus.y + along.y}, ScreenPoint{minus.x + along.x, minus.y + along.y}, minus},
                 canvas);
}

void ray(const Transform& t, ScreenPoint c, double a, double length, kgui::Canvas& canvas) {
  const ScreenPoint end{c.x + length * std::cos(a * kDegToRad) * t.sx(), c.y + length * std::sin(a * kDegToRad) * t.sy()};
  area_line(c, end, canvas);
}

// Exactly one outline, chosen in order: the sector's two rays, the band by angle, the
// rectangles of VERTICAL, HORIZONTAL and FULL, the band of a direction.
void draw_region(const Transform& t, ScreenPoint c, int32_t W, int32_t H, kgui::Canvas& canvas) {
  const IntegrationParams& p = state().integration_params;
  const double length = double(W) + H, half = p.band_width / 2.0;
  if (p.IntegrationMode == 1 || p.IntegrationMode == 2) {
    ray(t, c, p.sector_start, length, canvas);
    ray(t, c, p.sector_end, length, canvas);
    return;
  }
  if (p.RectAngleMode == 1) return band_outline(t, c, p.rect_angle, half, kAngleBandLength, canvas);
  switch (p.RectDirection) {
    case kVertical:
      return closed_outline({t(p.X0 - half, 0), t(p.X0 - half, H - 1), t(p.X0 + half, H - 1), t(p.X0 + half, 0)}, canvas);
    case kHorizontal:
      return closed_outline({t(0, p.Y0 - half), t(W - 1, p.Y0 - half), t(W - 1, p.Y0 + half), t(0, p.Y0 + half)}, canvas);
    case kFull: return closed_outline({t(0, 0), t(0, H - 1), t(W - 1, H - 1), t(W - 1, 0)}, canvas);
    default:
      if (p.RectDirection >= 0 && p.RectDirection < int32_t(kDirectionAngle.size()))
        band_outline(t, c, kDirectionAngle[size_t(p.RectDirection)], half, length, canvas);
  }
}

// A diagonal cross with arms of 5 pixels, or a small thick plus (the dot) kept inside the
// view.
void draw_centre(ScreenPoint c, kgui::Canvas& canvas) {
  const ImageView& v = state().image_view;
  int cx = c.ix(), cy = c.iy();
  std::array<std::array<int, 2>, 4> arms;
  if (state().options.CenterMarker == 1) {
    cx = std::min(std::max(cx, 3), v.ViewWidth - 3);
    cy = std::min(std::max(cy, 3), v.ViewHeight - 3);
    arms = {{{3, 0}, {0, 3}, {-3, 0}, {0, -3}}};
  } else {
    arms = {{{5, 5}, {5, -5}, {-5, -5}, {-5, 5}}};
  }
  for (const auto& a : arms) draw_thick_line(cx, cy, cx + a[0], cy + a[1], kCentreWidth, colour(kCentreColour), canvas);
}

// The lines written beside a spot: its number, and in the analysis-label mode the absolute
// h, k and l with a line beneath whose underscores fall under the negative ones.
std::vector<std::string> spot_label(size_t i, const SpotRecord& r, bool analysis) {
  std::vector<std::string> lines{Format("%d", {int64_t(i + 1)})};
  if (!analysis) return lines;
  lines.push_back("(" + Format("%4.1f", {std::fabs(r.h)}) + "," + Format("%4.1f", {std::fabs(r.k)}) + "," +
                  Format("%4.1f", {std::fabs(r.l)}) + ")");
  std::string marks;
  for (const double v : {r.h, r.k, r.l}) marks += v < 0 ? "  ___" : "     ";
  lines.push_back(marks);
  return lines;
}

// The label's lines, stacked and centred on the mark 3 pixels below it, or above it when
// another spot drawn before has its mark within the number's width and height. The mark
// line starts where the value line starts, so that its underscores meet their values.
void draw_spot_label(int x, int y, const std::vector<std::string>& lines, kgui::Canvas& canvas) {
  const kgui::TSize number = canvas.textExtent(lines[0]);
  const int h = number.cy, count = int(lines.size());
  const bool taken = spot_exists_near(x, y, number.cx, number.cy) == 1;
  const int top = taken ? y - count * h - kLabelGap : y + kLabelGap;
  int left = 0;
  for (int j = 0; j < count; ++j) {
    if (j < 2) left = x - canvas.textExtent(lines[size_t(j)]).cx / 2;
    canvas.textOut(left, top + j * h, lines[size_t(j)]);
  }
}

// A small circle and the label of every spot whose screen point lies in the view. Every
// record's screen position is reset first and set to its mark's when drawn: the spot
// window's clicks and the label placement read them.
void draw_spots(const Transform& t, kgui::Canvas& canvas) {
  SpotList& list = state().spot_list;
  for (SpotRecord& r : list.SpotRecords) r.label_x = r.label_y = kNotDrawn;
  const size_t n = std::min({size_t(std::max(list.SpotCount, 0)), list.SpotX.size(), list.SpotY.size(), list.SpotRecords.size()});
  if (n == 0) return;
  kgui::TFont font;
  font.assign(canvas.font());
  const kgui::TBrushStyle brush = canvas.brush().style;
  canvas.font().setName(kSpotFont);
  canvas.font().setSize(kSpotFontSize);
  canvas.brush().style = kgui::bsClear;
  for (size_t i = 0; i < n; ++i) {
    const ScreenPoint p = t(list.SpotX[i], list.SpotY[i]);
    const int x = p.ix(), y = p.iy();
    if (x < 0 || x > t.v.ViewWidth || y < 0 || y > t.v.ViewHeight) continue;
    const TColor c = colour(int32_t(i) == list.FocusedSpot ? kFocusedSpotColour : kSpotColour);
    draw_circle(x - kSpotRadius, y - kSpotRadius, x + kSpotRadius, y + kSpotRadius, 1, c, canvas);
    canvas.font().setColor(c);
    draw_spot_label(x, y, spot_label(i, list.SpotRecords[i], list.AnalysisLabels), canvas);
    list.SpotRecords[i].label_x = x;
    list.SpotRecords[i].label_y = y;
  }
  canvas.font().assign(font);
  canvas.brush().style = brush;
}

void draw_selection(const Transform& t, kgui::Canvas& canvas) {
  const SelectedArea& a = state().selected_area;
  if (!a.shown) return;
  const std::array<ScreenPoint, 4> p = {t(a.AreaX0, a.AreaY0), t(a.AreaX1, a.AreaY0), t(a.AreaX1, a.AreaY1), t(a.AreaX0, a.AreaY1)};
  for (size_t i = 0; i < 4; ++i)
    draw_thick_line(p[i].ix(), p[i].iy(), p[(i + 1) % 4].ix(), p[(i + 1) % 4].iy(), kSelectionWidth, colour(kAreaSelectColour),
                    canvas);
}

}  // namespace

void draw_area_line(int x1, int y1, int x2, int y2, kgui::Canvas& canvas) {
  const TColor before = canvas.pen().color;
  canvas.pen().color = colour(kAreaColour);
  canvas.moveTo(x1, y1);
  canvas.lineTo(x2, y2);
  canvas.pen().color = before;
}

void draw_thick_line(int x1, int y1, int x2, int y2, int width, TColor c, kgui::Canvas& canvas) {
  const kgui::TPen before = canvas.pen();
  canvas.pen().width = width;
  canvas.pen().color = c;
  canvas.moveTo(x1, y1);
  canvas.lineTo(x2, y2);
  canvas.pen() = before;
}

void draw_circle(int x1, int y1, int x2, int y2, int width, TColor c, kgui::Canvas& canvas) {
  const kgui::TPen pen = canvas.pen();
  const kgui::TBrushStyle brush = canvas.brush().style;
  canvas.pen().width = width;
  canvas.pen().color = c;
  canvas.brush().style = kgui::bsClear;
  canvas.ellipse(x1, y1, x2, y2);
  canvas.pen() = pen;
  canvas.brush().style = brush;
}

void draw_image_overlays(kgui::Canvas& canvas) {
  const ImageStore& img = current_image();
  const ImageView& v = state().image_view;
  if (img.NoImageFlag == 1 || v.ViewCols <= 0 || v.ViewRows <= 0) return;
  const Transform t{v};
  const IntegrationParams& p = state().integration_params;
  const ScreenPoint centre = t(p.X0, p.Y0);
  draw_region(t, centre, img.ImageWidth, img.ImageHeight, canvas);
  draw_centre(centre, canvas);
  draw_spots(t, canvas);
  draw_selection(t, canvas);
}

}  // namespace kestrin
