// The peak list window's commands.
#include "commands/peak_form_commands.h"

#include "analysis/camera_length.h"
#include "analysis/peak_edit.h"
#include "analysis/peak_fitting.h"
#include "analysis/peak_table.h"
#include "base/convert.h"
#include "base/report.h"
#include "commands/peak_fitting_commands.h"
#include "image/image_store.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

bool is_selected(const std::vector<bool>& selected, size_t i) { return i < selected.size() && selected[i]; }

}  // namespace

std::string peak_list_copy_text(const std::vector<std::string>& rows, const std::vector<bool>& selected) {
  const size_t count = size_t(peak_count_of(state().peak_table));
  bool any = false;
  for (size_t i = 0; i < count; ++i) any |= is_selected(selected, i);
  std::string text = std::string(kPeakListHeading) + "\r\n";
  for (size_t i = 0; i < rows.size(); ++i)
    if (!any || is_selected(selected, i)) text += rows[i] + "\r\n";
  return text;
}

void delete_selected_peaks(const std::vector<bool>& selected) {
  const int32_t count = peak_count_of(state().peak_table);
  std::vector<bool> chosen(size_t(count), false);
  for (int32_t i = 0; i < count; ++i) chosen[size_t(i)] = is_selected(selected, size_t(i));
  Report report = log_report();
  for (int32_t i = count - 1; i >= 0; --i) {
    if (!chosen[size_t(i)] || !delete_selected_peak(i, report)) continue;
    show_peak_list();
    graph_window().draw_nax_graph();
  }
}

void calc_distance_command() {
  if (!state().nax_pattern.has_kind(kPixelHistogram)) return;
  read_parameters(current_image().ImageHeight);
  Report report = log_report();
  if (camera_length_search(report) != CameraLengthSearch::kSearched) return;
  controls().set_text(frmMain::edtCameraLength, Format("%10.6f", {state().integration_params.Lo}));
  show_peak_list();
  graph_window().draw_nax_graph();
}
void peak_fitting_command() { peak_fitting_and_show(); }

void show_peak_list() {
  peak_window().show_peak_list();
  if (state().WindowShow == 1) peak_window().show();
}

}  // namespace kestrin
