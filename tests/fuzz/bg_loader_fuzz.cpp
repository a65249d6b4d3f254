// Fuzz target: the background loader on a file of arbitrary bytes, its extension (and so its
// reader) chosen by the first byte; a Fuji file gets the rest of the input as its header.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/text_file.h"
#include "image/bg_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = "/tmp/kestrin_bg_fuzz_" + std::to_string(getpid()) + "/";
  static const int made = ::mkdir(folder.c_str(), 0700);
  (void)made;  // an existing folder serves as well
  if (size == 0) return 0;
  static const char* const kExtensions[] = {".img", ".stl", ".osc", ".ccd", ".tif", ".gel"};
  const std::string name = folder + "bg" + kExtensions[data[0] % 6];
  const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  kestrin::write_file_bytes(name, bytes);
  kestrin::write_file_bytes(folder + "bg.inf", bytes);
  kestrin::Report report;
  kestrin::load_bg_img_proc(name, report);
  return 0;
}
