// TIFF, floating-point TIFF and GEL readers and the TIFF writer. Only uncompressed,
// untiled, single-sample images in strips are accepted; everything else is refused with
// the reader's error line rather than misread.
#include "image/formats/tiff.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "base/byte_reader.h"
#include "base/convert.h"
#include "base/text_file.h"
#include "image/formats/copy_target.h"
#include "image/formats/pixel_rows.h"

namespace kestrin {
namespace {

constexpr const char* kFloatReadError = "read_tiff_float_file: file open or memory allocate error";
constexpr const char* kSaveError = "save tiff file error";
constexpr const char* kShortStrips = "The strips hold fewer bytes than the image needs.";

// A reader's name and error line, and its lines that say why an image is refused.
struct ReaderLines {
  const char* name;
  const char* error;
  std::string because(const std::string& why) const { return std::string(name) + " : " + why; }
};
constexpr ReaderLines kTiffLines{" read_tiff_file()", " tiff file error"};
constexpr ReaderLines kGelLines{" read_gel_file()", " gel file error."};
constexpr ReaderLines kFloatLines{" read_tiff_float_file()", " tiff file error"};

bool side_ok(uint32_t v) { return v >= 1 && v <= uint32_t(kMaxImageSide); }

// Why the first image is not uncompressed, untiled, one sample per pixel, stored in strips,
// of a size Kestrin keeps; empty when it is.
std::string tiff_layout_problem(const TiffTags& t) {
  if (!side_ok(t.image_width) || !side_ok(t.image_length))
    return Format("Image size %d x %d is not supported.", {t.image_width, t.image_length});
  if (t.compression != 1) return Format("Compressed data (compression %d) are not supported.", {t.compression});
  if (t.tiled) return "Tiled images are not supported.";
  if (t.samples_per_pixel > 1) return Format("%d samples per pixel are not supported.", {t.samples_per_pixel});
  if (t.strip_offsets.empty()) return "The file has no strip offsets.";
  return {};
}

bool plain_layout(const TiffTags& t) { return tiff_layout_problem(t).empty(); }

const char* sample_kind(const TiffTags& t) {
  return t.sample_format == 2 ? "signed integer" : t.sample_format == 3 ? "floating-point" : "unsigned integer";
}

std::string samples_not_supported(const TiffTags& t) {
  return Format("%d-bit %s samples are not supported.", {t.bits_per_sample, sample_kind(t)});
}

// 1 or 2 for 8/16-bit integer samples, unsigned or signed (the codes are the stored words
// either way); 0 for anything else.
int integer_bytes_per_pixel(const TiffTags& t) {
  if (t.sample_format == 3) return 0;
  return t.bits_per_sample == 8 ? 1 : t.bits_per_sample == 16 ? 2 : 0;
}

size_t data_bytes_of(const TiffTags& t, int bytes_per_pixel) {
  return size_t(t.image_width) * t.image_length * size_t(bytes_per_pixel);
}

// The strips in file order, each cut to the bytes the file holds; without byte counts a
// strip runs to the end of the file.
class Strips {
public:
  Strips(std::span<const uint8_t> bytes, const TiffTags& t) : bytes_(bytes), t_(t) {
    n_ = t.strip_byte_counts.empty() ? t.strip_offsets.size()
                                     : std::min(t.strip_offsets.size(), t.strip_byte_counts.size());
  }
  size_t count() const { return n_; }
  size_t offset(size_t i) const { return t_.strip_offsets[i]; }
  size_t declared(size_t i) const {
    return t_.strip_byte_counts.empty() ? std::numeric_limits<size_t>::max() : t_.strip_byte_counts[i];
  }
  size_t available(size_t i) const {
    const size_t o = offset(i);
    return o >= bytes_.size() ? 0 : std::min(declared(i), bytes_.size() - o);
  }
  // Bytes the strips supply in all, capped at `cap`.
  size_t total(size_t cap) const {
    size_t sum = 0;
    for (size_t i = 0; i < n_ && sum < cap; ++i) sum += std::min(available(i), cap - sum);
    return sum;
  }

private:
  std::span<const uint8_t> bytes_;
  const TiffTags& t_;
  size_t n_ = 0;
};

// Whether the strips that supply the first `data_bytes` follow one another in the file, as
// most writers lay them out: the pixel bytes are then read in place.
bool strips_adjacent(const Strips& strips, size_t data_bytes) {
  size_t filled = 0;
  for (size_t i = 0; i < strips.count() && filled < data_bytes; ++i) {
    if (strips.offset(i) != strips.offset(0) + filled) return false;
    filled += std::min(strips.available(i), data_bytes - filled);
  }
  return true;
}

// The image's pixel bytes: the strips one after another, never more than `data_bytes`.
// Empty when the strips hold fewer bytes than the image needs. Checked before any copy.
std::span<const uint8_t> gather_strips(std::span<const uint8_t> bytes, const TiffTags& t, size_t data_bytes,
                                       UninitVector<uint8_t>& buffer) {
  const Strips strips(bytes, t);
  if (strips.count() == 0 || strips.total(data_bytes) < data_bytes) return {};
  if (strips_adjacent(strips, data_bytes)) return bytes.subspan(strips.offset(0), data_bytes);
  buffer.resize(data_bytes);
  size_t filled = 0;
  for (size_t i = 0; i < strips.count() && filled < data_bytes; ++i) {
    const size_t n = std::min(strips.available(i), data_bytes - filled);
    std::memcpy(buffer.data() + filled, bytes.data() + strips.offset(i), n);
    filled += n;
  }
  return buffer;
}

// Decodes every row, and adds each row's codes to `present` while the row is in cache.
template <class Codes>
void decode_integer_pixels(ImageData& image, std::span<const uint8_t> raw, int bpp, bool big_endian, bool reverse,
                           Codes& present) {
  const size_t w = size_t(image.ImageWidth);
  const int32_t h = image.ImageHeight;
  decode_rows_in_lanes(h, image.PixelCount, present, [&](int64_t r, Codes& set) {
    const uint8_t* src = raw.data() + size_t(r) * w * size_t(bpp);
    uint16_t* dst = image.image_codes.data() + stored_row(int32_t(r), h, reverse) * w;
    if (bpp == 1) decode_u8_row(src, dst, w);
    else if (big_endian) decode_u16be_row(src, dst, w);
    else decode_u16le_row(src, dst, w);
    set.add(dst, w);
  });
}

DecodedImage refused_because(DecodedImage&& d, const ReaderLines& reader, const std::string& why) {
  d.log(reader.because(why));
  return refused(std::move(d), reader.error);
}

// The shared body of the TIFF and GEL readers after the tags are parsed.
template <class BuildTables>
DecodedImage load_integer_image(DecodedImage&& d, std::span<const uint8_t> bytes, const TiffTags& t,
                                const ReaderLines& reader, bool reverse, BuildTables build_tables) {
  const int bpp = integer_bytes_per_pixel(t);
  if (std::string problem = tiff_layout_problem(t); !problem.empty())
    return refused_because(std::move(d), reader, problem);
  if (bpp == 0) return refused_because(std::move(d), reader, samples_not_supported(t));
  UninitVector<uint8_t> buffer;
  const auto raw = gather_strips(bytes, t, data_bytes_of(t, bpp), buffer);
  if (raw.empty()) return refused_because(std::move(d), reader, kShortStrips);
  ImageData& image = d.data;
  image.set_size_unfilled(int32_t(t.image_width), int32_t(t.image_length), bpp);
  build_tables(image, bpp * 8);
  decode_with_statistics(image, [&](auto& codes) { decode_integer_pixels(image, raw, bpp, t.big_endian, reverse, codes); });
  d.ok = true;
  return std::move(d);
}

// Code = trunc(f + 100) with f clamped to [-100, 65435]; NaN counts as below the range.
// Returns whether some value was below the range and the smallest such number.
bool decode_float_pixels(ImageData& image, std::span<const uint8_t> raw, bool big_endian, bool reverse, double& smallest,
                         CodeSet& present) {
  constexpr double m = -100.0;
  constexpr double top = 65535.0 + m;
  const size_t w = size_t(image.ImageWidth);
  bool below = false;
  smallest = std::numeric_limits<double>::quiet_NaN();
  for_each_file_row(image, reverse, [&](uint16_t* dst, int32_t row) {
    const uint8_t* src = raw.data() + size_t(row) * w * 4;
    for (size_t x = 0; x < w; ++x) {
      const uint8_t* p = src + 4 * x;
      const uint32_t u = big_endian ? uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]
                                    : uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
      double f = ByteReader::bits_to_float(u);
      if (!(f >= m)) {
        if (!below || f < smallest || std::isnan(smallest)) smallest = f;
        below = true;
        f = m;
      }
      if (f > top) f = top;
      dst[x] = uint16_t(f - m);
    }
    present.add(dst, w);
  });
  return below;
}

double gel_scale(const TiffTags& t) {
  return t.gel_scale_denominator == 0 ? 1.0 : double(t.gel_scale_numerator) / t.gel_scale_denominator;
}

// The GEL tags' lines, in the order the tags stand in the IFD.
void log_gel_tags(const TiffTags& t, DecodedImage& d) {
  for (uint16_t tag : t.gel_tags) {
    if (tag == kTagGelFormat) {
      d.log(t.gel_format == 2 ? "Squary root data format" : "Linear data format");
    } else if (tag == kTagGelScale) {
      d.log("Scale Factor =" + std::to_string(t.gel_scale_numerator) + "/" + std::to_string(t.gel_scale_denominator) +
            "=" + FloatToStr(gel_scale(t)));
    } else {
      d.log("----------Sample Info begin----------");
      for (const auto& line : split_lines(t.gel_sample_info)) d.log(line);
      d.log("----------Sample Info end----------");
    }
  }
}

}  // namespace

