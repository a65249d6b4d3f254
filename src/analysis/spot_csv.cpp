// The spot-list and reference-list readers.
#include "analysis/spot_csv.h"

#include <cerrno>
#include <string_view>
#include <vector>

#include "analysis/spot_list.h"
#include "base/comma_text.h"
#include "base/convert.h"
#include "base/paths.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"
#include "model/state.h"

namespace kestrin {

namespace {

// Indexes into the column-name table (spot_list.cpp's order).
enum SpotColumn : int32_t {
  kColNo = 0, kColX = 1, kColY = 2, kColIntensity = 3, kColBg = 4, kColAmp = 5, kColNet = 6, kColDistance = 7,
  kColFit = 8, kColRef = 9, kColIni = 10, kColFwhm = 11, kColFitAmp = 12, kColBand = 13, kColFitType = 14,
  kColShikii = 15, kColStartDist = 16, kColOmega = 17, kColZ = 21, kColRrecX = 22, kColRrecY = 23, kColRrecZ = 24,
  kColUse = 27, kColHCalc = 28, kColKCalc = 29, kColLCalc = 30, kColDiff = 31, kColH = 32, kColK = 42, kColL = 52
};

// The record fields that a found column fills besides x, y and the intensity.
struct RealField {
  SpotColumn column;
  double SpotRecord::*field;
};
struct IntField {
  SpotColumn column;
  int32_t SpotRecord::*field;
};
constexpr RealField kRealFields[] = {
    {kColBg, &SpotRecord::background},     {kColAmp, &SpotRecord::net_amplitude},
    {kColNet, &SpotRecord::net_intensity}, {kColFit, &SpotRecord::two_theta_fit},
    {kColRef, &SpotRecord::two_theta_ref}, {kColIni, &SpotRecord::two_theta_ini},
    {kColFwhm, &SpotRecord::fwhm},         {kColFitAmp, &SpotRecord::fit_amplitude},
    {kColShikii, &SpotRecord::threshold},  {kColOmega, &SpotRecord::omega},
    {kColRrecX, &SpotRecord::rrecx},       {kColRrecY, &SpotRecord::rrecy},
    {kColRrecZ, &SpotRecord::rrecz},       {kColHCalc, &SpotRecord::h},
    {kColKCalc, &SpotRecord::k},           {kColLCalc, &SpotRecord::l},
    {kColDiff, &SpotRecord::diff},
};
constexpr IntField kIntFields[] = {
    {kColDistance, &SpotRecord::bg_distance},
    {kColBand, &SpotRecord::band},
    {kColFitType, &SpotRecord::fit_type},
    {kColStartDist, &SpotRecord::start_distance},
};

FileTag& tag(SpotColumn c) { return state().spot_list.SpotColumnNames[size_t(c)]; }
bool found(SpotColumn c) { return tag(c).found; }

// The cell of column c; a line too short for it gives an empty cell, which no number
// conversion accepts.
std::string_view cell(const std::vector<std::string>& cells, SpotColumn c) {
  const int32_t i = tag(c).index;
  return i >= 0 && size_t(i) < cells.size() ? std::string_view(cells[size_t(i)]) : std::string_view();
}

void place(SpotColumn c, int32_t index) {
  tag(c).found = true;
  tag(c).index = index;
}

// Columns by position for a first line of data with `cells` cells; returns the file kind.
int32_t positional_columns(size_t cells) {
  reset_spot_columns();
  place(kColX, 1);
  place(kColY, 2);
  place(kColIntensity, 3);
  if (cells < 15 || cells > 17) return 0;
  const SpotColumn analysed[] = {kColBg,   kColAmp,    kColNet,     kColDistance, kColFit,  kColRef,
                                 kColFwhm, kColIni,    kColFitAmp,  kColBand,     kColFitType};
  int32_t index = 4;
  for (SpotColumn c : analysed) place(c, index++);
  if (cells == 17) {
    place(kColShikii, 15);
    place(kColStartDist, 16);
  }
  return 1;
}

// The kind of a file with a header row; -1 refuses it.
int32_t header_columns(const std::vector<std::string>& cells) {
  match_spot_columns(cells);
  if (!found(kColX) || !found(kColIntensity)) return -1;
  const bool analysed = found(kColFit) && found(kColBg) && found(kColNet);
  const bool hkl = found(kColH) && found(kColK) && found(kColL);
  return analysed || hkl ? 2 : 0;
}

bool blank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

TextReader open_text(const std::string& file_name) {
  TextReader reader;
  errno = 0;
  if (!reader.open(file_name)) throw EInOutError(io_error_message(errno ? errno : ENOENT));
  return reader;
}

// Appends one spot from its cells.
void add_spot(SpotList& list, const std::vector<std::string>& cells, int32_t kind) {
  const double x = StrToFloat(cell(cells, kColX));
  const double y = StrToFloat(cell(cells, kind == 2 ? kColZ : kColY));
  const int32_t intensity = Round(StrToFloat(cell(cells, kColIntensity)));
  SpotRecord r;
  r.index = list.SpotCount;
  r.x = x;
  r.y = y;
  r.intensity = intensity;
  for (const RealField& f : kRealFields)
    if (found(f.column)) r.*f.field = StrToFloat(cell(cells, f.column));
  for (const IntField& f : kIntFields)
    if (found(f.column)) r.*f.field = StrToInt(cell(cells, f.column));
  if (found(kColUse)) r.use = to_lower_ascii(std::string(cell(cells, kColUse))) == "true";
  const int32_t n = list.SpotCount;
  set_spot_count(list, n + 1);
  list.SpotX[size_t(n)] = x;
  list.SpotY[size_t(n)] = y;
  list.SpotIntensity[size_t(n)] = double(intensity);
  list.SpotRecords[size_t(n)] = r;
}

}  // namespace

void load_spot_csv(const std::string& file_name) {
  SpotList& list = state().spot_list;
  set_spot_count(list, 0);
  list.SpotRecords.clear();
  list.SpotBatchStart = 0;
  list.AnalysisLabels = false;
  const bool header = csv_has_header(file_name);
  TextReader reader = open_text(file_name);
  const std::vector<std::string> first = split_comma_text(reader.next_line());
  list.SpotFileKind = header ? header_columns(first) : positional_columns(first.size());
  if (list.SpotFileKind < 0) return;
  if (!header) reader = open_text(file_name);
  while (!reader.eof() && list.SpotCount < kMaxLoadedSpots) {
    const std::string line = reader.next_line();
    if (blank(line)) continue;
    const std::vector<std::string> cells = split_comma_text(line);
    if (list.SpotFileKind == 2 && cells.size() == 9) break;
    add_spot(list, cells, list.SpotFileKind);
  }
}

void load_spot_reference(const std::string& file_name) {
  std::vector<SpotReference>& refs = state().spot_reference;
  refs.clear();
  TextReader reader = open_text(file_name);
  while (!reader.eof() && refs.size() < size_t(kMaxLoadedSpots)) {
    const std::string line = reader.next_line();
    if (blank(line)) continue;
    const std::vector<std::string> cells = split_comma_text(line);
    auto at = [&](size_t i) { return i < cells.size() ? std::string_view(cells[i]) : std::string_view(); };
    SpotReference r;
    r.x = StrToFloat(at(1));
    r.y = StrToFloat(at(2));
    r.intensity = StrToInt(at(3));
    refs.push_back(r);
  }
}

}  // namespace kestrin
