// The main window's commands without widgets.
#include "commands/main_form_commands.h"

#include <algorithm>
#include <optional>
#include <string>

#include "analysis/center.h"
#include "analysis/center_no_direct.h"
#include "analysis/dispatch.h"
#include "analysis/line_integration.h"
#include "analysis/peak_search.h"
#include "analysis/sectored_histogram.h"
#include "analysis/spot_search.h"
#include "analysis/tilt.h"
#include "analysis/wave_length.h"
#include "base/convert.h"
#include "commands/file_commands.h"
#include "commands/histogram_commands.h"
#include "commands/nax_graph_commands.h"
#include "commands/parameter_controls.h"
#include "commands/parameter_io.h"
#include "commands/settings_commands.h"
#include "commands/spot_commands.h"
#include "image/files/mask_files.h"
#include "image/files/settings_file.h"
#include "image/image_store.h"
#include "model/macro_recorder.h"
#include "model/parameter_table.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

constexpr int32_t kFindCenterRounds = 10;

// Set while the command layer checks a radio button to show the model: the button's click
// handler, which the program's windows run for a check in code, then leaves the command to
// the caller, which runs it once.
bool showing_choice = false;

// The common tail of every commit: read the edits, redraw, record.
void commit(const std::string& line) {
  read_parameters(current_image().ImageHeight);
  image_window().redraw_image();
  if (!line.empty()) state().macro.record(line);
}

// With an image, reads the edits into the parameters; without one, logs the line and says so.
bool read_parameters_of_image(const char* no_image_line) {
  if (current_image().NoImageFlag == 1) {
    log_line(no_image_line);
    return false;
  }
  read_parameters(current_image().ImageHeight);
  return true;
}

void write_centre(double x, double y) {
  controls().set_text(frmMain::edtCenterX0, FloatToStr(x));
  controls().set_text(frmMain::edtCenterY0, FloatToStr(y));
  read_parameters(current_image().ImageHeight);
  image_window().redraw_image();
}

}  // namespace

void init_program_state() {
  SharedState& st = state();
  IntegrationParams& p = st.integration_params;
  p.X0 = p.Y0 = p.pixel_x = p.pixel_y = p.Lo = p.wavelength = p.Beta = p.Phi = 0;
  p.two_theta_begin = p.two_theta_end = p.two_theta_step = 0;
  p.band_width = 0;
  p.graph_x_begin = p.graph_x_end = 0;
  p.graph_2theta_begin = p.graph_2theta_end = 0;
  current_image().NoImageFlag = 1;
  bg_image().NoImageFlag = 1;
  st.nax_pattern.kind = {1, 1, 1, 1, 1};
  p.RectDirection = 0;
  st.display_scale.DisplayMode = 1;
  st.OmitGreen = st.OmitBlue = false;
  st.image_view = ImageView{};
  st.WindowShow = 1;
  st.macro.MacroList.clear();
  st.macro.MacroRecording = false;
  init_graph_size();
}

void start_program_state() {
  init_program_state();
  read_settings_file(settings_file_path());
  take_header_locks();  // the boxes as the window and its settings left them
  // The geometry follows what the window shows from the start: left at zero, the first
  // image loaded would write the zeros into the edits (a 2theta step of 0, say) and every
  // analysis would refuse until the user retyped them.
  try {
    read_parameters(current_image().ImageHeight);
  } catch (const ConversionError&) {
  }
}

void parameter_edit_key(ControlName edit, int key) {
  if (key != kEnterKey || current_image().NoImageFlag == 1) return;
  const Parameter* p = parameter_of(edit);
  if (!p) return;
  const bool integer = p->kind == ParameterKind::kInteger;
  commit(p->script.empty() ? std::string() : setter_line(*p, recorded_number(controls().text(edit), integer)));
}

void parameter_control_changed(ControlName control) { mark_parameter_changed(control); }

bool set_choice(const Parameter& row, int32_t value) {
  const bool clicked = checked_choice(row) != value &&
                       std::any_of(row.radios.begin(), row.radios.end(), [value](auto& r) { return r.value == value; });
  showing_choice = true;
  struct Reset {
    ~Reset() { showing_choice = false; }
  } reset;
  set_integer_parameter(row, value);
  return clicked;
}

void choose_choice(const Parameter& row, int32_t value) {
  if (!set_choice(row, value)) return;
  if (row.integer == &IntegrationParams::IntegrationMode) region_radio_clicked(value);
  if (row.integer == &IntegrationParams::RectAngleMode) rect_mode_radio_clicked(value);
}

void choose_radio(ControlName radio) {
  choose_choice(*parameter_of(radio), choice_value_of(radio));
}

void region_radio_clicked(int32_t mode) {
  mark_parameter_changed(frmMain::rbtnRectangle);
  if (showing_choice || state().LoadingFlag) return;
  state().integration_params.IntegrationMode = mode;
  commit(setter_line(*parameter_of(frmMain::rbtnRectangle), Format("%d", {mode})));
}

void rect_mode_radio_clicked(int32_t mode) {
  mark_parameter_changed(frmMain::rbtnRect_Direction);
  if (showing_choice || state().LoadingFlag) return;
  state().integration_params.RectAngleMode = mode;
  commit(setter_line(*parameter_of(frmMain::rbtnRect_Direction), Format("%d", {mode})));
}

void direction_changed() {
  mark_parameter_changed(frmMain::cmbDirection);
  if (state().LoadingFlag) return;
  const int32_t index = controls().item_index(frmMain::cmbDirection);
  state().integration_params.RectDirection = index;
  commit(setter_line(*parameter_of(frmMain::cmbDirection), Format("%d", {index})));
}

