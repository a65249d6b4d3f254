// The background of one spot: the distance from the spot at which its surroundings have
// fallen to the background, the background level there, and the spot's net amplitude and
// net intensity.
#pragma once

#include <cstdint>

namespace kestrin {

// Largest number of thresholds one calculation scans.
constexpr int64_t kMaxSpotThresholds = 1000000;

// For the spot at (Round(X), Round(Y)) of the current image: for every reference half size
// hs from StartSize down to EndSize and every threshold t = ThresholdStart - i * 0.01
// (i = 0 .. Round((ThresholdStart - ThresholdEnd) / 0.01)), the rings r from StartSize down
// to EndSize are hot where a border pixel exceeds t times the median of the (2 hs + 1)
// square; the innermost hot-to-cold ring is found, and the smallest found ring over all
// (hs, t) (the earliest on ties) gives BGDistance R, BestSize and BestThreshold. BG is the
// mean of the border of the (2R + 1) square, NetIntensity the sum of I - BG over that
// square, Amplitude SpotIntensity - BG. StartSize is first lowered so that every square
// lies inside the image. Returns 0; -1 when StartSize is then below EndSize (or EndSize is
// negative, there is no image, or more than kMaxSpotThresholds thresholds are asked for);
// -2 when no ring is found, so that the spot has no background border.
int32_t spot_bg_calc(int32_t start_size, int32_t end_size, double& bg, int32_t& best_size, double& best_threshold,
                     double& amplitude, double& net_intensity, int32_t& bg_distance, double threshold_start,
                     double threshold_end, double spot_intensity, double y, double x);

}  // namespace kestrin
