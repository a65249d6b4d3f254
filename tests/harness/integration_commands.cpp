// Harness commands of the ring integration: the region setters and getters, AngleIntensity,
// FineAngleIntensity and GetNaxIntensity. Setters store the value and write the main
// window's control, nothing else.
#include "analysis/dispatch.h"
#include "base/convert.h"
#include "harness/harness.h"
#include "model/state.h"
#include "ports/ports.h"
#include "ports/names/main_form_names.h"

namespace kestrin::harness {

namespace {

std::optional<std::string> real_result(double v) { return FloatToStr(v); }
std::optional<std::string> integer_result(int32_t v) { return std::to_string(v); }

IntegrationParams& params() { return state().integration_params; }

// An integer parameter whose setter also moves a control (`show`).
void add_integer(Registry& r, const std::string& name, int32_t IntegrationParams::*field, void (*show)(int32_t)) {
  r.add("Get" + name, [field](const Args&) { return integer_result(params().*field); });
  r.add("Set" + name, [field, show](const Args& a) -> std::optional<std::string> {
    if (a.empty()) return std::nullopt;
    params().*field = integer_arg(a[0]).value_or(0);
    show(params().*field);
    return std::nullopt;
  });
}

}  // namespace

void register_integration_commands(Registry& r) {
  add_integer(r, "IntegrationMode", &IntegrationParams::IntegrationMode, [](int32_t v) {
    if (v == 0) controls().set_checked(frmMain::rbtnRectangle, true);
    if (v == 1) controls().set_checked(frmMain::rbtnSector, true);
    // The main window records 2 for its sectored-division radio; a replay selects it again.
    if (v == 2) controls().set_checked(frmMain::rbtnSectoredDivision, true);
  });
  add_integer(r, "RectAngleMode", &IntegrationParams::RectAngleMode, [](int32_t v) {
    if (v == 0) controls().set_checked(frmMain::rbtnRect_Direction, true);
    if (v == 1) controls().set_checked(frmMain::rbtnRect_Angle, true);
  });
  add_integer(r, "RectDirection", &IntegrationParams::RectDirection,
              [](int32_t v) { controls().set_item_index(frmMain::cmbDirection, v); });

  r.add("AngleIntensity", [](const Args&) -> std::optional<std::string> {
    calc_angle_histogram_selection();
    return std::nullopt;
  });
  r.add("FineAngleIntensity", [](const Args&) -> std::optional<std::string> {
    calc_fine_angle_histogram_selection();
    return std::nullopt;
  });
  // Point i of the current pattern; an index outside the pattern's 36001 points gives no value.
  r.add("GetNaxIntensity", [](const Args& a) -> std::optional<std::string> {
    if (a.empty()) return std::nullopt;
    const int32_t i = integer_arg(a[0]).value_or(0);
    if (i < 0 || i >= kPatternSize) return std::nullopt;
    return real_result(double(state().nax_pattern.values[size_t(i)]));
  });
}

}  // namespace kestrin::harness
