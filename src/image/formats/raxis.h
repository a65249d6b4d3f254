// R-AXIS imaging-plate images: the header fields the program uses, and the writer that puts
// processed codes into a copy of an R-AXIS file. The reader is declared in readers.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace kestrin {

// Bytes of the header the program reads: everything up to and including the overflow
// ratio at offset 800. All fields are big-endian.
constexpr size_t kRaxisHeaderBytes = 804;

struct RaxisHeader {
  float wavelength = 0;     // offset 292, angstrom
  float camera_length = 0;  // 344, mm
  int32_t width = 0;        // 768
  int32_t height = 0;       // 772
  float pixel_x = 0;        // 776, mm
  float pixel_y = 0;        // 780, mm
  int32_t record_length = 0;  // 784: the pixel rows begin at this offset
  int32_t rows = 0;           // 788: rows stored when a start row is given
  int32_t start_row = 0;      // 792: 0 for a whole image
  float overflow_ratio = 0;   // 800
};

// The header fields; nullopt when `bytes` is shorter than kRaxisHeaderBytes.
std::optional<RaxisHeader> parse_raxis_header(std::span<const uint8_t> bytes);

// Reads the header of a file; nullopt when it cannot be opened or is too short.
std::optional<RaxisHeader> read_raxis_header(const std::string& path);

// Writes the current image's codes (from_main non-zero) or the background image's codes
// into `name`: an existing file keeps its header, a new one is a copy of the loaded image
// file. The wavelength and camera length of the loaded file's header replace the geometry
// unless locked. Refuses, with a log line and without touching `name`, codes that do not
// fill the file's image exactly. Rows are flipped back under VerticalReverse. The file is
// replaced only when complete. Returns 0 on success, 1 on failure.
int save_rigaku_file(const std::string& name, int from_main);

}  // namespace kestrin
