// Harness commands of the centre, spot and peak routines.
#include "analysis/center.h"
#include "analysis/peak_search.h"
#include "analysis/peak_table.h"
#include "analysis/spot_find.h"
#include "base/convert.h"
#include "harness/harness.h"
#include "model/state.h"

namespace kestrin::harness {

namespace {

std::optional<std::string> peak_data(const Args& a) {
  if (a.size() < 2) return std::nullopt;
  const auto i = integer_arg(a[0]);
  const auto k = integer_arg(a[1]);
  if (!i || !k || *i < 0 || *i > kMaxPeaks) return std::nullopt;
  const PeakTable& t = state().peak_table;
  const size_t u = size_t(*i);
  switch (*k) {
    case 0: return FloatToStr(t.x[u]);
    case 1: return FloatToStr(t.two_theta[u]);
    case 2: return FloatToStr(t.d[u]);
    case 3: return FloatToStr(t.intensity[u]);
    default: return std::nullopt;
  }
}

}  // namespace

void register_peak_commands(Registry& r) {
  r.add("FindCenter", [](const Args&) -> std::optional<std::string> {
    find_center();
    return std::nullopt;
  });
  r.add("FindSpot", [](const Args&) -> std::optional<std::string> {
    find_spot();
    return std::nullopt;
  });
  r.add("PeakSearch", [](const Args&) -> std::optional<std::string> {
    peak_search();
    return std::nullopt;
  });
  r.add("GetMaxPeakNumber", [](const Args&) -> std::optional<std::string> {
    return std::to_string(state().peak_table.count);
  });
  r.add("GetPeakData", peak_data);
}

}  // namespace kestrin::harness
