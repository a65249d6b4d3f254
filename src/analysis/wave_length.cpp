// The wavelength from a reference sample.
#include "analysis/wave_length.h"

#include <cmath>
#include <numbers>

#include "analysis/dispatch.h"
#include "analysis/peak_search.h"
#include "analysis/peak_table.h"
#include "base/convert.h"
#include "image/image_store.h"
#include "model/parameters.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"

namespace kestrin {

void calc_wave_length() {
  if (current_image().NoImageFlag == 1) {
    log_line(" calc_wave_length() : Image data does not exist.");
    return;
  }
  read_parameters(current_image().ImageHeight);
  calc_angle_histogram_selection();
  peak_search();
  log_line("");
  log_line("calc_wave_length");
  log_line("");
  // Only the peaks of a fresh 2theta pattern count: a refused integration leaves an old table.
  const PeakTable& table = state().peak_table;
  const int32_t peaks = current_pattern_group() == PatternGroup::kAngle ? peak_count_of(table) : 0;
  if (peaks < 3) {
    log_line(" calc_wave_length() : fewer than three peaks.");
    return;
  }
  double sum = 0;
  for (int32_t i = 0; i < 3; ++i) {
    const double two_theta = table.two_theta[size_t(i)];
    const double lambda = 2 * kReferenceSpacings[i] * std::sin(two_theta / 2 * std::numbers::pi / 180);
    log_line(Format("No.%d  2theta=%7.5f lambda=%7.5f", {i + 1, two_theta, lambda}));
    sum += lambda;
  }
  const double mean = sum / 3;
  log_line(Format("lambda average = %7.5f", {mean}));
  controls().set_text(frmMain::edtLambda, Format("%7.5f", {mean}));
}

}  // namespace kestrin
