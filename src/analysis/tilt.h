// The detector tilt from the 16-sector patterns: the radii of a ring in opposite sectors
// differ on a tilted detector; their difference over the sectors gives the tilt azimuth
// Beta and the tilt angle Phi.
#pragma once

#include <cstdint>

namespace kestrin {

class Report;

// Keeps in the peak lists of sectors a and b only the peaks that pair up within
// SamePeakTolerance (relative), each the other's nearest; the rest are deleted and both
// lists sorted and compacted. Returns the common count; -1 when either list is empty or the
// counts differ afterwards (then it says "make_peak_table() : Unsuccessful Sector a b New
// ca cb").
int32_t make_peak_table(int32_t a, int32_t b, Report& report);

struct TiltResult {
  int32_t status = 0;       // 1 without a 16-sector pattern, else 0
  bool determined = false;  // Beta and Phi of integration_params were set
};

// Pairs sectors k and k + 8, takes the tilt each pair shows and fits T0 cos(22.5 k - Beta)
// to them over whole degrees; Beta and Phi go into integration_params, each step said. A
// largest tilt below 0.001 degrees gives "Tilt is small enough." and zeros. When no pair
// has common peaks (" calc_tilt() : no sector pair has common peaks.") or fewer than 8 of
// the 16 sectors hold one (" calc_tilt() : only 6 of 16 sectors hold a common peak, the
// tilt was not determined."), Beta and Phi are left as they were. Without a 16-sector
// pattern it says nothing and gives status 1.
TiltResult calc_tilt(Report& report);

}  // namespace kestrin
