// Editing the peak table by hand: add the peak nearest to a graph click or to a given
// 2theta, delete the peak under a click, delete selected rows of the peak list.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace kestrin {

// The sub-bin offset of the slope zero crossing near bin k of a pattern of n points, with
// slope(j) the central slope at point j: the least-squares line through the slopes of the
// stretch around k where the slope falls. Nothing unless 6 <= k and k + 6 <= n - 1, the
// slope changes sign in the stretch and the crossing lies strictly inside it.
std::optional<double> locate_peak(int32_t k, int32_t n, const std::function<double(int32_t)>& slope);

// Left-button release at picture column click_x: adds at most one peak (one per sector).
void add_peak_proc(int32_t click_x);
// Adds the peak nearest to two_theta while a 2theta pattern is current: 0 when added, else -1.
int32_t add_peak_at_angle(double two_theta);
// Right-button release at click_x: deletes at most one peak (one per sector).
void delete_peak_at_click(int32_t click_x);
// Deletes row index (from 0) of the peak list.
void delete_selected_peak(int32_t index);

}  // namespace kestrin
