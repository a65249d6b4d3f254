// The spot tables as strings.
#include "analysis/spot_tables.h"

#include <cerrno>

#include "base/convert.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"

namespace kestrin {

namespace {

constexpr const char* kAnalysisHeadings[kAnaColumnCount] = {
    "No.",          "x(pixel)",     "y(pixel)",  "Int(Raw)",     "BG",        "Amp(Net)",
    "Int(Net)",     "Distance(pixel)", "Fit2th(deg)", "Ref.2th(deg)", "FwHm(deg)", "Ini.2th(deg)",
    "Amplitude",    "Band",         "FitType",   "Shikii(%)",    "StartDistance(pixel)"};

std::string f(std::string_view format, double v) { return Format(format, {v}); }
std::string d(int32_t v) { return Format("%d", {v}); }

}  // namespace

bool has_hkl_columns() {
  const auto& t = state().spot_list.SpotColumnNames;
  return t[28].found && t[29].found && t[30].found;  // "hcalc", "kcalc", "lcalc"
}

StringGrid spot_list_grid() {
  const SpotList& list = state().spot_list;
  const bool hkl = has_hkl_columns();
  const size_t columns = hkl ? 8 : 7;
  StringGrid grid(size_t(list.SpotCount) + 1, std::vector<std::string>(columns));
  const char* headings[] = {"Spot No.", "x(pixel)", "y(pixel)", "Intensity", "   h     k     l"};
  for (size_t c = 0; c < 5; ++c) grid[0][c] = headings[c];
  for (int32_t i = 0; i < list.SpotCount; ++i) {
    std::vector<std::string>& row = grid[size_t(i) + 1];
    const bool batch = list.SpotBatchStart != 0 && i >= list.SpotBatchStart;
    row[0] = (batch ? "*" : "") + d(i + 1);
    row[1] = f("%8.2f", list.SpotX[size_t(i)]);
    row[2] = f("%8.2f", list.SpotY[size_t(i)]);
    row[3] = f("%8.2f", list.SpotIntensity[size_t(i)]);
    if (hkl && size_t(i) < list.SpotRecords.size()) {
      const SpotRecord& r = list.SpotRecords[size_t(i)];
      row[4] = f("%5.1f", r.h) + "," + f("%5.1f", r.k) + "," + f("%5.1f", r.l);
    }
  }
  return grid;
}

int32_t threshold_percent(double threshold) { return Round((threshold - 1) / 0.01); }

StringGrid spot_analysis_grid() {
  const SpotList& list = state().spot_list;
  StringGrid grid(size_t(list.SpotCount) + 1, std::vector<std::string>(kAnaColumnCount));
  for (size_t c = 0; c < kAnaColumnCount; ++c) grid[0][c] = kAnalysisHeadings[c];
  for (int32_t i = 0; i < list.SpotCount && size_t(i) < list.SpotRecords.size(); ++i) {
    const SpotRecord& r = list.SpotRecords[size_t(i)];
    grid[size_t(i) + 1] = {d(i + 1),
                           f("%7.3f", r.x),
                           f("%7.3f", r.y),
                           d(r.intensity),
                           f("%7.3f", r.background),
                           f("%7.3f", r.net_amplitude),
                           f("%7.3f", r.net_intensity),
                           d(r.bg_distance),
                           f("%10.6f", r.two_theta_fit),
                           f("%10.6f", r.two_theta_ref),
                           f("%10.6f", r.fwhm),
                           f("%10.6f", r.two_theta_ini),
                           f("%10.2f", r.fit_amplitude),
                           d(r.band),
                           d(r.fit_type),
                           FloatToStr(r.threshold),
                           d(r.start_distance)};
  }
  return grid;
}

std::string spot_analysis_text(const SpotList& list, const StringGrid& grid) {
  std::string out;
  std::string heading;
  for (size_t c = 0; c < kAnaColumnCount; ++c) heading += (c ? "," : "") + std::string(kAnalysisHeadings[c]);
  put_line(out, heading);
  for (int32_t i = 0; i < list.SpotCount; ++i) {
    std::string line = d(i + 1) + "," + FloatToStr(list.SpotX[size_t(i)]) + "," + FloatToStr(list.SpotY[size_t(i)]) +
                       "," + FloatToStr(list.SpotIntensity[size_t(i)]);
    const size_t row = size_t(i) + 1;
    for (size_t c = kAnaBg; c < kAnaColumnCount; ++c)
      line += "," + (row < grid.size() && c < grid[row].size() ? grid[row][c] : std::string());
    put_line(out, line);
  }
  return out;
}

void write_spot_analysis_list(const std::string& name) {
  errno = 0;
  const std::string text = spot_analysis_text(state().spot_list, state().spot_analysis_grid);
  if (!write_file_bytes(name, text)) throw EInOutError(io_error_message(errno ? errno : EIO));
}

StringGrid spot_reference_grid() {
  const std::vector<SpotReference>& refs = state().spot_reference;
  StringGrid grid(refs.size() + 1, std::vector<std::string>(10));
  const char* headings[] = {"No.",       "x_all(pixel)", "y_all(pixel)", "omega(deg)",
                            "Intensity", "Intensity_all", "x(pixel)",    "y(pixel)"};
  for (size_t c = 0; c < 8; ++c) grid[0][c] = headings[c];
  for (size_t i = 0; i < refs.size(); ++i)
    grid[i + 1] = {d(int32_t(i) + 1), f("%7.3f", refs[i].x), f("%7.3f", refs[i].y), "0", "0",
                   d(refs[i].intensity), "0", "0", "", ""};
  return grid;
}

}  // namespace kestrin
