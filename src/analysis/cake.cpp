// The cake computation: one sector pixel histogram per slice.
#include "analysis/cake.h"

#include <vector>

#include "analysis/pixel_histogram.h"
#include "model/state.h"
#include "ports/long_run.h"

namespace kestrin {

namespace {

constexpr int32_t kSectorRegion = 1;

// Sets the sector of slice s and runs its histogram; false when no pattern came of it.
bool run_slice(int32_t s, const CakeShape& shape, CakeRun& run, Report& report) {
  IntegrationParams& p = state().integration_params;
  p.IntegrationMode = kSectorRegion;  // chosen by the command already
  p.sector_start = shape.slice_degrees * s;
  p.sector_end = shape.slice_degrees * (s + 1);
  run.slices_begun = s + 1;
  NaxPattern& nax = state().nax_pattern;
  const auto kind = nax.kind;
  nax.kind = {1, 1, 1, 1, 1};
  const PatternShow shown = calc_cake_slant_pixel_histogram(report);
  if (nax.has_kind(kPixelHistogram)) {
    run.shown = shown;
    return true;
  }
  nax.kind = kind;
  return false;
}

}  // namespace

CakeRun make_cake(const CakeShape& shape, Report& report) {
  std::vector<CakeSlice> slices;
  CakeRun run;
  bool complete = false;
  run_long("make_cake", [&] {
    const NaxPattern& nax = state().nax_pattern;
    for (int32_t s = 0; s < shape.slices_computed; ++s) {
      if (!run_slice(s, shape, run, report)) return;
      slices.push_back(cake_slice(nax.values, nax.N));
      pump_events();
      if (program_terminated()) return;
    }
    complete = true;
  });
  if (!complete) return run;
  CakeState& cake = cake_state();
  cake.CakeDIB = cake_picture(slices, shape);
  cake.made = true;
  run.made = true;
  return run;
}

}  // namespace kestrin
