// The harness's full command set and the hooks that connect the image and analysis code.
#include "analysis/parameters.h"
#include "harness/harness.h"
#include "image/parameters_reader.h"

namespace kestrin::harness {

void register_all_commands(Registry& r) {
  install_parameters_reader(&read_parameters);
  register_core_commands(r);
  register_loading_commands(r);
  register_integration_commands(r);
  register_peak_commands(r);
  register_pattern_commands(r);
}

}  // namespace kestrin::harness
