// R-AXIS reader and writer: big-endian header fields, big-endian 16-bit codes from the
// record length on, optionally a band of rows.
#include "image/formats/raxis.h"

#include <algorithm>
#include <vector>

#include "base/byte_reader.h"
#include "base/convert.h"
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

// The stored rows: the first image row they fill and how many, a band clamped to the image.
struct StoredRows {
  int64_t first = 0;
  int64_t count = 0;
};

StoredRows stored_rows(const RaxisHeader& h) {
  if (h.start_row == 0) return {0, h.height};
  return {h.start_row, std::min<int64_t>(h.rows, int64_t(h.height) - h.start_row)};
}

// The pixel bytes the header needs, and those the file holds after the record length.
struct PixelBytes {
  int64_t needed = 0;
  int64_t held = 0;
};

PixelBytes pixel_bytes(std::span<const uint8_t> bytes, const RaxisHeader& h) {
  const int64_t record = h.record_length;
  return {stored_rows(h).count * int64_t(h.width) * 2,
          record < int64_t(bytes.size()) ? int64_t(bytes.size()) - record : 0};
}

// Decodes the stored rows into the codes; the file holds them all. A band of
// rows lands at its start row; the other rows stay zero.
// Decodes the file's rows, adding each row's codes to `present` while the row is in cache.
// True when they were every row of the image.
bool decode_pixel_rows(std::span<const uint8_t> bytes, const RaxisHeader& h, ImageData& image, bool reverse,
                       CodeSet& present) {
  const size_t w = size_t(h.width);
  const StoredRows rows = stored_rows(h);
  const uint8_t* data = bytes.data() + size_t(h.record_length);
  decode_rows_in_lanes(rows.count, rows.count * int64_t(w), present, [&](int64_t r, CodeSet& set) {
    uint16_t* dst = image.image_codes.data() + stored_row(int32_t(rows.first + r), h.height, reverse) * w;
    decode_u16be_row(data + size_t(r) * w * 2, dst, w);
    set.add(dst, w);
  });
  return rows.first == 0 && rows.count == h.height;
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
  // A short file is refused before any pixel memory is allocated.
  if (const PixelBytes b = pixel_bytes(bytes, h); b.held < b.needed)
    return refused(std::move(d), kReadPrefix + Format("The file holds %d pixel bytes; the header needs %d.",
                                                      {int64_t(b.held), int64_t(b.needed)}));
  build_overflow_tables(d.data, h.overflow_ratio);
  // A band of rows leaves the other rows zero; a whole image writes every pixel.
  if (h.start_row > 0) d.data.set_size(h.width, h.height, 2);
  else d.data.set_size_unfilled(h.width, h.height, 2);
  d.log(" Swapping byte order...");
  CodeSet present;
  // A band of rows leaves codes the file did not give: their set comes from a pass of its own.
  if (decode_pixel_rows(bytes, h, d.data, options.reverse_rows, present)) scan_statistics(d.data, present);
  else scan_statistics(d.data);
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
