// The integration commands.
#include "commands/histogram_commands.h"

#include "analysis/dispatch.h"
#include "analysis/sectored_histogram.h"
#include "base/convert.h"
#include "commands/main_form_commands.h"
#include "image/image_store.h"
#include "model/parameter_table.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "ports/ports.h"

namespace kestrin {

void show_pattern(const PatternShow& shown) {
  using P = IntegrationParams;
  const P& p = state().integration_params;
  if (shown.ranges == PatternShow::Ranges::Angle) {
    const std::string begin = Format("%8.4f", {p.two_theta_begin}), end = Format("%8.4f", {p.two_theta_end});
    if (shown.main_window) {
      show_parameter_text(&P::two_theta_begin, begin);
      show_parameter_text(&P::two_theta_end, end);
    }
    show_parameter_text(&P::graph_y_begin, Format("%6d", {p.graph_y_begin}));
    show_parameter_text(&P::graph_y_end, Format("%6d", {p.graph_y_end}));
    if (shown.graph_window) {
      show_parameter_text(&P::graph_2theta_begin, begin);
      show_parameter_text(&P::graph_2theta_end, end);
    }
  } else if (shown.ranges == PatternShow::Ranges::Pixel) {
    show_parameter_text(&P::graph_x_begin, Format(shown.format, {p.graph_x_begin}));
    show_parameter_text(&P::graph_x_end, Format(shown.format, {p.graph_x_end}));
    show_parameter_text(&P::graph_y_begin, Format(shown.format, {p.graph_y_begin}));
    show_parameter_text(&P::graph_y_end, Format(shown.format, {p.graph_y_end}));
  }
  if (shown.draw) graph_window().draw_nax_graph();
}

void find_missing_centre() {
  find_center_and_show();
  read_parameters(current_image().ImageHeight);
}

void read_image_parameters() {
  if (current_image().NoImageFlag == 0) read_parameters(current_image().ImageHeight);
}

void read_image_parameters_after(std::string_view opening, Report& report) {
  try {
    read_image_parameters();
  } catch (...) {
    if (!opening.empty()) report.say(opening);
    throw;
  }
}

namespace {

// The region as the main window's radios and angle edits show it now.
RegionShown shown_region() {
  constexpr int32_t kAngleMode = 1;
  RegionShown r;
  r.region = checked_choice(*parameter_named("IntegrationMode"));
  r.angle_mode = checked_choice(*parameter_named("RectAngleMode")) == kAngleMode;
  r.sector_valid = check_sector_angles() == 0;
  r.division_valid = check_division_angle() == 0;
  r.division_too_small = division_angle_below_limit();
  return r;
}

// A dispatcher's choice: the parameters read when a routine is to run, then the run shown.
void run_choice(const HistogramChoice& choice, Report& report) {
  if (!choice.refused && choice.routine) read_image_parameters_after(opening_line(choice.routine), report);
  show_pattern(run_histogram_choice(choice, report));
}

}  // namespace

void angle_intensity_command() {
  state().macro.record("Kestrin.AngleIntensity();");
  Report report = log_report();
  run_choice(angle_histogram_choice(shown_region(), report), report);
}

void curved_angle_intensity_command() {
  Report report = log_report();
  if (curved_selection_refused(report)) return;
  angle_intensity_command();
}

void fine_angle_intensity_command() {
  Report report = log_report();
  if (curved_plate_refused(kFineCurvedRefusal, report)) return;
  state().macro.record("Kestrin.FineAngleIntensity();");
  run_choice(fine_angle_histogram_choice(shown_region(), report), report);
}

void pixel_intensity_command() {
  Report report = log_report();
  if (curved_plate_refused(kPixelCurvedRefusal, report)) return;
  state().macro.record("Kestrin.PixelIntensity();");
  run_choice(pixel_histogram_choice(shown_region(), report), report);
}

void sectoring_command() {
  state().macro.record("Kestrin.Sectoring();");
  Report report = log_report();
  read_image_parameters_after(kSectoringBanner, report);
  show_pattern(calc_sectored_histogram(report));
}

}  // namespace kestrin
