// HiPiC reader and writer.
#include "image/formats/hipic.h"

#include <vector>

#include "base/byte_reader.h"
#include "base/text_file.h"
#include "image/formats/copy_target.h"
#include "model/parameters.h"
#include "image/formats/mapped_file.h"
#include "image/formats/pixel_rows.h"
#include "model/state.h"
#include "ports/log.h"
#include "ports/ports.h"

namespace kestrin {
namespace {

constexpr size_t kHeaderSize = 14;
constexpr size_t kDataBase = 64;

struct HipicHeader {
  uint16_t comment_length = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bytes_per_pixel = 0;  // 0 for an unknown pixel kind
  size_t data_offset() const { return kDataBase + comment_length; }
  size_t data_bytes() const { return size_t(width) * size_t(height) * size_t(bytes_per_pixel); }
};

bool parse_header(std::span<const uint8_t> bytes, HipicHeader& h) {
  const ByteReader r(bytes);
  if (!r.has(0, kHeaderSize)) return false;
  h.comment_length = *r.u16le(2);
  h.width = *r.u16le(4);
  h.height = *r.u16le(6);
  const uint16_t kind = *r.u16le(12);
  h.bytes_per_pixel = kind == 0 ? 1 : kind == 1 ? 2 : kind == 2 ? 4 : 0;
  return true;
}

// The header and data checks, before any pixel memory is sized. Logs the refusal.
bool header_usable(std::span<const uint8_t> bytes, HipicHeader& h) {
  if (!parse_header(bytes, h)) {
    log_line("read_hipic_file() : File is too short.");
    return false;
  }
  if (h.width > kMaxImageSide || h.height > kMaxImageSide) {
    log_line("read_hipic_file() : Number of pixels is too large.");
    return false;
  }
  if (h.width == 0 || h.height == 0) {
    log_line("read_hipic_file() : Number of pixels is zero.");
    return false;
  }
  if (h.bytes_per_pixel == 0) {
    log_line("read_hipic_file() : Unknown pixel kind.");
    return false;
  }
  if (!ByteReader(bytes).has(h.data_offset(), h.data_bytes())) {
    log_line("read_hipic_file() : File is too short.");
    return false;
  }
  return true;
}

// 4-byte pixels: the low two bytes are the code; the high two must be zero.
bool decode_u32_row(const uint8_t* src, uint16_t* dst, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const uint8_t* p = src + 4 * i;
    if (p[2] != 0 || p[3] != 0) return false;
    dst[i] = uint16_t(p[0] | p[1] << 8);
  }
  return true;
}

bool decode_pixels(ImageStore& s, const uint8_t* data) {
  const size_t w = size_t(s.ImageWidth);
  const size_t bpp = size_t(s.BytesPerPixel);
  bool ok = true;
  for_each_file_row(s, file_rows_reversed(), [&](uint16_t* dst, int32_t r) {
    const uint8_t* src = data + size_t(r) * w * bpp;
    if (bpp == 1) decode_u8_row(src, dst, w);
    else if (bpp == 2) decode_u16le_row(src, dst, w);
    else if (ok) ok = decode_u32_row(src, dst, w);
  });
  return ok;
}

}  // namespace

int decode_hipic_image(ImageStore& store, std::span<const uint8_t> bytes) {
  HipicHeader h;
  if (!header_usable(bytes, h)) return 1;
  store.set_size(h.width, h.height, h.bytes_per_pixel);
  build_overflow_tables(store, 1.0f);
  if (!decode_pixels(store, bytes.data() + h.data_offset())) {
    log_line("read_hipic_file. byte error.");
    return 1;
  }
  scan_statistics(store);
  return 0;
}

int read_hipic_file(ImageStore& store, const std::string& path) {
  MappedFile file;
  if (!file.open(path)) {
    log_line("read_hipic_file() : " + path + " open error.");
    return 1;
  }
  const int result = decode_hipic_image(store, file.bytes());
  if (result == 0 && &store == &current_image()) show_header_geometry();
  return result;
}

int save_hipic_file(const ImageStore& image, const std::string& source, const std::string& name) {
  std::string file;
  HipicHeader h;
  const auto bytes = [&] { return std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(file.data()), file.size()); };
  if (!bytes_after_copy(source, name, file) || !parse_header(bytes(), h) || h.bytes_per_pixel == 0 ||
      h.width != image.ImageWidth || h.height != image.ImageHeight ||
      image.image_codes.size() != size_t(h.width) * size_t(h.height)) {
    log_line("save_hipic_file() : " + name + " does not match the image.");
    return 1;
  }
  if (file.size() < h.data_offset() + h.data_bytes()) file.resize(h.data_offset() + h.data_bytes(), '\0');
  const size_t w = size_t(h.width);
  const size_t bpp = size_t(h.bytes_per_pixel);
  auto* out = reinterpret_cast<uint8_t*>(file.data()) + h.data_offset();
  for_each_file_row(image, file_rows_reversed(), [&](const uint16_t* src, int32_t r) {
    uint8_t* dst = out + size_t(r) * w * bpp;
    if (bpp == 1) encode_u8_row(src, dst, w);
    else if (bpp == 2) encode_u16le_row(src, dst, w);
    else
      for (size_t i = 0; i < w; ++i) put_u32le(dst + 4 * i, src[i]);
  });
  if (!write_file_bytes(name, file)) {
    log_line("save_hipic_file() : " + name + " write error.");
    return 1;
  }
  return 0;
}

}  // namespace kestrin
