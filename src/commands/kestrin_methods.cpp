// The Kestrin object's method table: each method calls the routine its menu item or button
// calls; the Get/Set pairs and the header-lock setters come from the parameter table.
#include "commands/kestrin_methods.h"

#include <optional>
#include <vector>

#include "analysis/center.h"
#include "analysis/dispatch.h"
#include "analysis/peak_fitting.h"
#include "analysis/peak_search.h"
#include "analysis/sectored_histogram.h"
#include "base/convert.h"
#include "commands/file_commands.h"
#include "commands/histogram_commands.h"
#include "commands/image_form_commands.h"
#include "commands/main_form_commands.h"
#include "commands/nax_graph_commands.h"
#include "commands/parameter_controls.h"
#include "commands/peak_fitting_commands.h"
#include "commands/print_commands.h"
#include "image/files/mask_files.h"
#include "image/files/param_file.h"
#include "image/files/pattern_files.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "ports/names/option_form_names.h"
#include "ports/names/script_form_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

using Args = MethodArgs;
using Result = MethodResult;
using Table = std::vector<KestrinMethod>;

// A method that only runs a routine; a status the routine returns is not handed on.
template <class Status>
void add_action(Table& t, const char* name, Status (*routine)()) {
  t.push_back({name, 0, [routine](const Args&) -> Result {
                 routine();
                 return {};
               }});
}

// A method that hands its first argument, as a string, to a file routine.
void add_file_method(Table& t, const char* name, void (*routine)(const std::string&)) {
  t.push_back({name, 1, [routine](const Args& a) -> Result {
                 routine(a.text(0));
                 return {};
               }});
}

// Changing a combo box in code runs no handler, so a setter that changes one runs the
// combo's change command itself, as a user's choice would.
void run_change_command(const Parameter& p) {
  if (control_of(p).control == frmMain::cmbDirection) direction_changed();
}

// Get<P> and Set<P> of a parameter-table row; the header locks have the setter only. A
// setter that checks a radio button runs its click command, as checking one in code does.
void add_parameter_methods(Table& t, const Parameter& p) {
  if (!p.has(kScriptSetsOnly))
    t.push_back({"Get" + std::string(p.script), 0, [&p](const Args&) -> Result {
                   const ParameterValue v = parameter_value(p);
                   if (const double* real = std::get_if<double>(&v)) return *real;
                   return std::get<int32_t>(v);
                 }});
  t.push_back({"Set" + std::string(p.script), 1, [&p](const Args& a) -> Result {
                 if (p.kind == ParameterKind::kReal) {
                   set_real_parameter(p, a.number(0));
                 } else if (p.kind == ParameterKind::kChoice) {
                   choose_choice(p, a.integer(0));
                 } else {
                   set_integer_parameter(p, a.integer(0));
                   if (p.kind == ParameterKind::kIndex) run_change_command(p);
                 }
                 return {};
               }});
}

// Entry i of the peak table: k = 0 x, 1 2theta, 2 d, 3 intensity; nothing for other k or
// an i outside the table's 501 entries.
Result peak_data(const Args& a) {
  const int32_t i = a.integer(0), k = a.integer(1);
  if (i < 0 || i > kMaxPeaks) return {};
  const PeakTable& t = state().peak_table;
  const size_t u = size_t(i);
  switch (k) {
    case 0: return t.x[u];
    case 1: return t.two_theta[u];
    case 2: return t.d[u];
    case 3: return t.intensity[u];
    default: return {};
  }
}

// Point i of the current pattern; nothing outside its 36001 points.
Result nax_intensity(const Args& a) {
  const int32_t i = a.integer(0);
  const std::vector<int32_t>& values = state().nax_pattern.values;
  if (i < 0 || size_t(i) >= values.size()) return {};
  return double(values[size_t(i)]);
}

// The intensity of pixel (x, y); nothing without an image, outside it, or when the codes
// do not cover its size.
Result pixel_intensity(const Args& a) {
  const ImageStore& img = current_image();
  const int32_t x = a.integer(0), y = a.integer(1);
  if (img.NoImageFlag == 1 || x < 0 || y < 0 || x >= img.ImageWidth || y >= img.ImageHeight ||
      int64_t(img.image_codes.size()) != int64_t(img.ImageWidth) * img.ImageHeight)
    return {};
  return img.intensity(x, y);
}

// SaveNaxFile2 (ext) and SaveNaxFile3 (ext, n): the pattern beside the loaded image. The
// image extensions are refused silently; without an image there is nowhere to put it.
Result save_beside_image(const Args& a, bool numbered) {
  const int32_t number = numbered ? a.integer(1) : 0;
  const auto path = pattern_path_beside_image(a.text(0), numbered ? &number : nullptr);
  if (!path) return {};
  if (current_image().ImageBaseName.empty()) {
    log_line(numbered ? " SaveNaxFile3() : Image data does not exist." : " SaveNaxFile2() : Image data does not exist.");
    return {};
  }
  save_nax_command(*path);
  return {};
}

// The point count n of Test and LineFit when the call holds 1 + 2n arguments; nothing
// when it holds fewer (n <= 0 needs none beyond n itself).
std::optional<int32_t> point_count(const Args& a) {
  const int32_t n = a.integer(0);
  if (n > 0 && int64_t(a.count()) < 1 + 2 * int64_t(n)) return std::nullopt;
  return n;
}

// Test (n, x1..xn, y1..yn): the sum of the 2n numbers.
Result test_sum(const Args& a) {
  const auto n = point_count(a);
  if (!n) return {};
  double sum = 0;
  for (int64_t i = 1; i <= 2 * int64_t(*n); ++i) sum += a.number(size_t(i));
  return sum;
}

