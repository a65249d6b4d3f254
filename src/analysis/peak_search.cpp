// The peak search over the current pattern and over the per-sector patterns.
#include "analysis/peak_search.h"

#include <cmath>
#include <string>

#include "analysis/peak_table.h"
#include "base/convert.h"
#include "base/report.h"

namespace kestrin {

std::optional<double> peak_test(std::span<const int32_t> y, int32_t i, int32_t threshold) {
  if (i < 3 || size_t(i) + 3 >= y.size()) return std::nullopt;
  const size_t c = size_t(i);
  const int32_t y0 = y[c - 3], y1 = y[c - 2], y2 = y[c - 1], y3 = y[c], y4 = y[c + 1], y5 = y[c + 2],
                y6 = y[c + 3];
  if (y3 < threshold) return std::nullopt;
  // The outer steps are compared in floating point, so y + 1 cannot overflow.
  const bool rise = double(y0) + 1.0 < double(y1) && y1 < y2 && y2 < y3;
  const bool fall = y3 >= y4 && y4 > y5 && double(y5) > double(y6) + 1.0;
  if (!rise || !fall) return std::nullopt;
  const double a = (double(y3) - double(y1)) / 2.0;
  const double b = (double(y4) - double(y2)) / 2.0;
  const double cc = (double(y5) - double(y3)) / 2.0;
  return (-2.0 * (a + b + cc) / 3.0) / (cc - a);
}

bool scan_pattern(std::span<const int32_t> y, int32_t threshold, bool angle_pattern, PeakList& list) {
  list.count = 0;
  const int32_t n = int32_t(y.size());
  for (int32_t i = 3; i <= n - 4; ++i) {
    const auto delta = peak_test(y, i, threshold);
    if (!delta) continue;
    append_peak(list, peak_entry_at(y, i + *delta, angle_pattern));
    if (list.count >= kMaxPeaks) return true;
  }
  return false;
}

void consensus_pass(int32_t sectors, bool by_x, Report* removed) {
  auto& sec = state().sector_patterns.sectors;
  const double tolerance = state().SamePeakTolerance;
  auto key_of = [by_x](PeakList& l) -> std::vector<double>& { return by_x ? l.x : l.two_theta; };
  for (int32_t s = 0; s < sectors; ++s) {
    if (sec[size_t(s)].peak_count() < 1) continue;
    PeakList& list = sec[size_t(s)].peaks();
    std::vector<double>& key = key_of(list);
    for (int32_t j = 0; j < peak_count_of(list); ++j) {
      const double mine = key[size_t(j)];
      int32_t seen = 1;
      for (int32_t t = 0; t < sectors; ++t) {
        if (t == s || sec[size_t(t)].peak_count() < 1) continue;
        PeakList& other = sec[size_t(t)].peaks();
        const std::vector<double>& okey = key_of(other);
        for (int32_t k = 0; k < peak_count_of(other); ++k)
          if (std::fabs(okey[size_t(k)] - mine) / mine < tolerance) ++seen;
      }
      if (seen >= 5) continue;
      key[size_t(j)] = kDeletedPeak;
      list.intensity[size_t(j)] = 0.0;
      if (removed) removed->say(Format(" Bank %d, Peak %d Again Removed.", {s, j}));
    }
  }
}

namespace {

int32_t search_main(bool angle_pattern, Report& report) {
  const auto y = pattern_span();
  if (y.size() < 8) return 2;
  const int32_t threshold = state().nax_pattern.maximum / 50;
  PeakList& table = state().peak_table;
  if (scan_pattern(y, threshold, angle_pattern, table))
    report.say("Dimension full : Peak=" + std::to_string(table.count));
  sort_and_compact_peaks(-1);
  return 0;
}

void compact_sectors(int32_t sectors) {
  for (int32_t s = 0; s < sectors; ++s) sort_and_compact_peaks(s);
}

int32_t search_sectors(bool angle_pattern, Report& report) {
  const int32_t sectors = usable_sector_count();
  const int32_t threshold = state().nax_pattern.maximum / 10;
  auto& sec = state().sector_patterns.sectors;
  for (int32_t s = 0; s < sectors; ++s) {
    const auto y = sector_span(s);
    if (y.size() <= 7) continue;
    PeakList& list = sec[size_t(s)].peaks();
    if (scan_pattern(y, threshold, angle_pattern, list))
      report.say("Dimension full ato Sector=" + std::to_string(s) + ", Peak=" + std::to_string(list.count));
  }
  consensus_pass(sectors, !angle_pattern, nullptr);
  compact_sectors(sectors);
  consensus_pass(sectors, !angle_pattern, &report);
  compact_sectors(sectors);
  return 0;
}

}  // namespace

int32_t peak_search(Report& report) {
  switch (current_pattern_group()) {
    case PatternGroup::kNone: return 1;
    case PatternGroup::kPixel: return search_main(false, report);
    case PatternGroup::kAngle: return search_main(true, report);
    case PatternGroup::kSectorPixel: return search_sectors(false, report);
    case PatternGroup::kSectorAngle: return search_sectors(true, report);
  }
  return 1;
}

}  // namespace kestrin
