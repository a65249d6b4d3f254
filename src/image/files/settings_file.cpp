// The settings file: positional reading into the main window and the shared state, and
// writing back.
#include "image/files/settings_file.h"

#include <filesystem>
#include <optional>

#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "model/state.h"
#include "ports/log.h"
#include "ports/ports.h"
#include "ports/names/main_form_names.h"

namespace kestrin {

namespace {

constexpr std::uintmax_t kMaxSettingsBytes = 1 << 20;  // a settings file is a few hundred bytes

// Lines 1 to 15: the parameter edits, with the field each one sets (null: text only).
struct EditLine {
  ControlName edit;
  double IntegrationParams::*field;
};
constexpr EditLine kEditLines[] = {
    {frmMain::edt2ThetaBegin, &IntegrationParams::two_theta_begin},
    {frmMain::edt2ThetaEnd, &IntegrationParams::two_theta_end},
    {frmMain::edt2ThetaStep, &IntegrationParams::two_theta_step},
    {frmMain::edtCameraLength, &IntegrationParams::Lo},
    {frmMain::edtLambda, &IntegrationParams::wavelength},
    {frmMain::edtPixelX, &IntegrationParams::pixel_x},
    {frmMain::edtPixelY, &IntegrationParams::pixel_y},
    {frmMain::edtBeta, &IntegrationParams::Beta},
    {frmMain::edtPhi, &IntegrationParams::Phi},
    {frmMain::edtBandWidth, nullptr},  // an integer, handled apart
    {frmMain::edtRectAngle, nullptr},
    {frmMain::edtSectorStartAngle, nullptr},
    {frmMain::edtSectorEndAngle, nullptr},
    {frmMain::edtCenterX0, &IntegrationParams::X0},
    {frmMain::edtCenterY0, &IntegrationParams::Y0},
};
constexpr int kBandLine = 10;

// Lines 17 to 24: radio buttons and check boxes.
constexpr ControlName kCheckLines[] = {frmMain::rbtnRectangle, frmMain::rbtnSector, frmMain::rbtnRect_Direction, frmMain::rbtnRect_Angle,
                                       frmMain::chkLo,         frmMain::chkwl,      frmMain::chkpsx,             frmMain::chkpsy};

// Reads lines by number (1-based); past the end every line is empty.
class Lines {
public:
  explicit Lines(const std::vector<std::string>& lines) : lines_(lines) {}
  const std::string& next() {
    static const std::string empty;
    return pos_ < lines_.size() ? lines_[pos_++] : (++pos_, empty);
  }

private:
  const std::vector<std::string>& lines_;
  size_t pos_ = 0;
};

// Lines 1 to 15; false when a line that must convert does not.
bool read_edit_lines(Lines& in) {
  IntegrationParams& p = state().integration_params;
  int line = 0;
  for (const EditLine& e : kEditLines) {
    ++line;
    const std::string& text = in.next();
    controls().set_text(e.edit, text);  // the text goes in before it is converted
    if (line == kBandLine) {
      auto v = TryStrToInt(text);
      if (!v) return false;
      p.band_width = *v;
      continue;
    }
    if (!e.field) continue;
    auto v = TryStrToFloat(text);
    if (!v) return false;
    p.*e.field = *v;
    if (e.field == &IntegrationParams::pixel_y && p.pixel_x != 0) p.pixel_ratio = p.pixel_y / p.pixel_x;
  }
  return true;
}

// Lines 16 to 40; false when a line does not convert.
bool read_choice_and_folder_lines(Lines& in) {
  auto direction = TryStrToInt(in.next());
  if (!direction) return false;
  controls().set_item_index(frmMain::cmbDirection, *direction);
  state().integration_params.RectDirection = controls().item_index(frmMain::cmbDirection);
  for (const ControlName& name : kCheckLines) {
    auto v = TryStrToInt(in.next());
    if (!v) return false;
    controls().set_checked(name, *v == 1);
  }
  FileDialogSlots& slots = state().dialog_slots;
  for (auto& folder : slots.folder) folder = in.next();
  for (auto& index : slots.filter_index) {
    auto v = TryStrToInt(in.next());
    if (!v) return false;
    index = *v;
  }
  return true;
}

// Lines 41 to 54; false when a line without a fall-back value does not convert.
bool read_option_lines(Lines& in) {
  Options& o = state().options;
  in.next();  // the vertical reversal is never restored
  o.VerticalReverse = 0;
  o.CenterMarker = TryStrToInt(in.next()).value_or(1);
  o.HwhmPixel = TryStrToFloat(in.next()).value_or(3.0);
  o.HwhmTheta = TryStrToFloat(in.next()).value_or(0.1);
  o.DistanceSetting = TryStrToInt(in.next()).value_or(0);
  o.GradationReverse = in.next() == "0" ? 0 : 1;
  for (TColor& c : state().colours.colour) {
    auto v = TryStrToInt(in.next());
    if (!v) return false;
    c = TColor(*v);
  }
  auto clear_mask = TryStrToInt(in.next());
  if (!clear_mask) return false;
  o.ClearMask = *clear_mask;
  o.FitType = TryStrToInt(in.next()).value_or(0);
  return true;
}

std::string flag(bool on) { return on ? "1" : "0"; }

}  // namespace

std::string settings_file_path() { return config_folder() + "Kestrin.kes"; }

void read_settings_lines(const std::vector<std::string>& lines) {
  state().LoadingFlag = true;
  Lines in(lines);
  (void)(read_edit_lines(in) && read_choice_and_folder_lines(in) && read_option_lines(in));
  state().LoadingFlag = false;
}

void read_settings_file(const std::string& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  std::string bytes;
  if (ec || size > kMaxSettingsBytes || !read_file_bytes(path, bytes)) {
    state().LoadingFlag = false;
    return;
  }
  read_settings_lines(split_lines(bytes));
}

std::vector<std::string> settings_file_lines() {
  const SharedState& st = state();
  std::vector<std::string> out;
  for (const EditLine& e : kEditLines) out.push_back(controls().text(e.edit));
  out.push_back(Format("%d", {controls().item_index(frmMain::cmbDirection)}));
  for (const ControlName& name : kCheckLines) out.push_back(flag(controls().checked(name)));
  for (const auto& folder : st.dialog_slots.folder) out.push_back(folder);
  for (int32_t index : st.dialog_slots.filter_index) out.push_back(Format("%d", {index}));
  const Options& o = st.options;
  out.push_back(Format("%d", {int32_t(o.VerticalReverse)}));
  out.push_back(Format("%d", {o.CenterMarker}));
  out.push_back(Format("%8.4f", {o.HwhmPixel}));
  out.push_back(Format("%8.4f", {o.HwhmTheta}));
  out.push_back(Format("%d", {o.DistanceSetting}));
  out.push_back(flag(o.GradationReverse != 0));
  for (TColor c : st.colours.colour) out.push_back(Format("%d", {int32_t(c)}));
  out.push_back(Format("%d", {o.ClearMask}));
  out.push_back(Format("%d", {o.FitType}));
  return out;
}

bool save_settings_file(const std::string& path) {
  if (path == settings_file_path()) ensure_config_folder();
  std::string error;
  if (write_text_file(path, settings_file_lines(), &error)) return true;
  log_line("The settings could not be saved to " + path + ": " + error);
  return false;
}

}  // namespace kestrin
