// The cake computation: one sector pixel histogram per slice.
#include "analysis/cake.h"

#include <vector>

#include "analysis/pixel_histogram.h"
#include "base/convert.h"
#include "model/parameters.h"
#include "model/state.h"
#include "ports/ports.h"

namespace kestrin {

namespace {

constexpr int32_t kSectorRegion = 1;

// Sets the sector of slice s and runs its histogram; false when no pattern came of it.
bool run_slice(int32_t s, const CakeShape& shape) {
  set_integer_parameter(*parameter_named("IntegrationMode"), kSectorRegion);  // chosen by the command already
  show_parameter_text(&IntegrationParams::sector_start, Format("%d", {shape.slice_degrees * s}));
  show_parameter_text(&IntegrationParams::sector_end, Format("%d", {shape.slice_degrees * (s + 1)}));
  NaxPattern& nax = state().nax_pattern;
  const auto kind = nax.kind;
  nax.kind = {1, 1, 1, 1, 1};
  calc_cake_slant_pixel_histogram();
  if (nax.has_kind(kPixelHistogram)) return true;
  nax.kind = kind;
  return false;
}

}  // namespace

bool make_cake(const CakeShape& shape) {
  std::vector<CakeSlice> slices;
  bool complete = false;
  run_long("make_cake", [&] {
    const NaxPattern& nax = state().nax_pattern;
    for (int32_t s = 0; s < shape.slices_computed; ++s) {
      if (!run_slice(s, shape)) return;
      slices.push_back(cake_slice(nax.values, nax.N));
      pump_events();
      if (program_terminated()) return;
    }
    complete = true;
  });
  if (!complete) return false;
  CakeState& cake = cake_state();
  cake.CakeDIB = cake_picture(slices, shape);
  cake.made = true;
  return true;
}

}  // namespace kestrin
