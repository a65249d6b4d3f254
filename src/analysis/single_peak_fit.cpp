// The single-peak fit.
#include "analysis/single_peak_fit.h"

#include <algorithm>
#include <cmath>

#include "analysis/peak_fitting.h"
#include "model/state.h"

namespace kestrin {

bool single_peak_fit(int32_t peak, int32_t first, int32_t last) {
  SharedState& st = state();
  st.fit_tables = FitTables();
  const NaxPattern& nax = st.nax_pattern;
  const bool angle = nax.has_kind(kAngleHistogram);
  if ((!angle && !nax.has_kind(kPixelHistogram)) || peak < 0 || peak >= std::min(st.peak_table.count, kMaxPeaks) ||
      nax.N < 1)
    return false;
  const IntegrationParams& p = st.integration_params;
  const size_t j = size_t(peak);
  const double position = angle ? st.peak_table.two_theta[j] : st.peak_table.x[j];
  const double centre = angle ? (position - p.two_theta_begin) / p.two_theta_step : position;
  const double half = std::nearbyint((double(last) - double(first)) / 2);
  if (!(std::fabs(centre) < 1e9 && std::fabs(half) < 1e9)) return false;
  const int64_t k = int64_t(std::nearbyint(centre));
  const int64_t from = std::max<int64_t>(k - int64_t(half), 0);
  const int64_t to = std::min<int64_t>(k + int64_t(half), int64_t(std::min(nax.N, kPatternSize)) - 1);
  // An empty window (a peak outside the pattern) still records the start position.
  return fit_peak_window(peak, int32_t(std::clamp<int64_t>(from, 0, kPatternSize)),
                         int32_t(std::clamp<int64_t>(to, -1, kPatternSize)));
}

}  // namespace kestrin
