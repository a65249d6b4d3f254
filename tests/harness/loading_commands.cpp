// Harness commands of image loading and the geometry: the file commands, the Get/Set
// pairs of the geometry parameters, the header locks and GetPixelIntensity.
#include <stdexcept>

#include "base/convert.h"
#include "harness/harness.h"
#include "model/parameters.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "image/files/param_file.h"
#include "ports/ports.h"
#include "ports/names/main_form_names.h"

namespace kestrin::harness {

namespace {

using Result = std::optional<std::string>;

// A one-argument file command: without an argument nothing is called.
void add_file_command(Registry& r, const char* name, void (*proc)(const std::string&)) {
  r.add(name, [proc](const Args& a) -> Result {
    if (!a.empty()) proc(a[0]);
    return std::nullopt;
  });
}

void add_geometry_pair(Registry& r, const Parameter& p) {
  r.add("Get" + std::string(p.script), [&p](const Args&) -> Result { return FloatToStr(state().integration_params.*p.real); });
  r.add("Set" + std::string(p.script), [&p](const Args& a) -> Result {
    if (!a.empty()) set_real_parameter(p, StrToFloat(a[0]));
    return std::nullopt;
  });
}

// SetLoCheck and its kin: 0 unchecks, 1 checks, other values do nothing.
void add_lock_setter(Registry& r, const char* name, ControlName check_box) {
  r.add(name, [check_box](const Args& a) -> Result {
    if (a.empty()) return std::nullopt;
    const std::optional<int32_t> v = TryStrToInt(a[0]);
    if (v && (*v == 0 || *v == 1)) controls().set_checked(check_box, *v == 1);
    return std::nullopt;
  });
}

Result pixel_intensity(const Args& a) {
  if (a.size() < 2) return std::nullopt;
  const ImageStore& img = current_image();
  const int32_t x = Round(StrToFloat(a[0])), y = Round(StrToFloat(a[1]));
  if (x < 0 || y < 0 || x >= img.ImageWidth || y >= img.ImageHeight ||
      int64_t(img.image_codes.size()) != int64_t(img.ImageWidth) * img.ImageHeight)
    throw std::out_of_range("pixel outside the image");
  return FloatToStr(img.intensity(x, y));
}

}  // namespace

void register_loading_commands(Registry& r) {
  r.add("LoadImageFile", [](const Args& a) -> Result {
    if (a.empty()) return std::nullopt;
    return Format("%d", {load_img_proc(a[0])});
  });
  add_file_command(r, "LoadParamFile", &load_param_proc);
  add_file_command(r, "SaveParamFile", &save_param_proc);
  for (const Parameter& p : parameter_table())
    if (p.kind == ParameterKind::kReal && !p.script.empty()) add_geometry_pair(r, p);
  r.add("GetBand", [](const Args&) -> Result { return Format("%d", {state().integration_params.band_width}); });
  r.add("SetBand", [](const Args& a) -> Result {
    if (!a.empty()) set_integer_parameter(*parameter_named("Band"), Round(StrToFloat(a[0])));
    return std::nullopt;
  });
  add_lock_setter(r, "SetLoCheck", frmMain::chkLo);
  add_lock_setter(r, "SetWaveLengthCheck", frmMain::chkwl);
  add_lock_setter(r, "SetPixelSizeXCheck", frmMain::chkpsx);
  add_lock_setter(r, "SetPixelSizeYCheck", frmMain::chkpsy);
  r.add("GetPixelIntensity", &pixel_intensity);
}

}  // namespace kestrin::harness
