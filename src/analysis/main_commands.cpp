// The main window's commands without widgets.
#include "analysis/main_commands.h"

#include <string>

#include "analysis/center.h"
#include "analysis/graph_layout.h"
#include "analysis/line_integration.h"
#include "analysis/parameters.h"
#include "base/convert.h"
#include "image/file_commands.h"
#include "image/image_store.h"
#include "image/state.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

constexpr ParameterEdit kParameterEdits[] = {
    {"edt2ThetaBegin", "Set2ThetaBegin"},
    {"edt2ThetaEnd", "Set2ThetaEnd"},
    {"edt2ThetaStep", "Set2ThetaStep"},
    {"edtCameraLength", "SetLo"},
    {"edtLambda", "SetWaveLength"},
    {"edtPixelX", "SetPixelSizeX"},
    {"edtPixelY", "SetPixelSizeY"},
    {"edtBeta", "SetBeta"},
    {"edtPhi", "SetPhi"},
    {"edtBandWidth", "SetBand"},
    {"edtRectAngle", "SetRectAngle"},
    {"edtSectorStartAngle", "SetSectorAngleStart"},
    {"edtSectorEndAngle", "SetSectorAngleEnd"},
    // No script method sets the division angle: its value is taken, nothing is recorded.
    {"edtSectoredAngle", nullptr},
    {"edtCenterX0", "SetCenterX"},
    {"edtCenterY0", "SetCenterY"},
};

constexpr int32_t kFindCenterRounds = 10;

// The common tail of every commit: read the edits, redraw, record.
void commit(const std::string& line) {
  read_parameters();
  views().redraw_image();
  if (!line.empty()) state().macro.record(line);
}

void write_centre(double x, double y) {
  controls().set_text("edtCenterX0", FloatToStr(x));
  controls().set_text("edtCenterY0", FloatToStr(y));
  read_parameters();
  views().redraw_image();
}

}  // namespace

std::span<const ParameterEdit> parameter_edits() { return kParameterEdits; }

MainCommandHooks& main_command_hooks() {
  static MainCommandHooks hooks;
  return hooks;
}

void run_main_hook(void (*fn)(), std::string_view routine) {
  if (fn) fn();
  else log_not_available(routine);
}

void init_program_state() {
  SharedState& st = state();
  IntegrationParams& p = st.integration_params;
  p.X0 = p.Y0 = p.pixel_x = p.pixel_y = p.pixel_ratio = p.Lo = p.wavelength = p.Beta = p.Phi = 0;
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

void parameter_edit_key(std::string_view edit, int key) {
  if (key != kEnterKey || current_image().NoImageFlag == 1) return;
  for (const ParameterEdit& e : kParameterEdits) {
    if (e.edit != edit) continue;
    commit(e.method ? std::string("Kestrin.") + e.method + "(" + controls().text(edit) + ");" : std::string());
    return;
  }
}

void region_radio_clicked(int32_t mode) {
  if (state().LoadingFlag) return;
  state().integration_params.IntegrationMode = mode;
  commit(Format("Kestrin.SetIntegrationMode(%d);", {mode}));
}

void rect_mode_radio_clicked(int32_t mode) {
  if (state().LoadingFlag) return;
  state().integration_params.RectAngleMode = mode;
  commit(Format("Kestrin.SetRectAngleMode(%d);", {mode}));
}

void direction_changed() {
  if (state().LoadingFlag) return;
  const int32_t index = controls().item_index("cmbDirection");
  state().integration_params.RectDirection = index;
  commit(Format("Kestrin.SetRectDirection(%d);", {index}));
}

void load_image_command() {
  load_img_dialog();
  views().show_form("frmLog");
}

void straight_line_integration() {
  if (!controls().checked("rbtnRectangle") || !controls().checked("rbtnRect_Direction")) return;
  calc_line_integration(state().integration_params.RectDirection);
}

void find_center_command(bool redraw) {
  if (current_image().NoImageFlag == 1) return;
  find_center();
  if (redraw) views().redraw_image();
}

void find_center_without_direct() {
  double x = 0, y = 0;
  if (prompts().confirm("Use current CenterX,Y for Initial?")) {
    x = StrToFloat(controls().text("edtCenterX0"));
    y = StrToFloat(controls().text("edtCenterY0"));
  } else {
    x = current_image().ImageWidth / 2.0;
    y = current_image().ImageHeight / 2.0;
    write_centre(x, y);
  }
  auto round = main_command_hooks().find_center_no_direct;
  if (!round) return log_not_available("FindCenterNoDirect");
  for (int32_t i = 0; i < kFindCenterRounds; ++i) {
    round(x, y);
    write_centre(x, y);
    views().process_messages();
  }
}

void spot_search_command() { run_main_hook(main_command_hooks().spot_search, "spot_search"); }

}  // namespace kestrin