int sniff_tiff_type(std::span<const uint8_t> bytes, TiffTags& tags, LogLines& lines) {
  read_tiff_tags(bytes, tags, lines);
  return tags.is_float() ? kTypeFloatTiff : kTypeTiff;
}

DecodedImage decode_tiff_image(std::span<const uint8_t> bytes, const DecodeOptions& options, ImageData storage) {
  DecodedImage d(std::move(storage));
  d.log(kTiffLines.name);
  TiffTags t;
  if (!parse_tiff_tags(bytes, t)) return refused(std::move(d), kTiffLines.error);
  return load_integer_image(std::move(d), bytes, t, kTiffLines, options.reverse_rows,
                            [](ImageData& image, int bits) { build_tiff_tables(image, bits); });
}

DecodedImage decode_gel_image(std::span<const uint8_t> bytes, const DecodeOptions& options, ImageData storage) {
  DecodedImage d(std::move(storage));
  d.log(kGelLines.name);
  TiffTags t;
  if (!parse_tiff_tags(bytes, t)) return refused(std::move(d), kGelLines.error);
  log_gel_tags(t, d);
  const bool square_root = t.gel_format == 2;
  const double scale = gel_scale(t);
  return load_integer_image(std::move(d), bytes, t, kGelLines, options.reverse_rows, [&](ImageData& image, int bits) {
    build_gel_tables(image, bits, square_root, scale);
  });
}

