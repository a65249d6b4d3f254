// The Kestrin object's method table: each method calls the routine its menu item or button
// calls; the Get/Set pairs and the header-lock setters come from the parameter table.
#include "commands/kestrin_methods.h"

#include <stdexcept>
#include <vector>

#include "analysis/center.h"
#include "analysis/dispatch.h"
#include "analysis/peak_search.h"
#include "analysis/spot_find.h"
#include "commands/image_form_commands.h"
#include "image/files/mask_files.h"
#include "image/files/param_file.h"
#include "image/files/pattern_files.h"
#include "image/image_loader.h"
#include "image/image_mask.h"
#include "image/image_store.h"
#include "model/parameters.h"
#include "model/state.h"

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

// Get<P> and Set<P> of a parameter-table row; the header locks have the setter only.
void add_parameter_methods(Table& t, const Parameter& p) {
  if (!p.has(kScriptSetsOnly))
    t.push_back({"Get" + std::string(p.script), 0, [&p](const Args&) -> Result {
                   const ParameterValue v = parameter_value(p);
                   if (const double* real = std::get_if<double>(&v)) return *real;
                   return std::get<int32_t>(v);
                 }});
  t.push_back({"Set" + std::string(p.script), 1, [&p](const Args& a) -> Result {
                 if (p.kind == ParameterKind::kReal)
                   set_real_parameter(p, a.number(0));
                 else
                   set_integer_parameter(p, a.integer(0));
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
  if (i < 0 || i >= kPatternSize) return {};
  return double(state().nax_pattern.values[size_t(i)]);
}

Result pixel_intensity(const Args& a) {
  const ImageStore& img = current_image();
  const int32_t x = a.integer(0), y = a.integer(1);
  if (x < 0 || y < 0 || x >= img.ImageWidth || y >= img.ImageHeight ||
      int64_t(img.image_codes.size()) != int64_t(img.ImageWidth) * img.ImageHeight)
    throw std::out_of_range("pixel outside the image");
  return img.intensity(x, y);
}

// SaveNaxFile2 (ext) and SaveNaxFile3 (ext, n): the pattern beside the loaded image.
Result save_beside_image(const Args& a, bool numbered) {
  const int32_t number = numbered ? a.integer(1) : 0;
  if (auto path = pattern_path_beside_image(a.text(0), numbered ? &number : nullptr)) save_nax_proc(*path);
  return {};
}

Table make_table() {
  Table t;
  t.push_back({"LoadImageFile", 1, [](const Args& a) -> Result { return int32_t(load_img_proc(a.text(0))); }});
  add_file_method(t, "LoadParamFile", &load_param_proc);
  add_file_method(t, "LoadMaskFile", &load_mask_proc);
  add_file_method(t, "SaveParamFile", &save_param_proc);
  add_file_method(t, "SaveMaskFile", &save_mask_proc);
  add_file_method(t, "LoadNaxFile", &load_nax_proc);
  add_file_method(t, "SaveNaxFile", &save_nax_proc);
  for (const Parameter& p : parameter_table())
    if (!p.script.empty() && !p.has(kScriptSetsOnly)) add_parameter_methods(t, p);
  add_action(t, "AngleIntensity", &calc_angle_histogram_selection);
  add_action(t, "FineAngleIntensity", &calc_fine_angle_histogram_selection);
  add_action(t, "FindCenter", &find_center);
  add_action(t, "FindSpot", &find_spot);
  add_action(t, "PeakSearch", &peak_search);
  add_action(t, "ClearMask", &clear_mask_command);
  t.push_back({"GetPeakData", 2, &peak_data});
  t.push_back({"GetNaxIntensity", 1, &nax_intensity});
  t.push_back({"GetPixelIntensity", 2, &pixel_intensity});
  t.push_back({"GetMaxPeakNumber", 0, [](const Args&) -> Result { return state().peak_table.count; }});
  for (const Parameter& p : parameter_table())
    if (p.has(kScriptSetsOnly)) add_parameter_methods(t, p);
  t.push_back({"SetWindowShow", 1, [](const Args& a) -> Result {
                 const int32_t v = a.integer(0);
                 if (v == 0 || v == 1) state().WindowShow = uint8_t(v);
                 return {};
               }});
  t.push_back({"SaveNaxFile2", 1, [](const Args& a) { return save_beside_image(a, false); }});
  t.push_back({"SaveNaxFile3", 2, [](const Args& a) { return save_beside_image(a, true); }});
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
