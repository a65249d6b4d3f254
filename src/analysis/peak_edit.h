// Editing the peak table by hand: add the peak nearest to a data position or to a given
// 2theta, delete the peak near a data position, delete selected rows of the peak list.
// Each edit returns the peaks it changed and says its refusals in a report; the commands
// mark the peaks on the graph and refill the peak list.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace kestrin {

class Report;

// A peak an edit added or deleted: the sector whose list changed (-1: the peak table), and
// the position (x for pixel patterns, 2theta for 2theta patterns) and intensity it had.
struct EditedPeak {
  int32_t sector = -1;
  double position = 0, intensity = 0;
};

// What one edit changed. `sectored` is set when it worked on the sector lists, also when
// no sector changed: the graph is then redrawn.
struct PeakEdit {
  bool sectored = false;
  std::vector<EditedPeak> peaks;
};

// The sub-bin offset of the slope zero crossing near bin k of a pattern of n points, with
// slope(j) the central slope at point j: the least-squares line through the slopes of the
// stretch around k where the slope falls. Nothing unless 6 <= k and k + 6 <= n - 1, the
// slope changes sign in the stretch and the crossing lies strictly inside it.
std::optional<double> locate_peak(int32_t k, int32_t n, const std::function<double(int32_t)>& slope);

// Adds the peak nearest to the data position of a click (pixels or degrees by pattern
// kind; nothing when the graph has no scale yet): at most one, or one per sector. The peak
// table is sorted. A full list and a peak already listed are said in the report.
PeakEdit add_peak_near(std::optional<double> data, Report& report);
// Adds the peak nearest to two_theta while a 2theta pattern is current; the peak added, or
// nothing (the documented result -1).
std::optional<EditedPeak> add_peak_at_angle(double two_theta, Report& report);
// Deletes the first peak within the click tolerance of the data position: at most one, or
// one per sector; the deleted peaks are returned as they were.
PeakEdit delete_peak_near(std::optional<double> data);
// Deletes row index (from 0) of the peak list and compacts the table; true when a row was
// deleted. A negative index, with peaks listed, is said as " No peak selected.".
bool delete_selected_peak(int32_t index, Report& report);
// Whether an edit changed the peak table (not the sector lists): its list is then refilled.
inline bool changed_peak_table(const PeakEdit& edit) { return !edit.sectored && !edit.peaks.empty(); }

}  // namespace kestrin
