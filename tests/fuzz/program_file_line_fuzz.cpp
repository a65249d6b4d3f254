// Fuzz target: the one-line setting files ("frmOscAna.ini") read from a configuration folder
// of the target's own.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/paths.h"
#include "base/program_files.h"
#include "base/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool configured = [] {
    const std::string home = "/tmp/kestrin_ini_fuzz_" + std::to_string(getpid());
    ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    return kestrin::ensure_config_folder();
  }();
  if (!configured) return 0;
  kestrin::write_file_bytes(kestrin::config_folder() + "frmOscAna.ini",
                            std::string(reinterpret_cast<const char*>(data), size));
  (void)kestrin::read_program_file_line("frmOscAna.ini");
  return 0;
}
