// Headless ports with the start values of the parameter table.
#include "model/headless_ports.h"

#include <vector>

#include "model/parameters.h"
#include "model/state.h"
#include "ports/names/nax_graph_names.h"
#include "ports/ports.h"

namespace kestrin {

void prepare_headless_controls(HeadlessControls& c) {
  for (const Parameter& p : parameter_table()) {
    std::vector<ControlName> group;
    for (const RadioChoice& r : p.radios) group.push_back(r.radio);
    if (!group.empty()) c.add_radio_group(group);
  }
  show_start_values(c);
  c.set_text(frmNaxGraph::Edit1, kSamePeakStartText);  // the graph window's one edit outside the table
}

void reset_headless_ports() {
  reset_ports();
  prepare_headless_controls(headless_controls());
}

}  // namespace kestrin
