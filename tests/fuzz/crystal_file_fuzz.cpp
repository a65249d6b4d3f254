// Fuzz target: the crystal file reader; conversion errors are its answer to bad cells.
#include <cstddef>
#include <cstdint>
#include <string>

#include "analysis/crystal_file.h"
#include "base/convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    kestrin::read_crystal_bytes(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const kestrin::ConversionError&) {
  }
  return 0;
}
