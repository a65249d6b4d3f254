// The harness's full command set and the hooks that connect the image and analysis code.
#include "commands/main_form_commands.h"
#include "model/parameters.h"
#include "base/convert.h"
#include "image/files/settings_file.h"
#include "harness/harness.h"
#include "image/image_store.h"
#include "model/headless_ports.h"

namespace kestrin::harness {

void register_all_commands(Registry& r) {
  register_core_commands(r);
  register_loading_commands(r);
  register_integration_commands(r);
  register_peak_commands(r);
  register_pattern_commands(r);
}

void start_headless_program() {
  reset_headless_ports();
  init_program_state();
  read_settings_file(settings_file_path());
  try {
    read_parameters(current_image().ImageHeight);
  } catch (const ConversionError&) {
  }
}

}  // namespace kestrin::harness
