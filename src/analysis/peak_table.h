// The peak lists: which kind of pattern is current, the values of a peak at a sub-bin
// position, the sorting and compaction of a list, the slope helpers and the peak-list rows.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/state.h"

namespace kestrin {

// Deleted entries carry kDeletedPeak; every key from this value on counts as deleted.
constexpr double kDeletedKey = 99999.0;

// The current pattern seen as the peak code sees it.
enum class PatternGroup { kNone, kPixel, kAngle, kSectorPixel, kSectorAngle };
PatternGroup current_pattern_group();
inline bool is_sector_group(PatternGroup g) { return g == PatternGroup::kSectorPixel || g == PatternGroup::kSectorAngle; }
inline bool is_angle_group(PatternGroup g) { return g == PatternGroup::kAngle || g == PatternGroup::kSectorAngle; }

// The values of a peak at position p (bins) of pattern y: for pixel patterns x = p and
// 2theta = atan(p pX / Lo); for 2theta patterns x = 0 and 2theta = p step + start. The
// intensity is y[Trunc(p + 0.5)] (0 when that bin lies outside y), d = (lambda / 2) / sin(theta).
struct PeakEntry {
  double x = 0, two_theta = 0, d = 0, intensity = 0;
};
PeakEntry peak_entry_at(std::span<const int32_t> y, double p, bool angle_pattern);

// Appends an entry when the list has room (count below kMaxPeaks); false when full.
bool append_peak(PeakList& list, const PeakEntry& e);

// Selection sort of entries 0..count-1 on two_theta (by_x: on x), the first of equal keys
// first, then drops the trailing entries whose key marks them deleted.
void sort_and_compact_list(PeakList& list, bool by_x);

// Sorts and compacts the main table (pixel or 2theta pattern current; s ignored) or the
// list of sector s (sectored pattern current). -1 when the table or list is empty or s
// names no sector; 0 otherwise, also when there is no pattern (nothing changes then).
int32_t sort_and_compact_peaks(int32_t s);

// Central slope (y[i+1] - y[i-1]) / 2 of the current pattern or of sector s's pattern;
// 0 where i - 1 or i + 1 lies outside the pattern's 36001 points.
double pattern_slope(int32_t i);
double sector_pattern_slope(int32_t s, int32_t i);
// 2 (b - a) / (b + a).
double relative_difference(double a, double b);

// The peak list window's row of peak k (from 0).
std::string peak_list_row(int32_t k, const PeakList& list);
std::vector<std::string> peak_list_rows();

// The valid part of a list's count: 0..kMaxPeaks.
int32_t peak_count_of(const PeakList& list);
// The point count of the current pattern and of sector s, bounded by the storage.
int32_t pattern_points();
std::span<const int32_t> pattern_span();
std::span<const int32_t> sector_span(int32_t s);
// The sectors the current sectored result made (and the store holds).
int32_t usable_sector_count();

}  // namespace kestrin
