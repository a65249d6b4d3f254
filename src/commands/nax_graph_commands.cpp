// The pattern graph's layout, markers and mouse commands.
#include "commands/nax_graph_commands.h"

#include <cmath>

#include "analysis/peak_table.h"
#include "base/convert.h"
#include "model/state.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

void derive_margins(GraphLayout& g) {
  g.left = Trunc(0.1 * g.GraphWidth);
  g.plot_width = Trunc(1.0 * g.GraphWidth);
  g.bottom = Trunc(1.0 * g.GraphHeight);
  g.plot_height = Trunc(0.9 * g.GraphHeight);
}

}  // namespace

void init_graph_size() {
  GraphLayout& g = state().graph;
  g.GraphWidth = 500;
  g.GraphHeight = 400;
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

void draw_peak_marker(double position, double intensity, int32_t offset, TColor colour) {
  const GraphLayout& g = state().graph;
  const auto gx = checked_int32((position - g.xmin) * g.GraphXScale);
  const auto level = checked_int32(intensity - g.ymin + offset);
  if (!gx || !level) return;
  const auto gy = checked_int32(*level * g.GraphYScale);
  if (!gy) return;
  if (*gx < 0 || *gx > g.plot_width || *gy < 0 || *gy > g.plot_height) return;
  const int32_t x = g.left + *gx;
  graph_window().draw_graph_line(x, g.bottom - *gy - 2, x, g.bottom - *gy - 12, colour);
}

int32_t sector_graph_offset(int32_t s) {
  const int32_t sectors = state().sector_patterns.walked();
  return saturate_int32(std::trunc(s * state().graph.ymax / (sectors + 4)));
}

void mark_peaks(const PeakEdit& edit, TColor colour) {
  for (const EditedPeak& p : edit.peaks)
    draw_peak_marker(p.position, p.intensity, p.sector < 0 ? 0 : sector_graph_offset(p.sector), colour);
}

void add_peak_proc(int32_t click_x) {
  const PeakEdit edit = add_peak_near(click_to_data(click_x));
  mark_peaks(edit, kMarkerColour);
  if (edit.sectored) graph_window().draw_nax_graph();
}

void delete_peak_at_click(int32_t click_x) { mark_peaks(delete_peak_near(click_to_data(click_x)), kEraserColour); }

}  // namespace kestrin
