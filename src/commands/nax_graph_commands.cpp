// The pattern graph's layout, markers, window rules and mouse commands.
#include "commands/nax_graph_commands.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "analysis/peak_edit.h"
#include "analysis/peak_search.h"
#include "analysis/peak_table.h"
#include "base/convert.h"
#include "base/report.h"
#include "commands/main_form_commands.h"
#include "commands/peak_form_commands.h"
#include "model/state.h"
#include "ports/names/nax_graph_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

// A drag narrower or lower than this restores the full range of that axis.
constexpr int32_t kMinimumZoom = 6;

void derive_margins(GraphLayout& g) {
  g.left = Trunc(0.1 * g.GraphWidth);
  g.plot_width = Trunc(1.0 * g.GraphWidth);
  g.bottom = Trunc(1.0 * g.GraphHeight);
  g.plot_height = Trunc(0.9 * g.GraphHeight);
}

bool scales_set() {
  const GraphLayout& g = state().graph;
  return g.GraphXScale > 0 && std::isfinite(g.GraphXScale) && g.GraphYScale > 0 && std::isfinite(g.GraphYScale);
}

// The full intensity range of the current pattern: Trunc(max / 0.9), five times the maximum for
// the sectored kinds (their curves stand one above the other).
int32_t full_intensity(PatternGroup group) {
  const double max = state().nax_pattern.maximum;
  return saturate_int32(is_sector_group(group) ? 5.0 * max : max / 0.9);
}

void set_edit(ControlName edit, const char* format, FormatArg value) { controls().set_text(edit, Format(format, {value})); }

// The zoom's new intensity range from the rectangle (picture rows top..top+height).
void zoom_intensity(PatternGroup group, const GraphDrag& d) {
  const GraphLayout& g = state().graph;
  const int32_t old_begin = state().integration_params.graph_y_begin;
  int32_t begin = 0, end = full_intensity(group);
  if (d.height >= kMinimumZoom) {
    begin = saturate_int32((g.GraphHeight - (d.top + d.height)) / g.GraphYScale + old_begin);
    end = saturate_int32((g.GraphHeight - d.top) / g.GraphYScale + old_begin);
    if (begin < 0) begin = 0;
    if (end < 0) end = full_intensity(group);
  }
  set_edit(frmNaxGraph::edtYBegin, "%6d", begin);
  set_edit(frmNaxGraph::edtYEnd, "%6d", end);
}

// The zoom's new position range from the rectangle (picture columns left..left+width).
void zoom_position(PatternGroup group, const GraphDrag& d) {
  const GraphLayout& g = state().graph;
  const IntegrationParams& p = state().integration_params;
  auto at = [&g](int32_t column) { return (column - 0.1 * g.GraphWidth) / g.GraphXScale; };
  if (is_angle_group(group)) {
    double begin = p.two_theta_begin, end = p.two_theta_end;
    if (d.width >= kMinimumZoom) {
      begin = at(d.left) + p.graph_2theta_begin;
      end = at(d.left + d.width) + p.graph_2theta_begin;
      if (begin < 0) begin = 0;
      if (end < 0) end = p.two_theta_end;
    }
    set_edit(frmNaxGraph::edt2ThetaBegin, "%8.5f", begin);
    set_edit(frmNaxGraph::edt2ThetaEnd, "%8.5f", end);
    return;
  }
  const int32_t last = state().nax_pattern.N - 1;
  int32_t begin = 100, end = last;
  if (d.width >= kMinimumZoom) {
    begin = saturate_int32(at(d.left) + p.graph_x_begin);
    end = saturate_int32(at(d.left + d.width) + p.graph_x_begin);
    if (begin < 0) begin = 100;
    if (end < 0) end = last;
  }
  set_edit(frmNaxGraph::edtXBegin, "%6d", begin);
  set_edit(frmNaxGraph::edtXEnd, "%6d", end);
}

void zoom_to_drag() {
  const PatternGroup group = current_pattern_group();
  if (group != PatternGroup::kNone && scales_set()) {
    zoom_intensity(group, state().graph_drag);
    zoom_position(group, state().graph_drag);
  }
  graph_window().draw_nax_graph();
}

}  // namespace

