// The controls of the parameter table's rows.
#include "commands/parameter_controls.h"

#include <stdexcept>

#include "commands/parameter_io.h"
#include "ports/names/main_form_names.h"
#include "ports/names/nax_graph_names.h"

namespace kestrin {

namespace {

constexpr ControlName kRegionRadios[] = {frmMain::rbtnRectangle, frmMain::rbtnSector, frmMain::rbtnSectoredDivision};
constexpr ControlName kRectModeRadios[] = {frmMain::rbtnRect_Direction, frmMain::rbtnRect_Angle};

// One row per row of the parameter table, in its order. Columns: control, radios, start
// text, start value.
constexpr ParameterControl kControls[] = {
    {frmMain::edt2ThetaBegin, {}, "1.0"},
    {frmMain::edt2ThetaEnd, {}, "32.00"},
    {frmMain::edt2ThetaStep, {}, "0.020000"},
    {frmMain::edtCameraLength, {}, "500"},
    {frmMain::edtLambda, {}, "1.0"},
    {frmMain::edtPixelX, {}, "0.1"},
    {frmMain::edtPixelY, {}, "0.1"},
    {frmMain::edtBeta, {}, "324.000"},
    {frmMain::edtPhi, {}, "0.00000"},
    {frmMain::edtBandWidth, {}, "100"},
    {{}, kRegionRadios, {}, 2},
    {{}, kRectModeRadios, {}, 0},
    {frmMain::cmbDirection, {}, {}, 4},
    {frmMain::edtRectAngle, {}, "0.000000"},
    {frmMain::edtSectorStartAngle, {}, "0.00000"},
    {frmMain::edtSectorEndAngle, {}, "10.00000"},
    {frmMain::edtSectoredAngle, {}, "22.5"},
    {frmMain::edtCenterX0, {}, "906"},
    {frmMain::edtCenterY0, {}, "1989"},
    {frmMain::chkLo, {}, {}, 1},
    {frmMain::chkwl, {}, {}, 1},
    {frmMain::chkpsx, {}, {}, 1},
    {frmMain::chkpsy, {}, {}, 1},
    {frmNaxGraph::edtXBegin, {}, "0"},
    {frmNaxGraph::edtXEnd, {}, "100"},
    {frmNaxGraph::edtYBegin, {}, "0"},
    {frmNaxGraph::edtYEnd, {}, "10000"},
    {frmNaxGraph::edt2ThetaBegin, {}, "0.000000"},
    {frmNaxGraph::edt2ThetaEnd, {}, "0.000000"},
};

const ParameterControl& column(size_t row) {
  static const bool matches = std::size(kControls) == parameter_table().size();
  if (!matches) throw std::logic_error("the parameter controls do not match the parameter table");
  return kControls[row];
}

}  // namespace

const ParameterControl& control_of(const Parameter& p) { return column(row_index(p)); }

const Parameter* parameter_of(ControlName control) {
  for (const Parameter& p : parameter_table()) {
    const ParameterControl& c = control_of(p);
    if (p.kind != ParameterKind::kChoice && c.control == control) return &p;
    for (ControlName radio : c.radios)
      if (radio == control) return &p;
  }
  return nullptr;
}

int32_t choice_value_of(ControlName radio) {
  const Parameter* p = parameter_of(radio);
  if (!p || p->radios.empty()) return 0;
  const ParameterControl& c = control_of(*p);
  for (size_t i = 0; i < c.radios.size(); ++i)
    if (c.radios[i] == radio) return p->radios[i].value;
  return p->radios.front().value;
}

void mark_parameter_changed(ControlName control) {
  if (const Parameter* p = parameter_of(control)) mark_row_changed(*p);
}

void show_start_values(Controls& c) {
  for (const Parameter& p : parameter_table()) {
    const ParameterControl& pc = control_of(p);
    switch (p.kind) {
      case ParameterKind::kReal:
      case ParameterKind::kInteger: c.set_text(pc.control, pc.start_text); break;
      case ParameterKind::kIndex: c.set_item_index(pc.control, pc.start_value); break;
      case ParameterKind::kCheckBox: c.set_checked(pc.control, pc.start_value == 1); break;
      case ParameterKind::kChoice:
        for (size_t i = 0; i < p.radios.size(); ++i)
          if (p.radios[i].value == pc.start_value) c.set_checked(pc.radios[i], true);
        break;
    }
  }
}

}  // namespace kestrin
