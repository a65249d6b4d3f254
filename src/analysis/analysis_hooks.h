// Routines of the analysis that the integrations call or dispatch to but that live in
// other parts of the program (the curved-plate and sub-pixel 2theta histograms, the centre
// search). Their owners fill this table; an empty entry means the routine is not there yet
// and nothing runs.
#pragma once

#include <cstdint>

namespace kestrin {

struct AnalysisHooks {
  void (*calc_curved_angle_histogram)() = nullptr;
  void (*calc_curved_angle_histogram_band)() = nullptr;
  void (*calc_curved_angle_histogram_sector)() = nullptr;
  void (*calc_fine_angle_histogram)() = nullptr;
  void (*calc_fine_angle_histogram_band)() = nullptr;
  void (*calc_fine_angle_histogram_sector)() = nullptr;
  int32_t (*find_center)() = nullptr;
};

AnalysisHooks& analysis_hooks();

// Runs a hook when it is filled.
inline void run_hook(void (*fn)()) {
  if (fn) fn();
}

}  // namespace kestrin
