// The peak lists: kinds of pattern, peak values, sorting and compaction, slopes, rows.
#include "analysis/peak_table.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/convert.h"

namespace kestrin {

namespace {

constexpr double kDegToRadian = 3.14159265358979323846 / 180.0;

double slope_of(std::span<const int32_t> y, int32_t i) {
  if (i < 1 || size_t(i) + 1 >= y.size()) return 0.0;
  return (double(y[size_t(i) + 1]) - double(y[size_t(i) - 1])) / 2.0;
}

}  // namespace

PatternGroup current_pattern_group() {
  const NaxPattern& p = state().nax_pattern;
  if (p.has_kind(kPixelHistogram)) return PatternGroup::kPixel;
  if (p.has_kind(kAngleHistogram)) return PatternGroup::kAngle;
  if (p.has_kind(kSector16Pixel) || p.has_kind(kFreeSectorPixel)) return PatternGroup::kSectorPixel;
  if (p.has_kind(kFreeSectorAngle)) return PatternGroup::kSectorAngle;
  return PatternGroup::kNone;
}

PeakEntry peak_entry_at(std::span<const int32_t> y, double p, bool angle_pattern) {
  const IntegrationParams& prm = state().integration_params;
  PeakEntry e;
  if (angle_pattern) {
    e.x = 0.0;
    e.two_theta = p * prm.two_theta_step + prm.two_theta_begin;
  } else {
    e.x = p;
    e.two_theta = std::atan(p * prm.pixel_x / prm.Lo) / kDegToRadian;
  }
  const double at = std::trunc(p + 0.5);
  if (at >= 0.0 && at < double(y.size())) e.intensity = y[size_t(at)];
  e.d = (prm.wavelength / 2.0) / std::sin(e.two_theta / 2.0 * kDegToRadian);
  return e;
}

int32_t peak_count_of(const PeakList& list) { return std::clamp<int32_t>(list.count, 0, kMaxPeaks); }

bool append_peak(PeakList& list, const PeakEntry& e) {
  const int32_t n = peak_count_of(list);
  if (n >= kMaxPeaks) return false;
  list.x[size_t(n)] = e.x;
  list.two_theta[size_t(n)] = e.two_theta;
  list.d[size_t(n)] = e.d;
  list.intensity[size_t(n)] = e.intensity;
  list.count = n + 1;
  return true;
}

void sort_and_compact_list(PeakList& list, bool by_x) {
  const int32_t n = peak_count_of(list);
  const std::vector<double>& key = by_x ? list.x : list.two_theta;
  for (int32_t i = 0; i + 1 < n; ++i) {
    int32_t best = i;
    for (int32_t j = i + 1; j < n; ++j)
      if (key[size_t(j)] < key[size_t(best)]) best = j;
    if (best == i) continue;
    std::swap(list.x[size_t(i)], list.x[size_t(best)]);
    std::swap(list.two_theta[size_t(i)], list.two_theta[size_t(best)]);
    std::swap(list.d[size_t(i)], list.d[size_t(best)]);
    std::swap(list.intensity[size_t(i)], list.intensity[size_t(best)]);
  }
  // Only the deletion mark counts as deleted: pixel positions beyond 9999.99 are real
  // peaks on large images.
  int32_t kept = 0;
  while (kept < n && !(key[size_t(kept)] >= kDeletedKey)) ++kept;
  list.count = kept;
}

int32_t usable_sector_count() { return state().sector_patterns.walked(); }

int32_t sort_and_compact_peaks(int32_t s) {
  const PatternGroup g = current_pattern_group();
  if (g == PatternGroup::kNone) return 0;
  if (!is_sector_group(g)) {
    PeakList& table = state().peak_table;
    if (table.count < 1) return -1;
    sort_and_compact_list(table, false);
    return 0;
  }
  SectorPatterns& sp = state().sector_patterns;
  if (s < 0 || s >= sp.walked()) return -1;
  SectorPattern& sector = sp.sectors[size_t(s)];
  if (sector.peak_count() < 1) return -1;
  sort_and_compact_list(sector.peaks(), g == PatternGroup::kSectorPixel);
  return 0;
}

int32_t pattern_points() {
  const NaxPattern& p = state().nax_pattern;
  return std::clamp<int32_t>(p.N, 0, int32_t(p.values.size()));
}

std::span<const int32_t> pattern_span() {
  return std::span<const int32_t>(state().nax_pattern.values).first(size_t(pattern_points()));
}

std::span<const int32_t> sector_span(int32_t s) {
  const SectorPatterns& sp = state().sector_patterns;
  if (s < 0 || size_t(s) >= sp.sectors.size()) return {};
  return sp.sectors[size_t(s)].points();
}

double pattern_slope(int32_t i) { return slope_of(state().nax_pattern.values, i); }

double sector_pattern_slope(int32_t s, int32_t i) {
  const SectorPatterns& sp = state().sector_patterns;
  if (s < 0 || size_t(s) >= sp.sectors.size() || i < 1 || i + 1 >= kPatternSize) return 0.0;
  const SectorPattern& sector = sp.sectors[size_t(s)];
  return (double(sector.value(i + 1)) - double(sector.value(i - 1))) / 2.0;
}

double relative_difference(double a, double b) { return 2.0 * (b - a) / (b + a); }

std::string peak_list_row(int32_t k, const PeakList& list) {
  const size_t i = size_t(k);
  return Format("   %4.d   %12.5f   %12.6f   %12.8f   %10.0f  ",
                {k + 1, list.x[i], list.two_theta[i], list.d[i], list.intensity[i]});
}

std::vector<std::string> peak_list_rows() {
  const PeakList& table = state().peak_table;
  std::vector<std::string> rows;
  for (int32_t k = 0; k < peak_count_of(table); ++k) rows.push_back(peak_list_row(k, table));
  return rows;
}

}  // namespace kestrin
