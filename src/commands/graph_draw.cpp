// The pattern graph on a canvas.
#include "commands/graph_draw.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <optional>
#include <span>

#include "analysis/peak_models.h"
#include "analysis/peak_table.h"
#include "base/convert.h"
#include "commands/nax_graph_commands.h"
#include "commands/parameter_controls.h"
#include "image/image_store.h"
#include "model/parameter_table.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "ports/names/nax_graph_names.h"
#include "ports/ports.h"

namespace kestrin {

using kgui::Canvas;

namespace {

constexpr TColor kFitColour = rgb_to_color(255, 0, 0);
// An axis with more steps than this and less than a picture pixel between them is drawn one
// tick (and one label) per picture column: the same ticks, without walking every step.
constexpr int64_t kAxisStepBudget = 100000;
// A fitted record whose window holds more samples than any pattern gives is not drawn.
constexpr double kFitSampleBudget = 2.0 * kPatternSize / 0.02;

// Whether Trunc(v) lies in 0..limit: v in (-1, limit + 1); false for NaN. The per-point tests
// of the curves are written out here, so the hot loops call nothing.
inline bool truncates_into(double v, int32_t limit) { return v > -1.0 && v < limit + 1.0; }

// Trunc(v) held to the Int32 range; v is not NaN.
inline int32_t truncate_saturated(double v) {
  if (v <= -2147483648.0) return INT32_MIN;
  if (v >= 2147483647.0) return INT32_MAX;
  return static_cast<int32_t>(v);
}

// Draws the segment between two plot points when both x lie in 0..PW, clipped to 0..PH.
// y values beyond Int32 saturate, so the clipping lays them along the edge they overshoot.
void plot_segment(Canvas& c, const GraphLayout& g, double xa, double ya, double xb, double yb) {
  if (!truncates_into(xa, g.plot_width) || !truncates_into(xb, g.plot_width)) return;
  if (std::isnan(ya) || std::isnan(yb)) return;
  int32_t x1 = static_cast<int32_t>(xa), x2 = static_cast<int32_t>(xb);
  int32_t y1 = truncate_saturated(ya), y2 = truncate_saturated(yb);
  clip_graph_segment(x1, y1, x2, y2, g.plot_height);
  c.moveTo(g.left + x1, g.bottom - y1);
  c.lineTo(g.left + x2, g.bottom - y2);
}

// Where the segment crosses y = 0 (from the first end) and y = ymax.
int32_t cross_baseline(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  return int32_t(std::trunc(double(x1) - double((x2 - x1) * y1) / double(y2 - y1)));
}
int32_t cross_top(int64_t x1, int64_t y1, int64_t x2, int64_t y2, int64_t ymax) {
  return int32_t(std::trunc(double((x2 - x1) * (ymax - y1)) / double(y2 - y1) + double(x1)));
}

bool is_pixel_axis(PatternGroup g) { return g == PatternGroup::kPixel || g == PatternGroup::kSectorPixel; }

// The steps k of an axis: Trunc((step + xmin - 0.00001) / step) .. Trunc(xmax / step).
struct AxisSteps {
  double first = 0, last = -1;
  bool by_column = false;  // more steps than columns: walk the columns
};

AxisSteps axis_steps(int32_t step, double xmax, double xmin) {
  AxisSteps a;
  if (step <= 0) return a;
  a.first = std::trunc((step + xmin - 0.00001) / step);
  a.last = std::trunc(xmax / step);
  const double spacing = step * state().graph.GraphXScale;
  a.by_column = a.last - a.first > double(kAxisStepBudget) && spacing < 0.999;
  return a;
}

// The picture column of step k.
std::optional<int32_t> step_column(double k, int32_t step, double xmin, double offset) {
  return checked_int32((k * step - xmin) * state().graph.GraphXScale + offset);
}

// Calls fn(k, column) for each step, or for the last step of each column when the steps are
// denser than the columns (consecutive steps then never skip a column).
template <class Fn>
void for_each_step(const AxisSteps& a, int32_t step, double xmin, double offset, Fn fn) {
  if (!a.by_column) {
    for (double k = a.first; k <= a.last; ++k)
      if (auto x = step_column(k, step, xmin, offset)) fn(k, *x);
    return;
  }
  const auto x0 = step_column(a.first, step, xmin, offset), x1 = step_column(a.last, step, xmin, offset);
  if (!x0 || !x1) return;
  const double sx = state().graph.GraphXScale;
  for (int32_t x = *x0; x <= *x1; ++x) {
    const double k = std::clamp(std::floor(((x + 1 - offset) / sx + xmin) / step), a.first, a.last);
    fn(k, x);
  }
}

// A label's number as "%d" prints it ("-0" never appears).
std::string label_text(double v) {
  if (std::fabs(v) < 1e15) return Format("%d", {int64_t(v)});
  return Format("%.0f", {v});
}

// The axis labels of the current kind: below the plot, pixel labels alternating between two rows.
void label_axis(Canvas& c, int32_t W, int32_t H, int32_t step, double xmax, double xmin) {
  const bool pixels = is_pixel_axis(current_pattern_group());
  const int32_t upper = Trunc(1.05 * H), lower = upper + Trunc(0.03 * H);
  const AxisSteps a = axis_steps(step, xmax, xmin);
  for_each_step(a, step, xmin, (pixels ? 0.088 : 0.094) * W, [&](double k, int32_t x) {
    const bool second_row = pixels && std::fmod(k - a.first, 2.0) != 0.0;
    c.textOut(x, second_row ? lower : upper, label_text(k * step));
  });
  if (pixels) c.textOut(Trunc(0.38 * W), Trunc(1.12 * H), "Distance from center (pixels)");
  else c.textOut(Trunc(0.42 * W), Trunc(1.12 * H), "2theta (degrees)");
}

// Step 7 for one pattern: the curve through its points, raised by `offset`. Pixel patterns put
// point i at column Trunc((i - xmin) sx); 2theta patterns at Trunc((i step + begin - xmin) sx).
void draw_curve(Canvas& c, std::span<const int32_t> y, bool angle, int32_t offset) {
  const GraphLayout& g = state().graph;
  const IntegrationParams& p = state().integration_params;
  const double lift = offset - g.ymin;
  for (size_t i = 0; i + 1 < y.size(); ++i) {
    const double ya = std::trunc(y[i] + lift) * g.GraphYScale, yb = std::trunc(y[i + 1] + lift) * g.GraphYScale;
    if (angle)
      plot_segment(c, g, (double(i) * p.two_theta_step + p.two_theta_begin - g.xmin) * g.GraphXScale, ya,
                   (double(i + 1) * p.two_theta_step + p.two_theta_begin - g.xmin) * g.GraphXScale, yb);
    else
      plot_segment(c, g, (double(i) - g.xmin) * g.GraphXScale, ya, (double(i) - g.xmin + 1.0) * g.GraphXScale, yb);
  }
}

// The number of sectors the graph draws: those the sector store holds.
int32_t drawn_sectors() { return graph_sector_count(); }

// Step 7.
void draw_curves(Canvas& c, PatternGroup group, const std::function<void()>& sector_drawn) {
  if (!is_sector_group(group)) {
    draw_curve(c, pattern_span(), group == PatternGroup::kAngle, 0);
    return;
  }
  for (int32_t k = 0; k < drawn_sectors(); ++k) {
    draw_curve(c, sector_span(k), group == PatternGroup::kSectorAngle, sector_graph_offset(k));
    if (sector_drawn) sector_drawn();
  }
}

// Step 8: each fitted record's profile over its window, in segments of 0.02 pixel or step / 50.
void draw_fitted_curves(Canvas& c, bool angle) {
  const FitTables& fits = state().fit_tables;
  if (fits.count <= 0) return;
  const GraphLayout& g = state().graph;
  const double sample = angle ? state().integration_params.two_theta_step / 50.0 : 0.02;
  const int32_t records = std::min<int32_t>(peak_count_of(state().peak_table), int32_t(fits.fitted.size()));
  const TColor pen = c.pen().color;
  c.pen().color = kFitColour;
  for (int32_t j = 0; j < records; ++j) {
    const FitRecord& r = fits.fitted[size_t(j)];
    if (r.fitted != 1 || (r.model != 0 && r.model != 1)) continue;
    const double segments = std::trunc((r.window_end - r.window_start) / sample);
    if (!(segments > 0 && segments <= kFitSampleBudget)) continue;
    const PeakModel model = r.model == 0 ? lorentz_model : gauss_model;
    const std::array<double, 5> a = {r.amplitude, r.position, r.half_width, r.base, r.base_tilt};
    std::array<double, 5> dyda{};
    auto plot_y = [&](double pos) {
      const double v = model(pos, a, dyda) - g.ymin;
      return (angle ? std::trunc(v) : v) * g.GraphYScale;
    };
    double pa = r.window_start, ya = plot_y(pa);
    for (double m = 1; m <= segments; ++m) {
      const double pb = r.window_start + m * sample, yb = plot_y(pb);
      plot_segment(c, g, (pa - g.xmin) * g.GraphXScale, ya, (pb - g.xmin) * g.GraphXScale, yb);
      pa = pb, ya = yb;
    }
  }
  c.pen().color = pen;
}

void mark(Canvas& c, double position, double intensity, int32_t offset) {
  if (const auto line = peak_marker_line(position, intensity, offset)) {
    c.moveTo(line->x1, line->y1);
    c.lineTo(line->x2, line->y2);
  }
}

// Step 9: a blue mark over each peak of the table, or of every sector's list.
void draw_peak_marks(Canvas& c, PatternGroup group, const GraphStyle& style) {
  const TColor pen = c.pen().color;
  c.pen().color = kMarkerColour;
  if (!is_sector_group(group)) {
    const PeakTable& t = state().peak_table;
    const bool angle = group == PatternGroup::kAngle;
    for (int32_t p = 0; p < peak_count_of(t); ++p) {
      const double position = angle ? t.two_theta[size_t(p)] : t.x[size_t(p)];
      if (position > (angle ? 0.01 : 1.0)) mark(c, position, t.intensity[size_t(p)], 0);
    }
  } else if (style.sector_peak_marks) {
    const bool angle = group == PatternGroup::kSectorAngle;
    for (int32_t k = 0; k < drawn_sectors(); ++k) {
      const std::optional<PeakList>& peaks = state().sector_patterns.sectors[size_t(k)].peak_list;
      if (!peaks) continue;  // no search has filled this sector's list
      const PeakList& list = *peaks;
      const int32_t offset = sector_graph_offset(k);
      for (int32_t p = 0; p < peak_count_of(list); ++p) {
        const double position = angle ? list.two_theta[size_t(p)] : list.x[size_t(p)];
        if (!angle || position > 0.01) mark(c, position, list.intensity[size_t(p)], offset);
      }
    }
  }
  c.pen().color = pen;
}

// A style's scale for the length of a draw: GraphWidth, GraphHeight and the font height
// multiplied, the whole layout and the font restored at the end (also when the draw throws).
class ScaledDrawing {
public:
  ScaledDrawing(Canvas& c, int32_t scale) : canvas_(c), scale_(scale), saved_(state().graph), font_(c.font().height()) {
    if (scale_ == 1) return;
    state().graph.GraphWidth = saturate_int32(double(saved_.GraphWidth) * scale_);
    state().graph.GraphHeight = saturate_int32(double(saved_.GraphHeight) * scale_);
    c.font().setHeight(saturate_int32(double(font_) * scale_));
  }
  ~ScaledDrawing() {
    if (scale_ == 1) return;
    state().graph = saved_;
    canvas_.font().setHeight(font_);
  }
  ScaledDrawing(const ScaledDrawing&) = delete;
  ScaledDrawing& operator=(const ScaledDrawing&) = delete;

private:
  Canvas& canvas_;
  int32_t scale_;
  GraphLayout saved_;
  int font_;
};

}  // namespace

void clip_graph_segment(int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2, int32_t ymax) {
  auto inside = [ymax](int32_t y) { return y >= 0 && y <= ymax; };
  if (inside(y1) && inside(y2)) return;
  if (y1 < 0 && y2 < 0) {
    y1 = y2 = 0;
    return;
  }
  if (y1 > ymax && y2 > ymax) {
    y1 = y2 = ymax;
    return;
  }
  // The first end moves to the edge it lies beyond, then the second end to its own.
  if (y1 < 0) {
    x1 = cross_baseline(x1, y1, x2, y2);
    y1 = 0;
  } else if (y1 > ymax) {
    x1 = cross_top(x1, y1, x2, y2, ymax);
    y1 = ymax;
  }
  if (y2 < 0) {
    x2 = cross_baseline(x1, y1, x2, y2);
    y2 = 0;
  } else if (y2 > ymax) {
    x2 = cross_top(x1, y1, x2, y2, ymax);
    y2 = ymax;
  }
}

void draw_x_ticks(Canvas& c, int32_t W, int32_t H, double fraction, int32_t step, double xmax, double xmin) {
  const int32_t B = Trunc(1.0 * H), T = Trunc(0.1 * H) + 1, L = Trunc(fraction * H);
  for_each_step(axis_steps(step, xmax, xmin), step, xmin, 0.1 * W, [&](double, int32_t x) {
    c.moveTo(x, B);
    c.lineTo(x, B - L);
    c.moveTo(x, T);
    c.lineTo(x, T + L);
  });
}

void draw_x_labels(Canvas& c, int32_t W, int32_t H, int32_t step, double xmax, double xmin) {
  label_axis(c, W, H, step, xmax, xmin);
}

void draw_y_axis(Canvas& c, int32_t W, int32_t H, double ymax, double ymin, const GraphStyle& style) {
  const PatternGroup group = current_pattern_group();
  if (group == PatternGroup::kPixel || group == PatternGroup::kAngle) {
    const int32_t L = Trunc(0.01 * W), left = Trunc(0.1 * W), right = Trunc(1.1 * W);
    for (int j = 1; j <= 9; ++j) {
      const int32_t y = Trunc((1 - j * 0.9 / 10) * H);
      c.moveTo(left, y);
      c.lineTo(left + L, y);
      c.moveTo(right, y);
      c.lineTo(right - L, y);
    }
  }
  const int32_t x = Trunc(style.y_numbers_left * W);
  c.textOut(x, Trunc(style.ymin_top * H), Format("%5.0f", {ymin}));
  c.textOut(x, Trunc(style.ymax_top * H), Format("%5.0f", {ymax}));
}

namespace {

// The range edits a draw of this pattern uses must hold numbers: an error names the edit and
// its window. The others are not read.
void check_used_ranges(PatternGroup group) {
  const bool angle = is_angle_group(group);
  for (const auto& [edit, label] : frmNaxGraph::kRangeEdits) {
    const bool x_edit = edit == frmNaxGraph::edtXBegin || edit == frmNaxGraph::edtXEnd;
    const bool angle_edit = edit == frmNaxGraph::edt2ThetaBegin || edit == frmNaxGraph::edt2ThetaEnd;
    if ((angle && x_edit) || (!angle && angle_edit)) continue;
    const std::string text = controls().text(edit);
    try {
      if (parameter_of(edit)->kind == ParameterKind::kInteger) (void)StrToInt(text);
      else (void)StrToFloat(text);
    } catch (const ConversionError& e) {
      throw ConversionError("\"" + std::string(label) + "\" of the " + std::string(frmNaxGraph::kWindowTitle) +
                            " window: " + e.what());
    }
  }
}

}  // namespace

int32_t draw_graph_on_canvas(Canvas& c, const GraphStyle& style, const std::function<void()>& sector_drawn) {
  if (state().nax_pattern.empty()) return 1;
  kgui::CanvasBatch batch(c);
  ScaledDrawing scaled(c, style.scale);
  check_used_ranges(current_pattern_group());
  read_parameters(current_image().ImageHeight);
  update_graph_layout();
  const GraphLayout& g = state().graph;
  const int32_t W = g.GraphWidth, H = g.GraphHeight;
  const PatternGroup group = current_pattern_group();

  const TColor brush = c.brush().color;
  c.brush().color = style.plot_fill;
  c.rectangle(g.left, g.bottom - g.plot_height, g.left + g.plot_width + 1, g.bottom + 1);
  c.brush().color = brush;

  const bool pixels = is_pixel_axis(group);
  draw_x_ticks(c, W, H, 0.01, pixels ? 10 : 1, g.xmax, g.xmin);
  draw_x_ticks(c, W, H, 0.02, pixels ? 100 : 10, g.xmax, g.xmin);
  draw_x_labels(c, W, H, pixels ? 100 : 10, g.xmax, g.xmin);
  draw_y_axis(c, W, H, g.ymax, g.ymin, style);

  draw_curves(c, group, sector_drawn);
  if (style.fitted_curves && (group == PatternGroup::kPixel || group == PatternGroup::kAngle))
    draw_fitted_curves(c, group == PatternGroup::kAngle);
  draw_peak_marks(c, group, style);
  return 0;
}

int32_t draw_nax_graph(Canvas& c, int32_t picture_width, int32_t picture_height,
                       const std::function<void()>& sector_drawn) {
  if (state().WindowShow == 1) graph_window().show();
  if (state().nax_pattern.empty()) return 1;
  kgui::CanvasBatch batch(c);
  const TColor brush = c.brush().color;
  c.brush().color = kgui::clWhite;
  c.fillRect({0, 0, picture_width, picture_height});
  c.brush().color = brush;
  return draw_graph_on_canvas(c, GraphStyle{}, sector_drawn);
}

}  // namespace kestrin
