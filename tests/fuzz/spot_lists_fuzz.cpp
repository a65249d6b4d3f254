// Fuzz target: the spot-list and reference-list readers on a file of arbitrary bytes, the
// reader chosen by the first byte; conversion errors are their answer to bad cells.
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/spot_csv.h"
#include "analysis/spot_list.h"
#include "base/convert.h"
#include "base/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string folder = "/tmp/kestrin_spot_fuzz_" + std::to_string(getpid()) + "/";
  static const int made = ::mkdir(folder.c_str(), 0700);
  (void)made;  // an existing folder serves as well
  static const bool columns = (kestrin::init_spot_columns(), true);
  (void)columns;
  if (size == 0) return 0;
  const std::string name = folder + "list.csv";
  kestrin::write_file_bytes(name, std::string(reinterpret_cast<const char*>(data + 1), size - 1));
  try {
    if (data[0] % 2) kestrin::load_spot_reference(name);
    else kestrin::load_spot_csv(name);
  } catch (const kestrin::ConversionError&) {
  }
  return 0;
}
