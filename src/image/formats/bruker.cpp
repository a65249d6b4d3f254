// Bruker CCD reader. The frame size and data offset are fixed; of the header only the
// bytes-per-pixel field is used, the other parsed fields must merely be integers.
#include "image/formats/bruker.h"

#include <optional>

#include "base/byte_reader.h"
#include "base/convert.h"
#include "image/formats/mapped_file.h"
#include "image/formats/pixel_rows.h"
#include "model/state.h"
#include "ports/log.h"

namespace kestrin {
namespace {

constexpr size_t kLineLength = 80;
constexpr size_t kValueOffset = 8;
constexpr size_t kFieldLength = 10;
constexpr int kParsedLines[] = {0, 1, 2, 39, 40, 41, 42, 43};
constexpr int kBytesPerPixelLine = 39;
constexpr size_t kFrameBytes = size_t(kBrukerSide) * kBrukerSide * 2;

bool fail(const std::string& reason) {
  log_line(" read_bruker_file() : " + reason);
  return false;
}

// Parses the eight header fields; gives the bytes-per-pixel value.
bool parse_header(std::span<const uint8_t> bytes, int32_t& bytes_per_pixel) {
  for (int line : kParsedLines) {
    const size_t pos = line * kLineLength + kValueOffset;
    const std::string_view field(reinterpret_cast<const char*>(bytes.data() + pos), kFieldLength);
    const auto v = bruker_field(field);
    if (!v) return fail("Header line " + std::to_string(line) + " is not an integer.");
    if (line == kBytesPerPixelLine) bytes_per_pixel = *v;
  }
  return true;
}

}  // namespace

std::optional<int32_t> bruker_field(std::string_view field) {
  while (!field.empty() && (field.back() == ' ' || field.back() == '\0')) field.remove_suffix(1);
  return TryStrToInt(field);
}

int decode_bruker_image(ImageStore& store, std::span<const uint8_t> bytes) {
  int32_t bytes_per_pixel = 0;
  if (!ByteReader(bytes).has(0, kBrukerDataOffset)) return !fail("File is too short.");
  if (!parse_header(bytes, bytes_per_pixel)) return 1;
  if (bytes_per_pixel != 1 && bytes_per_pixel != 2) return !fail("Bytes per pixel is not 1 or 2.");
  if (!ByteReader(bytes).has(kBrukerDataOffset, kFrameBytes)) return !fail("File is too short.");
  build_overflow_tables(store, 1.0f);
  store.set_size(kBrukerSide, kBrukerSide, bytes_per_pixel);
  auto& params = state().integration_params;
  params.pixel_x = 1.0;
  params.pixel_y = 1.0;
  decode_u16le_row(bytes.data() + kBrukerDataOffset, store.image_codes.data(), store.image_codes.size());
  scan_statistics(store);
  return 0;
}

int read_bruker_file(ImageStore& store, const std::string& path) {
  log_line(" read_bruker_file()");
  MappedFile file;
  if (!file.open(path)) return !fail(path + " open error.");
  return decode_bruker_image(store, file.bytes());
}

}  // namespace kestrin