DecodedImage decode_tiff_float_image(std::span<const uint8_t> bytes, const TiffTags& tags, const DecodeOptions& options,
                                     ImageData storage) {
  DecodedImage d(std::move(storage));
  d.log(kFloatLines.name);
  if (std::string problem = tiff_layout_problem(tags); !problem.empty())
    return refused_because(std::move(d), kFloatLines, problem);
  if (!tags.is_float()) return refused_because(std::move(d), kFloatLines, samples_not_supported(tags));
  UninitVector<uint8_t> buffer;
  const auto raw = gather_strips(bytes, tags, data_bytes_of(tags, 4), buffer);
  if (raw.empty()) {
    d.log(kFloatLines.because(kShortStrips));
    return refused(std::move(d), kFloatReadError);
  }
  ImageData& image = d.data;
  image.set_size_unfilled(int32_t(tags.image_width), int32_t(tags.image_length), 4);
  build_float_tiff_tables(image);
  double smallest = 0.0;
  CodeSet present;
  const bool below = decode_float_pixels(image, raw, tags.big_endian, options.reverse_rows, smallest, present);
  scan_statistics(image, present);
  if (below) d.log("minimum inten =" + FloatToStr(smallest) + ". out of range");
  d.ok = true;
  return d;
}

namespace {

std::vector<uint8_t> encode_codes(const ImageData& image, int bpp, bool big_endian, bool reverse) {
  const size_t w = size_t(image.ImageWidth);
  std::vector<uint8_t> raw(w * size_t(image.ImageHeight) * size_t(bpp));
  for_each_file_row(image, reverse, [&](const uint16_t* src, int32_t r) {
    uint8_t* dst = raw.data() + size_t(r) * w * size_t(bpp);
    if (bpp == 1) encode_u8_row(src, dst, w);
    else if (big_endian) encode_u16be_row(src, dst, w);
    else encode_u16le_row(src, dst, w);
  });
  return raw;
}

// Writes `raw` strip by strip into `file`; false when the strips do not hold it all.
bool write_strips(std::string& file, const TiffTags& t, const std::vector<uint8_t>& raw) {
  const auto bytes = std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(file.data()), file.size());
  const Strips strips(bytes, t);
  if (strips.total(raw.size()) < raw.size()) return false;
  size_t done = 0;
  for (size_t i = 0; i < strips.count() && done < raw.size(); ++i) {
    const size_t n = std::min(strips.available(i), raw.size() - done);
    std::memcpy(file.data() + strips.offset(i), raw.data() + done, n);
    done += n;
  }
  return true;
}

WriteResult save_failed() { return {false, {" save_tiff_file()", kSaveError}}; }

}  // namespace

WriteResult save_tiff_file(const ImageData& image, const std::string& source, const std::string& name,
                           bool reverse_rows) {
  std::string file;
  if (!bytes_after_copy(source, name, file)) return save_failed();
  TiffTags t;
  const auto bytes = std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(file.data()), file.size());
  if (!parse_tiff_tags(bytes, t)) return save_failed();
  const int bpp = integer_bytes_per_pixel(t);
  const bool same_size = int64_t(t.image_width) == image.ImageWidth && int64_t(t.image_length) == image.ImageHeight &&
                         image.image_codes.size() == size_t(t.image_width) * t.image_length;
  if (bpp == 0 || !plain_layout(t) || !same_size) return save_failed();
  const auto raw = encode_codes(image, bpp, t.big_endian, reverse_rows);
  if (!write_strips(file, t, raw) || !write_file_bytes(name, file)) return save_failed();
  return {true, {" save_tiff_file()"}};
}

}  // namespace kestrin
