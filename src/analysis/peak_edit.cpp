// Editing the peak table by hand: adding near a click or an angle, deleting.
#include "analysis/peak_edit.h"

#include <cmath>
#include <span>

#include "analysis/peak_table.h"
#include "base/convert.h"
#include "base/report.h"
#include "model/state.h"

namespace kestrin {

std::optional<double> locate_peak(int32_t k, int32_t n, const std::function<double(int32_t)>& slope) {
  // The slope at k + 5 reads point k + 6, which must lie inside the pattern.
  if (k < 6 || k > n - 7) return std::nullopt;
  int32_t L = 0;
  while (L > -5 && !(slope(k + L) > slope(k + L - 1))) --L;
  int32_t R = 0;
  while (R < 5 && !(slope(k + R) < slope(k + R + 1))) ++R;
  const int32_t m = R - L + 1;
  if (m <= 1 || !(slope(k + L) > 0.0) || !(slope(k + R) < 0.0)) return std::nullopt;
  double Sj = 0, Sjj = 0, Ss = 0, Sjs = 0;
  for (int32_t j = L; j <= R; ++j) {
    const double s = slope(k + j);
    Sj += j;
    Sjj += double(j) * j;
    Ss += s;
    Sjs += j * s;
  }
  const double delta = (Sj * Sjs - Sjj * Ss) / (m * Sjs - Sj * Ss);
  if (!(L < delta && delta < R)) return std::nullopt;
  return delta;
}

namespace {

const char* const kBufferFull = " add_peak_proc() : Peak buffer full";

// The bin of a data position: Trunc for pixel patterns, Trunc((v - start) / step) for 2theta.
std::optional<int32_t> peak_bin_of(double data, bool angle_pattern) {
  const IntegrationParams& p = state().integration_params;
  return checked_int32(angle_pattern ? (data - p.two_theta_begin) / p.two_theta_step : data);
}

// The duplicate test of an add: says so and returns true when the list already has the peak.
bool already_listed(const PeakList& list, const PeakEntry& e, bool angle_pattern, Report& report) {
  const double step = state().integration_params.two_theta_step;
  for (int32_t i = 0; i < peak_count_of(list); ++i) {
    const size_t u = size_t(i);
    if (!angle_pattern && std::fabs(list.x[u] - e.x) <= 1.0) {
      report.say(Format(" add_peak_proc() : Peak alreay exists at %10.4f", {list.x[u]}));
      return true;
    }
    if (angle_pattern && std::fabs(list.two_theta[u] - e.two_theta) <= step) {
      report.say(Format(" add_peak_proc() : Peak already exists at %10.6f", {list.two_theta[u]}));
      return true;
    }
  }
  return false;
}

double position_of(const PeakEntry& e, bool angle_pattern) { return angle_pattern ? e.two_theta : e.x; }

// Locates near bin k of y and adds the peak to list unless it is already there.
std::optional<PeakEntry> add_near(std::span<const int32_t> y, int32_t k, bool angle_pattern, PeakList& list,
                                  const std::function<double(int32_t)>& slope, Report& report) {
  const auto delta = locate_peak(k, int32_t(y.size()), slope);
  if (!delta) return std::nullopt;
  const PeakEntry e = peak_entry_at(y, k + *delta, angle_pattern);
  if (already_listed(list, e, angle_pattern, report)) return std::nullopt;
  append_peak(list, e);
  return e;
}

PeakEdit add_to_main(int32_t k, bool angle_pattern, Report& report) {
  PeakEdit edit;
  const auto e = add_near(pattern_span(), k, angle_pattern, state().peak_table, pattern_slope, report);
  if (!e) return edit;
  sort_and_compact_peaks(-1);
  edit.peaks.push_back({-1, position_of(*e, angle_pattern), e->intensity});
  return edit;
}

PeakEdit add_to_sectors(int32_t k, bool angle_pattern, Report& report) {
  PeakEdit edit{true, {}};
  auto& sec = state().sector_patterns.sectors;
  const int32_t sectors = usable_sector_count();
  for (int32_t s = 0; s < sectors; ++s) {
    PeakList& list = sec[size_t(s)].peaks();
    if (peak_count_of(list) >= kMaxPeaks) {
      report.say(kBufferFull);
      break;
    }
    auto slope = [s](int32_t i) { return sector_pattern_slope(s, i); };
    const auto e = add_near(sector_span(s), k, angle_pattern, list, slope, report);
    if (!e) continue;
    sort_and_compact_peaks(s);
    edit.peaks.push_back({s, position_of(*e, angle_pattern), e->intensity});
  }
  return edit;
}

// The first entry within the click tolerance of data: 2.0 pixels or one 2theta step.
int32_t entry_at(const PeakList& list, double data, bool angle_pattern) {
  const double step = state().integration_params.two_theta_step;
  for (int32_t i = 0; i < peak_count_of(list); ++i) {
    const double gap = angle_pattern ? std::fabs(list.two_theta[size_t(i)] - data) : std::fabs(list.x[size_t(i)] - data);
    if (gap <= (angle_pattern ? step : 2.0)) return i;
  }
  return -1;
}

void mark_deleted(PeakList& list, int32_t i) {
  const size_t u = size_t(i);
  list.x[u] = kDeletedPeak;
  list.two_theta[u] = kDeletedPeak;
  list.intensity[u] = 0.0;
  list.d[u] = 0.0;
}

// Marks the entry near data deleted; what it was, or nothing when nothing was near.
std::optional<EditedPeak> delete_near(PeakList& list, double data, bool angle_pattern, int32_t sector) {
  const int32_t i = entry_at(list, data, angle_pattern);
  if (i < 0) return std::nullopt;
  const size_t u = size_t(i);
  const EditedPeak deleted{sector, angle_pattern ? list.two_theta[u] : list.x[u], list.intensity[u]};
  mark_deleted(list, i);
  return deleted;
}

}  // namespace

PeakEdit add_peak_near(std::optional<double> data, Report& report) {
  const PatternGroup g = current_pattern_group();
  if (g == PatternGroup::kNone) return {};
  const bool angle_pattern = is_angle_group(g);
  if (!is_sector_group(g) && peak_count_of(state().peak_table) >= kMaxPeaks) {
    report.say(kBufferFull);
    return {};
  }
  if (!data) return {};
  const auto k = peak_bin_of(*data, angle_pattern);
  if (!k) return {};
  return is_sector_group(g) ? add_to_sectors(*k, angle_pattern, report) : add_to_main(*k, angle_pattern, report);
}

std::optional<EditedPeak> add_peak_at_angle(double two_theta, Report& report) {
  if (current_pattern_group() != PatternGroup::kAngle) return std::nullopt;
  PeakList& table = state().peak_table;
  if (peak_count_of(table) >= kMaxPeaks) {
    report.say(kBufferFull);
    return std::nullopt;
  }
  const IntegrationParams& p = state().integration_params;
  const double pos = (two_theta - p.two_theta_begin) / p.two_theta_step;
  if (!(std::fabs(pos) < 2.0e9)) return std::nullopt;
  const int32_t k = Round(pos);
  const auto e = add_near(pattern_span(), k, true, table, pattern_slope, report);
  if (!e) return std::nullopt;
  sort_and_compact_peaks(-1);
  return EditedPeak{-1, e->two_theta, e->intensity};
}

PeakEdit delete_peak_near(std::optional<double> data) {
  const PatternGroup g = current_pattern_group();
  if (g == PatternGroup::kNone || !data) return {};
  const bool angle_pattern = is_angle_group(g);
  PeakEdit edit;
  if (!is_sector_group(g)) {
    const auto deleted = delete_near(state().peak_table, *data, angle_pattern, -1);
    if (!deleted) return edit;
    edit.peaks.push_back(*deleted);
    sort_and_compact_peaks(-1);
    return edit;
  }
  edit.sectored = true;
  auto& sec = state().sector_patterns.sectors;
  for (int32_t s = 0; s < usable_sector_count(); ++s) {
    if (sec[size_t(s)].peak_count() < 1) continue;
    const auto deleted = delete_near(sec[size_t(s)].peaks(), *data, angle_pattern, s);
    if (!deleted) continue;
    edit.peaks.push_back(*deleted);
    sort_and_compact_peaks(s);
  }
  return edit;
}

bool delete_selected_peak(int32_t index, Report& report) {
  PeakList& table = state().peak_table;
  if (peak_count_of(table) < 1) return false;
  if (index < 0) {
    report.say(" No peak selected.");
    return false;
  }
  if (index >= peak_count_of(table)) return false;
  table.x[size_t(index)] = kDeletedPeak;
  table.two_theta[size_t(index)] = kDeletedPeak;
  // The table is compacted whatever pattern is current, so a deleted row never stays.
  sort_and_compact_list(table, false);
  return true;
}

}  // namespace kestrin
