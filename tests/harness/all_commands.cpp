// The harness's full command set and the hooks that connect the image and analysis code.
#include "analysis/main_commands.h"
#include "analysis/parameters.h"
#include "base/convert.h"
#include "image/files/settings_file.h"
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
  register_histogram_commands(r);
}

void start_headless_program() {
  init_program_state();
  read_settings_file(settings_file_path());
  try {
    read_parameters();
  } catch (const ConversionError&) {
  }
}

}  // namespace kestrin::harness
