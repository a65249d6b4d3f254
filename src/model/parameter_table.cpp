// The parameter table and the orders derived from it.
#include "model/parameter_table.h"

#include <algorithm>
#include <vector>


namespace kestrin {

namespace {

using P = IntegrationParams;
using K = ParameterKind;

// The region radios (rectangle, sector, sectored division) and the rectangle mode radios
// (direction, angle).
constexpr RadioChoice kRegionRadios[] = {{0, 17}, {1, 18}, {2, 0}};
constexpr RadioChoice kRectModeRadios[] = {{0, 19}, {1, 20}};

// One row per parameter, in the order of the script object's Get/Set pairs (the band width
// before the region radios, although its edit sits below the rectangle radio). Columns:
// script name, kind, radios, field, read order, settings line, parameter-file line, file
// format, shown format, header lock, rules.
const Parameter kTable[] = {
    {"2ThetaBegin", K::kReal, {}, &P::two_theta_begin, nullptr, 15, 1, 13, "%10.6f", "%10.6f"},
    {"2ThetaEnd", K::kReal, {}, &P::two_theta_end, nullptr, 16, 2, 14, "%10.6f", "%10.6f"},
    {"2ThetaStep", K::kReal, {}, &P::two_theta_step, nullptr, 17, 3, 15, "%10.6f", "%10.6f", {}, kRewrittenOnRead},
    {"Lo", K::kReal, {}, &P::Lo, nullptr, 6, 4, 16, "%10.6f", "%10.6f", "LoCheck"},
    {"WaveLength", K::kReal, {}, &P::wavelength, nullptr, 18, 5, 17, "%10.6f", "%10.6f", "WaveLengthCheck"},
    {"PixelSizeX", K::kReal, {}, &P::pixel_x, nullptr, 4, 6, 11, "%10.6f", "%10.6f", "PixelSizeXCheck"},
    {"PixelSizeY", K::kReal, {}, &P::pixel_y, nullptr, 5, 7, 12, "%10.6f", "%10.6f", "PixelSizeYCheck", kFormsPixelRatio},
    {"Beta", K::kReal, {}, &P::Beta, nullptr, 7, 8, 9, "%8.3f", "%8.3f"},
    {"Phi", K::kReal, {}, &P::Phi, nullptr, 8, 9, 10, "%10.6f", "%8.3f"},
    {"Band", K::kInteger, {}, nullptr, &P::band_width, 1, 10, 8, "%6d", "%6d"},
    {"IntegrationMode", K::kChoice, kRegionRadios, nullptr, &P::IntegrationMode, 22},
    {"RectAngleMode", K::kChoice, kRectModeRadios, nullptr, &P::RectAngleMode, 24},
    {"RectDirection", K::kIndex, {}, nullptr, &P::RectDirection, 19, 16},
    {"RectAngle", K::kReal, {}, &P::rect_angle, nullptr, 23, 11, 0, nullptr, nullptr, {}, kSettingsTextOnly},
    {"SectorAngleStart", K::kReal, {}, &P::sector_start, nullptr, 20, 12, 0, nullptr, nullptr, {}, kSettingsTextOnly},
    {"SectorAngleEnd", K::kReal, {}, &P::sector_end, nullptr, 21, 13, 0, nullptr, nullptr, {}, kSettingsTextOnly | kWrapsNegativeSector},
    // No script method sets the division angle and no file keeps it.
    {"", K::kReal, {}, &P::division_angle, nullptr, 25, 0, 0, nullptr, nullptr, {}, kFormsSectorCount},
    {"CenterX", K::kReal, {}, &P::X0, nullptr, 2, 14, 6, "%10.5f", "%10.5f"},
    {"CenterY", K::kReal, {}, &P::Y0, nullptr, 3, 15, 7, "%10.5f", "%10.5f", {}, kFlippedWhenReversed},
    // The header locks left of the Lo, wave length and pixel size rows.
    {"LoCheck", K::kCheckBox, {}, nullptr, nullptr, 0, 21, 0, nullptr, nullptr, {}, kScriptSetsOnly},
    {"WaveLengthCheck", K::kCheckBox, {}, nullptr, nullptr, 0, 22, 0, nullptr, nullptr, {}, kScriptSetsOnly},
    {"PixelSizeXCheck", K::kCheckBox, {}, nullptr, nullptr, 0, 23, 0, nullptr, nullptr, {}, kScriptSetsOnly},
    {"PixelSizeYCheck", K::kCheckBox, {}, nullptr, nullptr, 0, 24, 0, nullptr, nullptr, {}, kScriptSetsOnly},
    // The pattern graph window's view ranges.
    {"", K::kInteger, {}, nullptr, &P::graph_x_begin, 9, 0, 0, nullptr, nullptr, {}, kKeptWhenNotANumber},
    {"", K::kInteger, {}, nullptr, &P::graph_x_end, 10, 0, 0, nullptr, nullptr, {}, kKeptWhenNotANumber},
    {"", K::kInteger, {}, nullptr, &P::graph_y_begin, 11, 0, 0, nullptr, nullptr, {}, kKeptWhenNotANumber},
    {"", K::kInteger, {}, nullptr, &P::graph_y_end, 12, 0, 0, nullptr, nullptr, {}, kKeptWhenNotANumber},
    {"", K::kReal, {}, &P::graph_2theta_begin, nullptr, 13, 0, 0, nullptr, nullptr, {}, kKeptWhenNotANumber},
    {"", K::kReal, {}, &P::graph_2theta_end, nullptr, 14, 0, 0, nullptr, nullptr, {}, kKeptWhenNotANumber},
};
// A row is a bit of a 64-bit mask in the header locks and in the command layer's record
// of its reads.
static_assert(std::size(kTable) <= 64, "the parameter table outgrew the 64-bit row masks");

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

size_t row_index(const Parameter& p) { return size_t(&p - kTable); }

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
