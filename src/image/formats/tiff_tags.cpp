// TIFF header and first-IFD parsing (TIFF 6.0), bounds-checked against the file's bytes.
#include "image/formats/tiff_tags.h"

#include "base/byte_reader.h"

namespace kestrin {
namespace {

class TiffBytes {
public:
  TiffBytes(std::span<const uint8_t> bytes, bool big_endian) : r_(bytes), be_(big_endian) {}
  std::optional<uint16_t> u16(size_t o) const { return be_ ? r_.u16be(o) : r_.u16le(o); }
  std::optional<uint32_t> u32(size_t o) const { return be_ ? r_.u32be(o) : r_.u32le(o); }
  bool has(size_t o, size_t n) const { return r_.has(o, n); }

private:
  ByteReader r_;
  bool be_;
};

size_t type_size(uint16_t type) {
  switch (type) {
    case kTiffByte: case kTiffAscii: return 1;
    case kTiffShort: return 2;
    case kTiffLong: return 4;
    case kTiffRational: return 8;
    default: return 0;
  }
}

// Where the values of an entry start: the value field itself when they fit into it.
size_t values_pos(const TiffEntry& e) {
  return uint64_t(e.count) * type_size(e.type) <= 4 ? e.field_pos : e.field;
}

// A SHORT or LONG array (strip offsets, byte counts); empty when it lies outside the bytes.
std::vector<uint32_t> read_array(const TiffBytes& b, const TiffEntry& e) {
  const size_t size = type_size(e.type);
  if ((e.type != kTiffShort && e.type != kTiffLong) || e.count == 0) return {};
  const size_t pos = values_pos(e);
  if (!b.has(pos, uint64_t(e.count) * size)) return {};
  std::vector<uint32_t> out(e.count);
  for (uint32_t i = 0; i < e.count; ++i)
    out[i] = size == 2 ? *b.u16(pos + 2 * size_t(i)) : *b.u32(pos + 4 * size_t(i));
  return out;
}

std::string read_ascii(std::span<const uint8_t> bytes, const TiffEntry& e) {
  const size_t pos = values_pos(e);
  if (!ByteReader(bytes).has(pos, e.count)) return {};
  std::string s(reinterpret_cast<const char*>(bytes.data() + pos), e.count);
  const size_t nul = s.find('\0');
  if (nul != std::string::npos) s.resize(nul);
  return s;
}

void read_gel_scale(const TiffBytes& b, const TiffEntry& e, TiffTags& t) {
  if (e.type != kTiffRational || !b.has(e.field, 8)) return;
  t.gel_scale_numerator = *b.u32(e.field);
  t.gel_scale_denominator = *b.u32(size_t(e.field) + 4);
}

// Flat dispatch over the tags the readers use.
void apply_entry(std::span<const uint8_t> bytes, const TiffBytes& b, const TiffEntry& e, TiffTags& t) {
  switch (e.tag) {
    case kTagImageWidth: tiff_tag_value(bytes, t.big_endian, e, t.image_width); break;
    case kTagImageLength: tiff_tag_value(bytes, t.big_endian, e, t.image_length); break;
    case kTagBitsPerSample: tiff_tag_value(bytes, t.big_endian, e, t.bits_per_sample); break;
    case kTagCompression: tiff_tag_value(bytes, t.big_endian, e, t.compression); break;
    case kTagPhotometric: tiff_tag_value(bytes, t.big_endian, e, t.photometric); break;
    case kTagOrientation: tiff_tag_value(bytes, t.big_endian, e, t.orientation); break;
    case kTagSamplesPerPixel: tiff_tag_value(bytes, t.big_endian, e, t.samples_per_pixel); break;
    case kTagRowsPerStrip: tiff_tag_value(bytes, t.big_endian, e, t.rows_per_strip); break;
    case kTagPlanarConfiguration: tiff_tag_value(bytes, t.big_endian, e, t.planar_configuration); break;
    case kTagSampleFormat: tiff_tag_value(bytes, t.big_endian, e, t.sample_format); break;
    case kTagStripOffsets:
      t.strip_offsets = read_array(b, e);
      t.strip_offset = t.strip_offsets.empty() ? 0 : t.strip_offsets[0];
      break;
    case kTagStripByteCounts:
      t.strip_byte_counts = read_array(b, e);
      t.strip_byte_count = t.strip_byte_counts.empty() ? 0 : t.strip_byte_counts[0];
      break;
    case kTagTileWidth: case kTagTileLength: case kTagTileOffsets: case kTagTileByteCounts:
      t.tiled = true;
      break;
    case kTagGelFormat:
      t.gel_tags.push_back(e.tag);
      tiff_tag_value(bytes, t.big_endian, e, t.gel_format);
      break;
    case kTagGelScale:
      t.gel_tags.push_back(e.tag);
      read_gel_scale(b, e, t);
      break;
    case kTagGelSampleInfo:
      t.gel_tags.push_back(e.tag);
      t.gel_sample_info = read_ascii(bytes, e);
      break;
    default: break;
  }
}

}  // namespace

void reset_tiff_tags(TiffTags& tags) { tags = TiffTags(); }

bool tiff_tag_value(std::span<const uint8_t> bytes, bool big_endian, const TiffEntry& entry, uint32_t& value) {
  if ((entry.type != kTiffShort && entry.type != kTiffLong) || entry.count == 0) return false;
  const TiffBytes b(bytes, big_endian);
  const size_t pos = values_pos(entry);
  if (entry.type == kTiffShort) {
    const auto v = b.u16(pos);
    if (v) value = *v;
    return v.has_value();
  }
  const auto v = b.u32(pos);
  if (v) value = *v;
  return v.has_value();
}

bool parse_tiff_tags(std::span<const uint8_t> bytes, TiffTags& tags) {
  reset_tiff_tags(tags);
  const ByteReader r(bytes);
  if (!r.has(0, 8)) return false;
  if (bytes[0] == 'I' && bytes[1] == 'I' && *r.u16le(2) == 42) {
    tags.big_endian = false;
  } else if (bytes[0] == 'M' && bytes[1] == 'M' && *r.u16be(2) == 42) {
    tags.big_endian = true;
  } else {
    return false;
  }
  const TiffBytes b(bytes, tags.big_endian);
  tags.first_ifd = *b.u32(4);
  const auto count = b.u16(tags.first_ifd);
  if (!count || !b.has(size_t(tags.first_ifd) + 2, size_t(*count) * 12)) return false;
  tags.entry_count = *count;
  tags.entries.reserve(*count);
  for (size_t i = 0; i < *count; ++i) {
    const size_t pos = size_t(tags.first_ifd) + 2 + 12 * i;
    TiffEntry e{*b.u16(pos), *b.u16(pos + 2), *b.u32(pos + 4), *b.u32(pos + 8), uint32_t(pos + 8)};
    tags.entries.push_back(e);
    apply_entry(bytes, b, e, tags);
  }
  return true;
}

int read_tiff_tags(std::span<const uint8_t> bytes, TiffTags& tags, LogLines& lines) {
  lines.push_back(" read_tiff_file()");
  if (!parse_tiff_tags(bytes, tags)) {
    lines.push_back(" read_tiff_tags:error");
    return 1;
  }
  return 0;
}

}  // namespace kestrin