void load_image_command() {
  load_img_dialog();
  log_window().show();
}

void straight_line_integration() {
  if (checked_choice(*parameter_named("IntegrationMode")) != 0 || checked_choice(*parameter_named("RectAngleMode")) != 0)
    return;
  const int32_t direction = state().integration_params.RectDirection;
  Report report = log_report();
  read_image_parameters_after(kLineIntegrationBanner, report);
  show_pattern(calc_line_integration(direction, report));
}

int32_t find_center_and_show() {
  state().macro.record("Kestrin.FindCenter();");
  Report report = log_report();
  if (!announce_find_center(report)) return 1;
  read_parameters(current_image().ImageHeight);
  const int32_t found = find_center(report);
  if (found == 0) {
    const IntegrationParams& centre = state().integration_params;
    controls().set_text(frmMain::edtCenterX0, Format("%10.5f", {centre.X0}));
    controls().set_text(frmMain::edtCenterY0, Format("%10.5f", {shown_y(centre.Y0)}));
    image_window().redraw_image();
  }
  return found;
}

void find_center_command(bool redraw) {
  if (current_image().NoImageFlag == 1) return;
  find_center_and_show();
  if (redraw) image_window().redraw_image();
}

// Without an image the search says so once and stops; a dismissed question about the start
// stops it before anything changes.
void find_center_without_direct(CentreRound round) {
  if (current_image().NoImageFlag == 1) {
    log_line(" FindCenterNoDirect() : Image data does not exist.");
    return;
  }
  run_long("FindCenterNoDirect", [round] {
    double x = 0, y = 0;
    const YesNo start = prompts().ask_yes_no("Use current CenterX,Y for Initial?");
    if (start == YesNo::kDismissed) return;
    if (start == YesNo::kYes) {
      x = StrToFloat(controls().text(frmMain::edtCenterX0));
      y = StrToFloat(controls().text(frmMain::edtCenterY0));
    } else {
      x = current_image().ImageWidth / 2.0;
      y = current_image().ImageHeight / 2.0;
      write_centre(x, y);
    }
    for (int32_t i = 0; i < kFindCenterRounds; ++i) {
      round(x, y);
      write_centre(x, y);
      pump_events();
    }
  });
}

void spot_search_command() {
  const ImageStore& img = current_image();
  spot_search_with_settings(0, 0, img.ImageWidth, img.ImageHeight, false);
  show_spot_list();
}

void find_center_without_direct_round(double& x, double& y) {
  double NewX = 0, NewY = 0;
  // The strips are rectangles along the image's axes, kNoDirectStripBand pixels wide.
  choose_radio(frmMain::rbtnRectangle);
  controls().set_text(frmMain::edtBandWidth, kNoDirectStripBand);
  choose_radio(frmMain::rbtnRect_Direction);
  Report report = log_report();
  // Each strip's histogram works on the edits as the window shows them, its direction
  // included.
  const StripSteps steps{[] {
                           controls().set_item_index(frmMain::cmbDirection, state().integration_params.RectDirection);
                           read_parameters(current_image().ImageHeight);
                         },
                         &show_pattern, &peak_search_done};
  FindCenterNoDirect(NewX, NewY, report, steps);
  x = NewX, y = shown_y(NewY);
}

void find_center_without_direct_command() { find_center_without_direct(&find_center_without_direct_round); }

void auto_analysis_command() {
  if (!read_parameters_of_image(" auto_analysis() : Image data does not exist.")) return;
  find_center_and_show();
  sectoring_command();
  peak_search_and_show();
  calc_tilt_command();
  pixel_intensity_command();
  peak_search_and_show();
}
void import_mask_command() {
  FileDialogs& dialogs = file_dialogs();
  FileDialogSetup setup = dialogs.open_state();
  setup.filter = "bmp file (*.bmp)|*.BMP";
  setup.default_ext = "bmp";
  setup.must_exist = true;
  setup.overwrite_prompt = false;
  setup.folder = state().dialog_slots.folder[kSlotMaskOpen];
  setup.filter_index = state().dialog_slots.filter_index[kSlotMaskOpen];
  setup.file_name.clear();
  const std::string name = dialogs.run_open(setup);
  Report report = log_report();
  if (import_mask_file(name, dialogs.open_filter_index(), report)) image_window().redraw_image();
}
int32_t calc_tilt_command() {
  state().macro.record("Kestrin.CalcTilt();");
  Report report = log_report();
  const TiltResult tilt = calc_tilt(report);
  if (tilt.determined) {
    const IntegrationParams& p = state().integration_params;
    controls().set_text(frmMain::edtBeta, Format("%8.3f", {p.Beta}));
    controls().set_text(frmMain::edtPhi, Format("%10.6f", {p.Phi}));
  }
  return tilt.status;
}

void peak_search_menu_command() {
  if (peak_search_and_show() != 0) log_line(" peak_search() : Pattern data does not exist. Make a pattern first.");
}

void calc_tilt_menu_command() {
  if (calc_tilt_command() != 0)
    log_line(" calc_tilt() : The tilt needs the 16 sectors' pixel patterns of \"Sectoring\"; run it first.");
}
void calc_wave_length_command() {
  if (!read_parameters_of_image(" calc_wave_length() : Image data does not exist.")) return;
  angle_intensity_command();
  peak_search_and_show();
  Report report = log_report();
  if (const std::optional<double> lambda = calc_wave_length(report))
    controls().set_text(frmMain::edtLambda, Format("%7.5f", {*lambda}));
}
void show_spot_list_command() { show_spot_list(); }

}  // namespace kestrin
