// R-AXIS reader and writer: big-endian header fields, big-endian 16-bit codes from the
// record length on, optionally a band of rows.
#include "image/formats/raxis.h"

#include <algorithm>
#include <vector>

#include "base/byte_reader.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/formats/copy_target.h"
#include "image/formats/pixel_rows.h"

namespace kestrin {

namespace {

constexpr const char* kReadPrefix = "read_rigaku_file() : ";
constexpr const char* kSavePrefix = "save_rigaku_file() : ";

// The reason a header's image layout cannot be read, or empty when it can.
std::string raxis_layout_problem(const RaxisHeader& h) {
  if (h.width > kMaxImageSide || h.height > kMaxImageSide) return "Number of pixels is too large.";
  if (h.width < 1 || h.height < 1) return "Image size is invalid.";
  if (h.record_length < 0) return "Record length is invalid.";
  if (h.start_row < 0 || (h.start_row > 0 && (h.rows < 1 || h.start_row >= h.height)))
    return "Start row or number of rows is invalid.";
  return {};
}

// Decodes the stored rows into the zero-filled codes. A band of rows lands at its start row;
// rows past the image and bytes past the end of the file stay zero (a last odd byte is the
// high byte of its code).
void decode_pixel_rows(std::span<const uint8_t> bytes, const RaxisHeader& h, ImageData& image, bool reverse) {
  const size_t row_bytes = size_t(h.width) * 2;
  int64_t first_row = 0, row_count = h.height;
  if (h.start_row != 0) {
    first_row = h.start_row;
    row_count = std::min<int64_t>(h.rows, h.height - h.start_row);
  }
  const size_t record = size_t(h.record_length);
  const size_t available = record < bytes.size() ? std::min(bytes.size() - record, size_t(row_count) * row_bytes) : 0;
  const uint8_t* data = bytes.data() + record;
  for (size_t r = 0, offset = 0; offset < available; ++r, offset += row_bytes) {
    uint16_t* dst = image.image_codes.data() + stored_row(int32_t(first_row + int64_t(r)), h.height, reverse) * size_t(h.width);
    const size_t n = std::min(row_bytes, available - offset);
    decode_u16be_row(data + offset, dst, n / 2);
    if (n % 2 != 0) dst[n / 2] = uint16_t(data[offset + n - 1] << 8);
  }
}

}  // namespace

std::optional<RaxisHeader> parse_raxis_header(std::span<const uint8_t> bytes) {
  if (bytes.size() < kRaxisHeaderBytes) return std::nullopt;
  const ByteReader r(bytes);
  RaxisHeader h;
  h.wavelength = *r.f32be(292);
  h.camera_length = *r.f32be(344);
  h.width = *r.i32be(768);
  h.height = *r.i32be(772);
  h.pixel_x = *r.f32be(776);
  h.pixel_y = *r.f32be(780);
  h.record_length = *r.i32be(784);
  h.rows = *r.i32be(788);
  h.start_row = *r.i32be(792);
  h.overflow_ratio = *r.f32be(800);
  return h;
}

HeaderGeometry raxis_header_geometry(const RaxisHeader& h) {
  HeaderGeometry g;
  g.wavelength = h.wavelength;
  g.camera_length = h.camera_length;
  g.pixel_x = h.pixel_x;
  g.pixel_y = h.pixel_y;
  return g;
}

DecodedImage decode_raxis_image(std::span<const uint8_t> bytes, const DecodeOptions& options, ImageData storage) {
  DecodedImage d(std::move(storage));
  const std::optional<RaxisHeader> header = parse_raxis_header(bytes);
  if (!header) return refused(std::move(d), kReadPrefix + ("Header of " + options.name + " is too short."));
  const RaxisHeader& h = *header;
  d.geometry = raxis_header_geometry(h);
  if (std::string problem = raxis_layout_problem(h); !problem.empty())
    return refused(std::move(d), kReadPrefix + problem);
  build_overflow_tables(d.data, h.overflow_ratio);
  d.data.set_size(h.width, h.height, 2);
  d.log(" Swapping byte order...");
  decode_pixel_rows(bytes, h, d.data, options.reverse_rows);
  scan_statistics(d.data);
  d.ok = true;
  return d;
}

WriteResult save_rigaku_file(const ImageData& image, const std::string& source, const std::string& name,
                             bool reverse_rows) {
  // The new file is the existing destination, or else a copy of the source, with the codes
  // put in; it replaces the destination only when complete.
  std::string bytes;
  if (!bytes_after_copy(source, name, bytes))
    return {false, {kSavePrefix + ("Cannot copy " + (file_exists(name) ? name : source) + " to " + name + ".")}};
  const auto h = parse_raxis_header(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  if (!h || h->width < 1 || h->height < 1 || h->record_length < 0 || size_t(h->record_length) > bytes.size() ||
      int64_t(h->width) * h->height != int64_t(image.image_codes.size()))
    return {false, {kSavePrefix + ("Image size does not match " + name + ".")}};
  const size_t data_bytes = image.image_codes.size() * 2;
  bytes.resize(std::max(bytes.size(), size_t(h->record_length) + data_bytes));
  auto* out = reinterpret_cast<uint8_t*>(bytes.data()) + h->record_length;
  // Rows in the file's own layout, which holds exactly as many codes as the image.
  const size_t w = size_t(h->width);
  for (int32_t r = 0; r < h->height; ++r)
    encode_u16be_row(image.image_codes.data() + stored_row(r, h->height, reverse_rows) * w, out + size_t(r) * w * 2, w);
  if (!write_file_bytes(name, bytes)) return {false, {kSavePrefix + ("Cannot write " + name + ".")}};
  return {};
}

}  // namespace kestrin