void set_cell(ControlName cell, double value) { controls().set_text(cell, FloatToStr(value)); }
double cell_value(ControlName cell) { return StrToFloat(controls().text(cell)); }

// LineFit (n, x1, y1, ..., xn, yn): the least-squares line y = a + b x, intercept into
// edtValue1 and slope into edtValue2; 1 when the points fix no line.
Result line_fit(const Args& a) {
  const auto n = point_count(a);
  if (!n) return {};
  double s = 0, sx = 0, sy = 0, sxy = 0, sxx = 0;
  for (int32_t i = 1; i <= *n; ++i) {
    const double x = a.number(2 * size_t(i) - 1), y = a.number(2 * size_t(i));
    s += 1.0;
    sx += x;
    sy += y;
    sxy += x * y;
    sxx += x * x;
  }
  const double det = s * sxx - sx * sx;
  if (det == 0) return int32_t(1);
  set_cell(frmScript::edtValue1, (sy * sxx - sx * sxy) / det);
  set_cell(frmScript::edtValue2, (s * sxy - sx * sy) / det);
  return {};
}

void add_cell_methods(Table& t, const char* get, const char* set, ControlName cell) {
  t.push_back({get, 0, [cell](const Args&) -> Result { return cell_value(cell); }});
  t.push_back({set, 1, [cell](const Args& a) -> Result {
                 set_cell(cell, a.number(0));
                 return {};
               }});
}

// SetClearMask: 0 clears the option and its check box, any other value sets both.
Result set_clear_mask(const Args& a) {
  const bool on = a.integer(0) != 0;
  controls().set_checked(frmOption::chkClearMask, on);
  state().options.ClearMask = on ? 1 : 0;
  return {};
}

void add_file_methods(Table& t) {
  t.push_back({"LoadImageFile", 1, [](const Args& a) -> Result { return int32_t(load_img_proc(a.text(0))); }});
  add_file_method(t, "LoadParamFile", &load_param_command);
  add_file_method(t, "LoadMaskFile", &load_mask_command);
  add_file_method(t, "SaveParamFile", &save_param_command);
  add_file_method(t, "SaveMaskFile", &save_mask_command);
  add_file_method(t, "LoadNaxFile", &load_nax_command);
  add_file_method(t, "SaveNaxFile", &save_nax_command);
}

void add_analysis_methods(Table& t) {
  add_action(t, "AngleIntensity", &angle_intensity_command);
  add_action(t, "PixelIntensity", &pixel_intensity_command);
  add_action(t, "FineAngleIntensity", &fine_angle_intensity_command);
  add_action(t, "FindCenter", &find_center_and_show);
  add_action(t, "FindSpot", &find_spot_command);
  add_action(t, "Sectoring", &sectoring_command);
  add_action(t, "PeakSearch", &peak_search_and_show);
  add_action(t, "PeakFitting", &peak_fitting_cfdqr2_and_show);
  add_action(t, "CalcTilt", &calc_tilt_command);
  add_action(t, "PrintImage", &print_image_command);
  add_action(t, "PrintNax", &print_graph_command);
  add_action(t, "AutoAnalysis", &auto_analysis_command);
}

void add_result_methods(Table& t) {
  t.push_back({"GetPeakData", 2, &peak_data});
  t.push_back({"GetNaxIntensity", 1, &nax_intensity});
  t.push_back({"GetPixelIntensity", 2, &pixel_intensity});
  t.push_back({"GetMaxPeakNumber", 0, [](const Args&) -> Result { return state().peak_table.count; }});
}

void add_switch_methods(Table& t) {
  for (const Parameter& p : parameter_table())
    if (p.has(kScriptSetsOnly)) add_parameter_methods(t, p);
  t.push_back({"SetWindowShow", 1, [](const Args& a) -> Result {
                 const int32_t v = a.integer(0);
                 if (v == 0 || v == 1) state().WindowShow = uint8_t(v);
                 return {};
               }});
  t.push_back({"SaveNaxFile2", 1, [](const Args& a) { return save_beside_image(a, false); }});
  t.push_back({"SaveNaxFile3", 2, [](const Args& a) { return save_beside_image(a, true); }});
  add_action(t, "LoadImageFileSelect", &load_img_dialog);
}

void add_number_methods(Table& t) {
  t.push_back({"Test", 1, &test_sum});
  add_cell_methods(t, "GetValue1", "SetValue1", frmScript::edtValue1);
  add_cell_methods(t, "GetValue2", "SetValue2", frmScript::edtValue2);
  t.push_back({"LineFit", 1, &line_fit});
  add_action(t, "ClearMask", &clear_mask_command);
  t.push_back({"GetClearMask", 0, [](const Args&) -> Result { return state().options.ClearMask; }});
  t.push_back({"SetClearMask", 1, &set_clear_mask});
}

Table make_table() {
  Table t;
  add_file_methods(t);
  for (const Parameter& p : parameter_table())
    if (!p.script.empty() && !p.has(kScriptSetsOnly)) add_parameter_methods(t, p);
  add_analysis_methods(t);
  add_result_methods(t);
  add_switch_methods(t);
  add_number_methods(t);
  return t;
}

}  // namespace

std::span<const KestrinMethod> kestrin_methods() {
  static const Table table = make_table();
  return table;
}

const KestrinMethod* find_kestrin_method(std::string_view name) {
  for (const KestrinMethod& m : kestrin_methods())
    if (m.name == name) return &m;
  return nullptr;
}

MethodResult call_kestrin_method(const KestrinMethod& method, const MethodArgs& args) {
  if (args.count() < method.arguments) return {};
  return method.run(args);
}

}  // namespace kestrin
