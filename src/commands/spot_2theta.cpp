// The 2theta analysis of one spot.
#include "commands/spot_2theta.h"

#include <cmath>
#include <optional>

#include "analysis/angle_histogram.h"
#include "analysis/fine_curved_histograms.h"
#include "analysis/peak_edit.h"
#include "analysis/ring_geometry.h"
#include "analysis/single_peak_fit.h"
#include "analysis/spot_tables.h"
#include "base/convert.h"
#include "base/report.h"
#include "commands/file_commands.h"
#include "commands/histogram_commands.h"
#include "commands/main_form_commands.h"
#include "commands/peak_fitting_commands.h"
#include "commands/peak_form_commands.h"
#include "image/image_store.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "ports/names/nax_graph_names.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

constexpr double kBesideSpot = 0.005;  // degrees: where the peak goes when 2theta0 itself gives none
constexpr double kFarthest = 99999.0;

// FitType as the analysis sets it, put back however the analysis ends.
class FitTypeSwap {
public:
  explicit FitTypeSwap(int32_t type) : saved_(state().options.FitType) { state().options.FitType = type; }
  ~FitTypeSwap() { state().options.FitType = saved_; }
  FitTypeSwap(const FitTypeSwap&) = delete;
  FitTypeSwap& operator=(const FitTypeSwap&) = delete;

private:
  int32_t saved_;
};

// The main window set to integrate a band through the spot.
void point_band_at(double azimuth, int32_t band) {
  choose_choice(*parameter_named("IntegrationMode"), 0);
  choose_choice(*parameter_named("RectAngleMode"), 1);
  Controls& c = controls();
  c.set_text(frmMain::edtRectAngle, FloatToStr(azimuth));
  c.set_text(frmMain::edtBandWidth, Format("%d", {band}));
  read_parameters(current_image().ImageHeight);
}

// The pattern's point that holds two_theta, when the pattern has it.
std::optional<size_t> point_of(double two_theta) {
  const IntegrationParams& p = state().integration_params;
  const NaxPattern& nax = state().nax_pattern;
  const double k = std::nearbyint((two_theta - p.two_theta_begin) / p.two_theta_step);
  if (!(k >= 1 && k < double(nax.N) && k < double(kPatternSize))) return std::nullopt;
  return size_t(k);
}

// Adds the peak at 2theta0, else beside it on the side the pattern falls to; the table
// index of the peak added.
std::optional<int32_t> add_spot_peak(double two_theta0) {
  Report report = log_report();
  std::optional<EditedPeak> added = add_peak_at_angle(two_theta0, report);
  if (!added) {
    const std::optional<size_t> k = point_of(two_theta0);
    if (!k) return std::nullopt;
    const std::vector<int32_t>& v = state().nax_pattern.values;
    const bool falling = v[*k] < v[*k - 1];
    added = add_peak_at_angle(falling ? two_theta0 - kBesideSpot : two_theta0 + kBesideSpot, report);
  }
  if (!added) return std::nullopt;
  show_peak_list();
  const PeakTable& t = state().peak_table;
  for (int32_t j = 0; j < std::min(t.count, kMaxPeaks); ++j)
    if (t.two_theta[size_t(j)] == added->position) return j;
  return std::nullopt;
}

// The fit over the profile window.
void fit_profile(int32_t peak, double two_theta0, double half_width) {
  const IntegrationParams& p = state().integration_params;
  const double first = std::nearbyint((two_theta0 - half_width - p.two_theta_begin) / p.two_theta_step);
  const double last = std::nearbyint((two_theta0 + half_width - p.two_theta_begin) / p.two_theta_step);
  if (!(std::fabs(first) < 1e9 && std::fabs(last) < 1e9)) return;
  single_peak_fit_and_show(peak, int32_t(first), int32_t(last));
}

// The fitted peak nearest 2theta0 (strictly nearer than any before it).
std::optional<int32_t> nearest_fitted_peak(double two_theta0, double& distance) {
  const SharedState& st = state();
  distance = kFarthest;
  std::optional<int32_t> best;
  for (int32_t j = 0; j < std::min(st.peak_table.count, kMaxPeaks); ++j) {
    const FitRecord& f = st.fit_tables.fitted[size_t(j)];
    if (!f.fitted) continue;
    const double d = std::fabs(f.position - two_theta0);
    if (d < distance) {
      distance = d;
      best = j;
    }
  }
  return best;
}