void init_graph_size() {
  GraphLayout& g = state().graph;
  g.GraphWidth = 500;
  g.GraphHeight = 400;
  derive_margins(g);
}

void set_graph_size_for_picture(int32_t picture_width, int32_t picture_height) {
  GraphLayout& g = state().graph;
  g.GraphWidth = saturate_int32(std::trunc((picture_width - 50.0) * 0.9));
  g.GraphHeight = saturate_int32(std::trunc((picture_height - 50.0) * 0.9));
  derive_margins(g);
}

void update_graph_layout() {
  GraphLayout& g = state().graph;
  IntegrationParams& p = state().integration_params;
  derive_margins(g);
  if (p.graph_x_end <= p.graph_x_begin) p.graph_x_begin = 100, p.graph_x_end = 1200;
  if (p.graph_y_end <= p.graph_y_begin) p.graph_y_begin = 0, p.graph_y_end = 10000;
  if (!(p.graph_2theta_end > p.graph_2theta_begin)) p.graph_2theta_begin = 1.0, p.graph_2theta_end = 40.0;
  if (is_angle_group(current_pattern_group())) {
    g.xmin = p.graph_2theta_begin;
    g.xmax = p.graph_2theta_end;
  } else {
    g.xmin = p.graph_x_begin;
    g.xmax = p.graph_x_end;
  }
  g.ymin = p.graph_y_begin;
  g.ymax = p.graph_y_end;
  g.GraphXScale = g.GraphWidth / (g.xmax - g.xmin);
  g.GraphYScale = 0.9 * g.GraphHeight / (g.ymax - g.ymin);
}

std::optional<double> click_to_data(int32_t click_x) {
  const GraphLayout& g = state().graph;
  if (!(g.GraphXScale > 0.0) || !std::isfinite(g.GraphXScale)) return std::nullopt;
  return g.xmin + (click_x - 0.1 * g.GraphWidth) / g.GraphXScale;
}

std::optional<GraphLine> peak_marker_line(double position, double intensity, int32_t offset) {
  const GraphLayout& g = state().graph;
  const auto gx = checked_int32((position - g.xmin) * g.GraphXScale);
  const auto level = checked_int32(intensity - g.ymin + offset);
  if (!gx || !level) return std::nullopt;
  const auto gy = checked_int32(*level * g.GraphYScale);
  if (!gy) return std::nullopt;
  if (*gx < 0 || *gx > g.plot_width || *gy < 0 || *gy > g.plot_height) return std::nullopt;
  const int32_t x = g.left + *gx;
  return GraphLine{x, g.bottom - *gy - 2, x, g.bottom - *gy - 12};
}

void draw_peak_marker(double position, double intensity, int32_t offset, TColor colour) {
  if (const auto l = peak_marker_line(position, intensity, offset))
    graph_window().draw_graph_line(l->x1, l->y1, l->x2, l->y2, colour);
}

int32_t graph_sector_count() { return state().sector_patterns.walked(); }

int32_t sector_graph_offset(int32_t s) {
  return saturate_int32(std::trunc(s * state().graph.ymax / (graph_sector_count() + 4)));
}

void mark_peaks(const PeakEdit& edit, TColor colour) {
  for (const EditedPeak& p : edit.peaks)
    draw_peak_marker(p.position, p.intensity, p.sector < 0 ? 0 : sector_graph_offset(p.sector), colour);
}

void add_peak_proc(int32_t click_x) {
  Report report = log_report();
  const PeakEdit edit = add_peak_near(click_to_data(click_x), report);
  if (changed_peak_table(edit)) show_peak_list();
  mark_peaks(edit, kMarkerColour);
  if (edit.sectored) graph_window().draw_nax_graph();
}

void delete_peak_at_click(int32_t click_x) {
  const PeakEdit edit = delete_peak_near(click_to_data(click_x));
  if (changed_peak_table(edit)) show_peak_list();
  mark_peaks(edit, kEraserColour);
}

void peak_search_done(int32_t status) {
  state().macro.record("Kestrin.PeakSearch();");
  if (status != 0) return;
  if (!is_sector_group(current_pattern_group())) show_peak_list();
  graph_window().draw_nax_graph();
}

