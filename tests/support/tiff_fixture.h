// Small TIFF files made by code: either byte order, SHORT or LONG size tags, one or more
// strips, extra or replaced tags, pixel data at the end of the file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrin::test {

struct TiffFixtureEntry {
  uint16_t tag;
  uint16_t type;
  uint32_t count;
  std::vector<uint8_t> value;  // in the file's byte order; inline when at most 4 bytes
};

struct TiffFixture {
  bool big_endian = false;
  uint32_t width = 8;
  uint32_t height = 4;
  uint16_t bits = 16;
  uint16_t sample_format = 0;  // 0: no SampleFormat tag
  bool long_sizes = false;     // width/length as LONG instead of SHORT
  bool short_strip_arrays = false;
  uint32_t rows_per_strip = 0;  // 0: one strip
  std::vector<uint8_t> samples;  // pixel bytes in file order
  std::vector<TiffFixtureEntry> extra;  // added, or replacing a tag of the same number
  std::vector<uint16_t> omit;           // tags left out

  std::vector<uint8_t> build() const;
  // Byte order helpers for values and samples.
  std::vector<uint8_t> u16(std::initializer_list<uint16_t> v) const;
  std::vector<uint8_t> u32(std::initializer_list<uint32_t> v) const;
};

std::vector<uint8_t> encode_samples(const std::vector<uint16_t>& codes, int bits, bool big_endian);
std::vector<uint8_t> encode_float_samples(const std::vector<float>& values, bool big_endian);

void write_bytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> read_bytes(const std::string& path);

}  // namespace kestrin::test
