// The peak search: a seven-point shape test with a sub-bin position over the current
// pattern, or over every sector's pattern followed by the consensus of the sectors.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "model/state.h"

namespace kestrin {

class Report;

// The shape test at point i (3 <= i <= size - 4) of y with the given threshold; the
// peak's sub-bin offset delta (within +-4/3) when it passes.
std::optional<double> peak_test(std::span<const int32_t> y, int32_t i, int32_t threshold);

// Scans points 3..n-4 of y into list (count from 0): true when the list filled up (500).
bool scan_pattern(std::span<const int32_t> y, int32_t threshold, bool angle_pattern, PeakList& list);

// One consensus pass over sectors 0..sectors-1: a peak that fewer than four peaks of the
// other sectors see within SamePeakTolerance (relative) is marked deleted. With `removed`
// each removal is said there.
void consensus_pass(int32_t sectors, bool by_x, Report* removed);

// 1 without a pattern, 2 when the current non-sector pattern has fewer than 8 points,
// else 0 after filling the peak table (or the sector lists). A list that fills up is said
// in the report, as is each peak the second consensus pass removes.
int32_t peak_search(Report& report);

}  // namespace kestrin
