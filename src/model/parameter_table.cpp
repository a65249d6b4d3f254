// The parameter table and the orders derived from it.
#include "model/parameter_table.h"

#include <algorithm>
#include <vector>

#include "ports/names/main_form_names.h"
#include "ports/names/nax_graph_names.h"

namespace kestrin {

namespace {

using P = IntegrationParams;
using K = ParameterKind;

constexpr RadioChoice kRegionRadios[] = {
    {frmMain::rbtnRectangle, 0, 17},
    {frmMain::rbtnSector, 1, 18},
    {frmMain::rbtnSectoredDivision, 2, 0},
};
constexpr RadioChoice kRectModeRadios[] = {
    {frmMain::rbtnRect_Direction, 0, 19},
    {frmMain::rbtnRect_Angle, 1, 20},
};

// One row per parameter, in the order of the script object's Get/Set pairs (the band width
// before the region radios, although its edit sits below the rectangle radio). Columns:
// script name, kind, control, radios, field, start text, start value, read order, settings
// line, parameter-file line, file format, shown format, header lock, rules.
const Parameter kTable[] = {
    {"2ThetaBegin", K::kReal, frmMain::edt2ThetaBegin, {}, &P::two_theta_begin, nullptr, "1.0", 0,
     15, 1, 13, "%10.6f", "%10.6f"},
    {"2ThetaEnd", K::kReal, frmMain::edt2ThetaEnd, {}, &P::two_theta_end, nullptr, "32.00", 0,
     16, 2, 14, "%10.6f", "%10.6f"},
    {"2ThetaStep", K::kReal, frmMain::edt2ThetaStep, {}, &P::two_theta_step, nullptr, "0.020000", 0,
     17, 3, 15, "%10.6f", "%10.6f", {}, kRewrittenOnRead},
    {"Lo", K::kReal, frmMain::edtCameraLength, {}, &P::Lo, nullptr, "500", 0,
     6, 4, 16, "%10.6f", "%10.6f", frmMain::chkLo},
    {"WaveLength", K::kReal, frmMain::edtLambda, {}, &P::wavelength, nullptr, "1.0", 0,
     18, 5, 17, "%10.6f", "%10.6f", frmMain::chkwl},
    {"PixelSizeX", K::kReal, frmMain::edtPixelX, {}, &P::pixel_x, nullptr, "0.1", 0,
     4, 6, 11, "%10.6f", "%10.6f", frmMain::chkpsx},
    {"PixelSizeY", K::kReal, frmMain::edtPixelY, {}, &P::pixel_y, nullptr, "0.1", 0,
     5, 7, 12, "%10.6f", "%10.6f", frmMain::chkpsy, kFormsPixelRatio},
    {"Beta", K::kReal, frmMain::edtBeta, {}, &P::Beta, nullptr, "324.000", 0,
     7, 8, 9, "%8.3f", "%8.3f"},
    {"Phi", K::kReal, frmMain::edtPhi, {}, &P::Phi, nullptr, "0.00000", 0,
     8, 9, 10, "%10.6f", "%8.3f"},
    {"Band", K::kInteger, frmMain::edtBandWidth, {}, nullptr, &P::band_width, "100", 0,
     1, 10, 8, "%6d", "%6d"},
    {"IntegrationMode", K::kChoice, {}, kRegionRadios, nullptr, &P::IntegrationMode, {}, 2,
     22},
    {"RectAngleMode", K::kChoice, {}, kRectModeRadios, nullptr, &P::RectAngleMode, {}, 0,
     24},
    {"RectDirection", K::kIndex, frmMain::cmbDirection, {}, nullptr, &P::RectDirection, {}, 4,
     19, 16},
    {"RectAngle", K::kReal, frmMain::edtRectAngle, {}, &P::rect_angle, nullptr, "0.000000", 0,
     23, 11, 0, nullptr, nullptr, {}, kSettingsTextOnly},
    {"SectorAngleStart", K::kReal, frmMain::edtSectorStartAngle, {}, &P::sector_start, nullptr, "0.00000", 0,
     20, 12, 0, nullptr, nullptr, {}, kSettingsTextOnly},
    {"SectorAngleEnd", K::kReal, frmMain::edtSectorEndAngle, {}, &P::sector_end, nullptr, "10.00000", 0,
     21, 13, 0, nullptr, nullptr, {}, kSettingsTextOnly | kWrapsNegativeSector},
    // No script method sets the division angle and no file keeps it.
    {"", K::kReal, frmMain::edtSectoredAngle, {}, &P::division_angle, nullptr, "22.5", 0,
     25, 0, 0, nullptr, nullptr, {}, kFormsSectorCount},
    {"CenterX", K::kReal, frmMain::edtCenterX0, {}, &P::X0, nullptr, "906", 0,
     2, 14, 6, "%10.5f", "%10.5f"},
    {"CenterY", K::kReal, frmMain::edtCenterY0, {}, &P::Y0, nullptr, "1989", 0,
     3, 15, 7, "%10.5f", "%10.5f", {}, kFlippedWhenReversed},
    // The header locks left of the Lo, wave length and pixel size rows.
    {"LoCheck", K::kCheckBox, frmMain::chkLo, {}, nullptr, nullptr, {}, 1,
     0, 21, 0, nullptr, nullptr, {}, kScriptSetsOnly},
    {"WaveLengthCheck", K::kCheckBox, frmMain::chkwl, {}, nullptr, nullptr, {}, 1,
     0, 22, 0, nullptr, nullptr, {}, kScriptSetsOnly},
    {"PixelSizeXCheck", K::kCheckBox, frmMain::chkpsx, {}, nullptr, nullptr, {}, 1,
     0, 23, 0, nullptr, nullptr, {}, kScriptSetsOnly},
    {"PixelSizeYCheck", K::kCheckBox, frmMain::chkpsy, {}, nullptr, nullptr, {}, 1,
     0, 24, 0, nullptr, nullptr, {}, kScriptSetsOnly},
    // The pattern graph window's view ranges.
    {"", K::kInteger, frmNaxGraph::edtXBegin, {}, nullptr, &P::graph_x_begin, "0", 0, 9,
     0, 0, nullptr, nullptr, {}, kKeptWhenNotANumber},
    {"", K::kInteger, frmNaxGraph::edtXEnd, {}, nullptr, &P::graph_x_end, "100", 0, 10,
     0, 0, nullptr, nullptr, {}, kKeptWhenNotANumber},
    {"", K::kInteger, frmNaxGraph::edtYBegin, {}, nullptr, &P::graph_y_begin, "0", 0, 11,
     0, 0, nullptr, nullptr, {}, kKeptWhenNotANumber},
    {"", K::kInteger, frmNaxGraph::edtYEnd, {}, nullptr, &P::graph_y_end, "10000", 0, 12,
     0, 0, nullptr, nullptr, {}, kKeptWhenNotANumber},
    {"", K::kReal, frmNaxGraph::edt2ThetaBegin, {}, &P::graph_2theta_begin, nullptr, "0.000000", 0, 13,
     0, 0, nullptr, nullptr, {}, kKeptWhenNotANumber},
    {"", K::kReal, frmNaxGraph::edt2ThetaEnd, {}, &P::graph_2theta_end, nullptr, "0.000000", 0, 14,
     0, 0, nullptr, nullptr, {}, kKeptWhenNotANumber},
};

std::vector<const Parameter*> ordered_by(int Parameter::*column) {
  std::vector<const Parameter*> rows;
  for (const Parameter& p : kTable)
    if (p.*column > 0) rows.push_back(&p);
  std::stable_sort(rows.begin(), rows.end(), [column](auto* a, auto* b) { return a->*column < b->*column; });
  return rows;
}

std::vector<SettingsEntry> make_settings_entries() {
  std::vector<SettingsEntry> entries;
  for (const Parameter& p : kTable) {
    if (p.settings_line > 0) entries.push_back({p.settings_line, &p, nullptr});
    for (const RadioChoice& r : p.radios)
      if (r.settings_line > 0) entries.push_back({r.settings_line, &p, &r});
  }
  std::stable_sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.line < b.line; });
  return entries;
}

}  // namespace

std::span<const Parameter> parameter_table() { return kTable; }

const Parameter* parameter_of(ControlName control) {
  for (const Parameter& p : kTable) {
    if (p.kind != ParameterKind::kChoice && p.control == control) return &p;
    for (const RadioChoice& r : p.radios)
      if (r.radio == control) return &p;
  }
  return nullptr;
}

const Parameter* parameter_named(std::string_view script) {
  if (script.empty()) return nullptr;
  for (const Parameter& p : kTable)
    if (p.script == script) return &p;
  return nullptr;
}

std::span<const Parameter* const> parameters_in_read_order() {
  static const std::vector<const Parameter*> rows = ordered_by(&Parameter::read_order);
  return rows;
}

std::span<const Parameter* const> parameters_in_file_order() {
  static const std::vector<const Parameter*> rows = ordered_by(&Parameter::file_line);
  return rows;
}

std::span<const SettingsEntry> settings_entries() {
  static const std::vector<SettingsEntry> entries = make_settings_entries();
  return entries;
}

std::string setter_line(const Parameter& p, std::string_view argument) {
  std::string line = "Kestrin.Set";
  line += p.script;
  line += '(';
  line += argument;
  return line + ");";
}

}  // namespace kestrin