int32_t peak_search_and_show() {
  Report report = log_report();
  const int32_t status = peak_search(report);
  peak_search_done(status);
  return status;
}

std::optional<GraphWindowLayout> graph_window_layout(int32_t form_width, int32_t form_height, int32_t buttons_height) {
  if (form_width <= 300 || form_height <= 337) return std::nullopt;
  GraphWindowLayout l;
  l.buttons_top = form_height - buttons_height - 30;
  l.base_width = form_width - 20;
  l.base_height = form_height - 52 - buttons_height - 20;
  l.picture_width = l.base_width - 10;
  l.picture_height = l.base_height - 98;
  return l;
}

void default_region_command() {
  const PatternGroup group = current_pattern_group();
  const NaxPattern& pattern = state().nax_pattern;
  const IntegrationParams& p = state().integration_params;
  if (group != PatternGroup::kNone) {
    set_edit(frmNaxGraph::edtYBegin, "%8d", 0);
    set_edit(frmNaxGraph::edtYEnd, "%8d", full_intensity(group));
    if (is_angle_group(group)) {
      set_edit(frmNaxGraph::edt2ThetaBegin, "%8.4f", p.two_theta_begin);
      set_edit(frmNaxGraph::edt2ThetaEnd, "%8.4f", p.two_theta_end);
    } else {
      set_edit(frmNaxGraph::edtXBegin, "%6d", 100);
      set_edit(frmNaxGraph::edtXEnd, "%6d", int64_t(pattern.N) + 1);
    }
  }
  graph_window().draw_nax_graph();
}

void graph_range_edit_key(int key) {
  if (key == kEnterKey) graph_window().draw_nax_graph();
}

void same_peak_edit_key(int key) {
  if (key == kEnterKey) state().SamePeakTolerance = StrToFloat(controls().text(frmNaxGraph::Edit1));
}

void graph_mouse_down(GraphButton button, int32_t x, int32_t y) {
  if (state().nax_pattern.empty() || button != GraphButton::kMiddle) return;
  state().graph_drag = GraphDrag{true, x, y, x, y, 0, 0, x, y};
}

void graph_mouse_move(int32_t x, int32_t y) {
  if (state().nax_pattern.empty()) return;
  x = std::max(x, 0);
  y = std::clamp(y, 0, std::max(state().graph.GraphHeight, 0));
  GraphDrag& d = state().graph_drag;
  if (d.dragging) {
    d.corner_x = x, d.corner_y = y;
    d.left = std::min(x, d.press_x), d.top = std::min(y, d.press_y);
    d.width = std::abs(x - d.press_x), d.height = std::abs(y - d.press_y);
  }
  controls().set_text(frmNaxGraph::lblCurValue, graph_readout(x, y));
}

void graph_mouse_up(GraphButton button, int32_t x, int32_t) {
  if (state().nax_pattern.empty()) return;
  switch (button) {
    case GraphButton::kLeft: add_peak_proc(x); break;
    case GraphButton::kRight: delete_peak_at_click(x); break;
    case GraphButton::kMiddle:
      if (!state().graph_drag.dragging) return;
      state().graph_drag.dragging = false;
      zoom_to_drag();
      break;
  }
}

std::string graph_readout(int32_t x, int32_t y) {
  const PatternGroup group = current_pattern_group();
  if (group == PatternGroup::kNone || !scales_set()) return {};
  const GraphLayout& g = state().graph;
  const IntegrationParams& p = state().integration_params;
  const int32_t value = saturate_int32((g.GraphHeight - y) / g.GraphYScale + p.graph_y_begin);
  const double offset = (x - 0.1 * g.GraphWidth) / g.GraphXScale;
  if (is_angle_group(group))
    return Format("  2theta(degrees)=%7.3f  Intensity=%7d", {offset + p.graph_2theta_begin, value});
  return Format("        x(pixels)=%7.2f  Intensity=%7d", {offset + p.graph_x_begin, value});
}

std::optional<RubberBand> graph_rubber_band() {
  const GraphDrag& d = state().graph_drag;
  if (!d.dragging) return std::nullopt;
  return RubberBand{d.press_x, d.press_y, d.corner_x, d.corner_y};
}

}  // namespace kestrin
