// R-AXIS reader and writer: big-endian header fields, big-endian 16-bit codes from the
// record length on, optionally a band of rows; decoded in memory.
#include "image/formats/raxis.h"

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "base/byte_reader.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/formats/copy_target.h"
#include "model/parameters.h"
#include "image/image_store.h"
#include "image/formats/pixel_rows.h"
#include "image/formats/readers.h"
#include "model/state.h"
#include "ports/ports.h"
#include "ports/names/main_form_names.h"

namespace kestrin {

namespace {

constexpr const char* kReadPrefix = "read_rigaku_file() : ";
constexpr const char* kSavePrefix = "save_rigaku_file() : ";

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File open_file(const std::string& path, const char* mode) { return File(std::fopen(path.c_str(), mode)); }

// Reads up to `n` bytes at `offset` into `out`; returns the count read (0 on any error).
size_t read_at(std::FILE* f, int64_t offset, void* out, size_t n) {
  if (offset < 0 || std::fseek(f, long(offset), SEEK_SET) != 0) return 0;
  return std::fread(out, 1, n, f);
}

std::optional<RaxisHeader> read_header(std::FILE* f) {
  uint8_t bytes[kRaxisHeaderBytes];
  const size_t got = read_at(f, 0, bytes, sizeof bytes);
  return parse_raxis_header(std::span<const uint8_t>(bytes, got));
}

// The header's wavelength and camera length replace the geometry unless their lock is
// checked; with `pixels` the pixel sizes likewise.
void apply_header_geometry(const RaxisHeader& h, bool pixels) {
  IntegrationParams& p = state().integration_params;
  Controls& c = controls();
  if (!c.checked(frmMain::chkwl)) p.wavelength = h.wavelength;
  if (!c.checked(frmMain::chkLo)) p.Lo = h.camera_length;
  if (!pixels) return;
  if (!c.checked(frmMain::chkpsx)) p.pixel_x = h.pixel_x;
  if (!c.checked(frmMain::chkpsy)) p.pixel_y = h.pixel_y;
}

// The reason a header's image layout cannot be read, or empty when it can.
std::string layout_problem(const RaxisHeader& h) {
  if (h.width > kMaxImageSide || h.height > kMaxImageSide) return "Number of pixels is too large.";
  if (h.width < 1 || h.height < 1) return "Image size is invalid.";
  if (h.record_length < 0) return "Record length is invalid.";
  if (h.start_row < 0 || (h.start_row > 0 && (h.rows < 1 || h.start_row >= h.height)))
    return "Start row or number of rows is invalid.";
  return {};
}

// Reads the stored rows into `codes` (zero-filled, width * height words) as raw file
// words. A band of rows lands at its start row; rows past the image and bytes past the end
// of the file are left zero.
void read_pixel_words(std::FILE* f, const RaxisHeader& h, std::vector<uint16_t>& codes) {
  const int64_t row_bytes = int64_t(h.width) * 2;
  int64_t first_row = 0, row_count = h.height;
  if (h.start_row != 0) {
    first_row = h.start_row;
    row_count = std::min<int64_t>(h.rows, h.height - h.start_row);
  }
  uint8_t* dest = reinterpret_cast<uint8_t*>(codes.data()) + first_row * row_bytes;
  read_at(f, h.record_length, dest, size_t(row_count * row_bytes));
}

// Big-endian words to codes, in place.
static_assert(std::endian::native == std::endian::little);
void swap_words(std::vector<uint16_t>& words) {
  for (uint16_t& w : words) w = uint16_t(w >> 8 | w << 8);
}

// Row r becomes row height - 1 - r.
void flip_rows(uint16_t* words, int32_t width, int32_t height) {
  for (int32_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(words + int64_t(top) * width, words + int64_t(top + 1) * width, words + int64_t(bottom) * width);
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

std::optional<RaxisHeader> read_raxis_header(const std::string& path) {
  File f = open_file(path, "rb");
  if (!f) return std::nullopt;
  return read_header(f.get());
}

int read_rigaku_file(ImageStore& store, const std::string& path) {
  File f = open_file(path, "rb");
  if (!f) {
    log_line(kReadPrefix + ("Cannot open " + path + "."));
    return 1;
  }
  const std::optional<RaxisHeader> header = read_header(f.get());
  if (!header) {
    log_line(kReadPrefix + ("Header of " + path + " is too short."));
    return 1;
  }
  const RaxisHeader& h = *header;
  apply_header_geometry(h, true);
  if (std::string problem = layout_problem(h); !problem.empty()) {
    log_line(kReadPrefix + problem);
    return 1;
  }
  build_overflow_tables(store, h.overflow_ratio);
  store.set_size(h.width, h.height, 2);
  read_pixel_words(f.get(), h, store.image_codes);
  f.reset();
  log_line(" Swapping byte order...");
  swap_words(store.image_codes);
  if (file_rows_reversed()) flip_rows(store.image_codes.data(), h.width, h.height);
  scan_statistics(store);
  show_header_geometry();
  return 0;
}

int save_rigaku_file(const std::string& name, int from_main) {
  const ImageStore& source = from_main != 0 ? current_image() : bg_image();
  const std::string& loaded = current_image().ImageFilePath;
  if (const auto loaded_header = read_raxis_header(loaded)) apply_header_geometry(*loaded_header, false);
  // The new file is the existing destination, or else a copy of the loaded file, with the
  // codes put in; it replaces the destination only when complete.
  std::string bytes;
  if (!bytes_after_copy(loaded, name, bytes)) {
    log_line(kSavePrefix + ("Cannot copy " + (file_exists(name) ? name : loaded) + " to " + name + "."));
    return 1;
  }
  const auto h = parse_raxis_header(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
  if (!h || h->width < 1 || h->height < 1 || h->record_length < 0 || size_t(h->record_length) > bytes.size() ||
      int64_t(h->width) * h->height != int64_t(source.image_codes.size())) {
    log_line(kSavePrefix + ("Image size does not match " + name + "."));
    return 1;
  }
  std::vector<uint16_t> words(source.image_codes);
  if (file_rows_reversed()) flip_rows(words.data(), h->width, h->height);
  swap_words(words);
  const size_t data_bytes = words.size() * 2;
  bytes.resize(std::max(bytes.size(), size_t(h->record_length) + data_bytes));
  std::memcpy(bytes.data() + h->record_length, words.data(), data_bytes);
  if (!write_file_bytes(name, bytes)) {
    log_line(kSavePrefix + ("Cannot write " + name + "."));
    return 1;
  }
  return 0;
}

}  // namespace kestrin
