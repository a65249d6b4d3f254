// R-AXIS test files made by code: a header with the fields the program reads and
// big-endian 16-bit codes from the record length on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrin::test {

struct RaxisFixture {
  std::string signature = "R-AXIS4";  // the first bytes of the file
  int32_t width = 4;
  int32_t height = 3;
  float wavelength = 1.5418f;
  float camera_length = 250.0f;
  float pixel_x = 0.1f;
  float pixel_y = 0.1f;
  int32_t record_length = 2048;  // at least the 804 header bytes
  int32_t rows = 0;
  int32_t start_row = 0;
  float overflow_ratio = 8.0f;
  // The stored codes, row after row as in the file (width * height, or rows * width for a
  // band). Empty: a ramp of code (x + 7 * y) % 32768.
  std::vector<uint16_t> codes;

  // The codes the fixture stores (the given ones or the ramp).
  std::vector<uint16_t> stored_codes() const;
  // The whole file. `truncate_to` cuts it to that many bytes when not negative.
  std::string bytes(int64_t truncate_to = -1) const;
  // Writes the file; returns the path.
  std::string write(const std::string& path, int64_t truncate_to = -1) const;
};

}  // namespace kestrin::test
