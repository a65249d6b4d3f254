// The background gauge's own rule.
#include "commands/bg_gauge.h"

namespace kestrin {

void bg_low_edge_entered(DisplayScale& s, int32_t v) {
  if (v < s.GaugeHigh) s.GaugeLow = v;
  if (s.LowEdge < s.GaugeLow) s.LowEdge = s.GaugeLow;
  if (s.HighEdge <= s.GaugeLow) s.HighEdge = s.GaugeHigh;
}

}  // namespace kestrin