void write_result(int32_t spot, double two_theta0, const Spot2ThetaSettings& s) {
  SpotRecord& r = state().spot_list.SpotRecords[size_t(spot)];
  double distance = 0;
  const std::optional<int32_t> peak = nearest_fitted_peak(two_theta0, distance);
  const int32_t row = spot + 1;
  if (peak && distance <= s.allowance) {
    const FitRecord& f = state().fit_tables.fitted[size_t(*peak)];
    r.two_theta_fit = f.position;
    r.fwhm = 2 * std::fabs(f.half_width);  // the profiles are even in the half width
    r.fit_amplitude = f.amplitude;
    r.two_theta_ini = state().peak_table.two_theta[size_t(*peak)];
    set_analysis_cell(kAnaFit, row, Format("%10.6f", {f.position}));
    set_analysis_cell(kAnaFwhm, row, Format("%10.6f", {r.fwhm}));
    set_analysis_cell(kAnaAmplitude, row, Format("%10.2f", {f.amplitude}));
  } else {
    r.two_theta_fit = r.fwhm = r.fit_amplitude = r.two_theta_ini = 0;
    for (int32_t column : {kAnaFit, kAnaFwhm, kAnaAmplitude}) set_analysis_cell(column, row, "0");
  }
  r.two_theta_ref = two_theta0;
  r.band = s.band;
  r.fit_type = s.fit_type;
  set_analysis_cell(kAnaRef, row, Format("%10.6f", {two_theta0}));
  set_analysis_cell(kAnaIni, row, Format("%10.6f", {r.two_theta_ini}));
  set_analysis_cell(kAnaBand, row, Format("%d", {s.band}));
  set_analysis_cell(kAnaFitType, row, Format("%d", {s.fit_type}));
}

void show_profile_window(double two_theta0, double half_width) {
  controls().set_text(frmNaxGraph::edt2ThetaBegin, FloatToStr(two_theta0 - half_width));
  controls().set_text(frmNaxGraph::edt2ThetaEnd, FloatToStr(two_theta0 + half_width));
  graph_window().draw_nax_graph();
}

}  // namespace

double spot_azimuth(double x, double y, double x0, double y0) {
  double a = std::atan2(y - y0, x - x0) * 180 / kPi;
  if (a < 0) a += 360;
  return a;
}

std::string spot_profile_name(int32_t spot) {
  const ImageStore& img = current_image();
  return img.ImageFolder + img.ImageBaseName + "_" + Format("%.3d", {spot + 1}) + ".RAW";
}

void set_analysis_cell(int32_t column, int32_t row, const std::string& text) {
  StringGrid& grid = state().spot_analysis_grid;
  if (grid.size() <= size_t(row)) grid.resize(size_t(row) + 1);
  if (grid[size_t(row)].size() < size_t(kAnaColumnCount)) grid[size_t(row)].resize(size_t(kAnaColumnCount));
  grid[size_t(row)][size_t(column)] = text;
  spot_analysis_window().grid_cell_changed(column, row);
}

void analyze_spot_2theta(int32_t spot, const Spot2ThetaSettings& s) {
  const SpotRecord& r = state().spot_list.SpotRecords.at(size_t(spot));
  read_parameters(current_image().ImageHeight);  // the centre and geometry as the edits hold them
  const double two_theta0 = calc_pixel_2theta(kPixelTwoTheta, r.x, r.y);
  const IntegrationParams& p = state().integration_params;
  point_band_at(spot_azimuth(r.x, r.y, p.X0, p.Y0), s.band);
  Report report = log_report();
  show_pattern(s.profile_kind == 1 ? calc_fine_angle_histogram_band(report) : calc_angle_histogram_band(report));
  {
    FitTypeSwap fit_type(s.fit_type);
    if (const std::optional<int32_t> peak = add_spot_peak(two_theta0)) {
      fit_profile(*peak, two_theta0, s.half_width);
      save_nax_command2(spot_profile_name(spot), two_theta0 - s.half_width, two_theta0 + s.half_width);
    }
  }
  write_result(spot, two_theta0, s);
  show_profile_window(two_theta0, s.half_width);
}

}  // namespace kestrin
