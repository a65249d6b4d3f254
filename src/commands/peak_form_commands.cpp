// The peak list window's commands.
#include "commands/peak_form_commands.h"

#include "analysis/peak_edit.h"
#include "analysis/peak_table.h"
#include "model/state.h"
#include "ports/log.h"

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
  for (int32_t i = count - 1; i >= 0; --i)
    if (chosen[size_t(i)]) delete_selected_peak(i);
}

void calc_distance_command() { log_not_available("camera_length_search"); }
void peak_fitting_command() { log_not_available("PeakFitting"); }
void print_peak_command() { log_not_available("print_peak_proc"); }

}  // namespace kestrin
