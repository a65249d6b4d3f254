// The peak fitting window's grid texts and Retry.
#include "commands/peak_fitting_commands.h"

#include <algorithm>
#include <cmath>

#include "analysis/peak_fitting.h"
#include "analysis/peak_table.h"
#include "analysis/single_peak_fit.h"
#include "base/convert.h"
#include "model/state.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

// The fitting's start positions carry 8 decimals (halves to even).
double round_to_8_decimals(double v) { return std::nearbyint(v * 1e8) / 1e8; }

std::vector<std::string> headings() {
  const PatternGroup g = current_pattern_group();
  const std::string unit = g == PatternGroup::kPixel || g == PatternGroup::kSectorPixel ? "pixel" : "2theta";
  return {"Peak No.", "x(" + unit + ")", "Intensity", "Base Int.", "FwHm(" + unit + ")", "Tilt",
          "Init Pos", "Ini. Int.", "Ini. Offset", "Ini. FwHm", "Base Tilt"};
}

std::vector<std::string> values(int32_t i, const FitRecord& fit, const FitRecord& ini) {
  return {Format("%d", {i + 1}) + (fit.fitted == 1 ? " *" : " xxx"),
          Format("%12.8f", {fit.position}),
          Format("%8.2f", {fit.amplitude}),
          Format("%8.2f", {fit.base}),
          Format("%8.4f", {2 * fit.half_width}),
          Format("%8.4f", {fit.base_tilt}),
          Format("%12.8f", {ini.position}),
          Format("%8.2f", {ini.amplitude}),
          Format("%8.2f", {ini.base}),
          Format("%8.4f", {2 * ini.half_width}),
          Format("%8.4f", {ini.base_tilt})};
}

constexpr const char* kFittingLine = "Kestrin.PeakFitting();";

int32_t fit_rows() {
  const FitTables& t = state().fit_tables;
  return std::min<int32_t>(peak_count_of(state().peak_table), int32_t(std::min(t.fitted.size(), t.initial.size())));
}

}  // namespace

std::vector<std::vector<std::string>> fit_result_rows() {
  const FitTables& t = state().fit_tables;
  std::vector<std::vector<std::string>> rows = {headings()};
  for (int32_t i = 0; i < fit_rows(); ++i) rows.push_back(values(i, t.fitted[size_t(i)], t.initial[size_t(i)]));
  return rows;
}

void refit_from_grid(const std::function<std::string(int col, int row)>& cell, int grid_rows) {
  FitTables& t = state().fit_tables;
  for (int32_t i = 0; i < std::min(fit_rows(), grid_rows - 1); ++i) {
    FitRecord& ini = t.initial[size_t(i)];
    ini.position = round_to_8_decimals(StrToFloat(cell(6, i + 1)));
    ini.amplitude = StrToFloat(cell(7, i + 1));
    ini.base = StrToFloat(cell(8, i + 1));
    ini.half_width = StrToFloat(cell(9, i + 1)) / 2;
  }
  refit_peaks_and_show();
}

void refit_peaks_and_show() {
  if (refit_peaks()) fit_window().show_fit_results();
}

void show_fit_results() {
  fit_window().show_fit_results();
  if (state().WindowShow == 1) {
    graph_window().draw_nax_graph();
    fit_window().show();
  }
}

void record_and_show_fits(int32_t runs) {
  if (runs < 1) return;
  for (int32_t i = 0; i < runs; ++i) state().macro.record(kFittingLine);
  show_fit_results();
}

void peak_fitting_and_show() {
  if (PeakFitting()) record_and_show_fits(1);
}

void peak_fitting_cfdqr2_and_show() {
  if (peak_fitting_cfdqr2()) record_and_show_fits(1);
}

bool single_peak_fit_and_show(int32_t peak, int32_t first, int32_t last) {
  const bool converged = single_peak_fit(peak, first, last);
  record_and_show_fits(1);
  return converged;
}

}  // namespace kestrin
