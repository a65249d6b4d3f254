// The TIFF 6.0 tag reader: the header and the first image file directory (IFD) of a TIFF
// file, with the tags Kestrin's TIFF, floating-point TIFF and GEL readers use.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "image/formats/decoded_image.h"

namespace kestrin {

// One 12-byte IFD entry. `field_pos` is the file position of its 4-byte value field.
struct TiffEntry {
  uint16_t tag = 0;
  uint16_t type = 0;
  uint32_t count = 0;
  uint32_t field = 0;  // the value field as a number in the file's byte order
  uint32_t field_pos = 0;
};

enum TiffType : uint16_t { kTiffByte = 1, kTiffAscii = 2, kTiffShort = 3, kTiffLong = 4, kTiffRational = 5 };

enum TiffTag : uint16_t {
  kTagImageWidth = 256,
  kTagImageLength = 257,
  kTagBitsPerSample = 258,
  kTagCompression = 259,
  kTagPhotometric = 262,
  kTagStripOffsets = 273,
  kTagOrientation = 274,
  kTagSamplesPerPixel = 277,
  kTagRowsPerStrip = 278,
  kTagStripByteCounts = 279,
  kTagPlanarConfiguration = 284,
  kTagColorMap = 320,
  kTagTileWidth = 322,
  kTagTileLength = 323,
  kTagTileOffsets = 324,
  kTagTileByteCounts = 325,
  kTagSampleFormat = 339,
  kTagGelFormat = 33445,
  kTagGelScale = 33446,
  kTagGelSampleInfo = 33449,
};

// The tag record of one parse. Defaults are those after `reset_tiff_tags`.
struct TiffTags {
  bool big_endian = false;
  uint32_t first_ifd = 0;
  uint16_t entry_count = 0;
  std::vector<TiffEntry> entries;

  uint32_t image_width = 0;
  uint32_t image_length = 0;
  uint32_t bits_per_sample = 1;
  uint32_t compression = 1;
  uint32_t photometric = 0;
  uint32_t orientation = 0;
  uint32_t samples_per_pixel = 0;
  uint32_t rows_per_strip = 0;
  uint32_t planar_configuration = 0;
  uint32_t sample_format = 0;
  bool tiled = false;  // any of the tile tags is present
  std::vector<uint32_t> strip_offsets;
  std::vector<uint32_t> strip_byte_counts;
  uint32_t strip_offset = 0;      // the first strip's offset
  uint32_t strip_byte_count = 0;  // the first strip's byte count

  // GEL private tags, in the order they appear in the IFD.
  std::vector<uint16_t> gel_tags;
  uint32_t gel_format = 0;
  uint32_t gel_scale_numerator = 0;
  uint32_t gel_scale_denominator = 0;
  std::string gel_sample_info;

  bool is_float() const { return bits_per_sample == 32 && sample_format == 3; }
};

void reset_tiff_tags(TiffTags& tags);

// Parses the header and the first IFD of `bytes` into `tags` (reset first). False when the
// header is not "II"+42 or "MM"+42 or the IFD lies outside the bytes. Arrays and values
// that lie outside the bytes are left empty or at their defaults.
bool parse_tiff_tags(std::span<const uint8_t> bytes, TiffTags& tags);

// The parser as the loader's type test runs it: adds the line " read_tiff_file()", then
// " read_tiff_tags:error" when the bytes are not a TIFF file. 0 on success, 1 on failure.
int read_tiff_tags(std::span<const uint8_t> bytes, TiffTags& tags, LogLines& lines);

// The first value of a SHORT or LONG entry: taken from the value field when the values fit
// into it (a SHORT from the field's first two bytes), else from the offset the field holds.
// Other types, or values outside the bytes, leave `value` unchanged and give false.
bool tiff_tag_value(std::span<const uint8_t> bytes, bool big_endian, const TiffEntry& entry, uint32_t& value);

inline uint16_t swap16(uint16_t v) { return uint16_t(v << 8 | v >> 8); }
inline uint32_t swap32(uint32_t v) {
  return v >> 24 | (v >> 8 & 0xFF00u) | (v << 8 & 0xFF0000u) | v << 24;
}

}  // namespace kestrin
