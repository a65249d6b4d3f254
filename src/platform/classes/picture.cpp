// Pictures: the BMP header check and the stored form of a graphic.
#include "platform/classes/picture.h"

#include "base/byte_reader.h"

namespace kgui {

using kestrin::ByteReader;

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr const char* kBitmapClass = "TBitmap";
constexpr const char* kInvalidBitmap = "Bitmap image is not valid";

// Bytes of one row of pixels, padded to 4 bytes; 0 for a depth BMP does not have.
uint64_t rowBytes(uint64_t width, uint32_t bits) {
  switch (bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: return (width * bits + 31) / 32 * 4;
    default: return 0;
  }
}

}  // namespace

bool bmpStreamSize(std::span<const uint8_t> bmp, int& width, int& height) {
  const ByteReader r(bmp);
  if (bmp.size() < kFileHeaderSize + 12 || bmp[0] != 'B' || bmp[1] != 'M') return false;
  const auto offset = r.u32le(10);
  const auto info_size = r.u32le(14);
  if (!offset || !info_size || *info_size < 12 || !r.has(14, *info_size)) return false;
  int64_t w = 0, h = 0;
  uint32_t bits = 0, compression = 0;
  if (*info_size == 12) {  // the OS/2 core header
    w = *r.u16le(18);
    h = *r.u16le(20);
    bits = *r.u16le(24);
  } else {
    if (*info_size < 40) return false;
    w = *r.i32le(18);
    h = *r.i32le(22);
    bits = *r.u16le(28);
    compression = *r.u32le(30);
  }
  if (h < 0) h = -h;  // top-down rows
  if (w <= 0 || h <= 0 || w > 65535 || h > 65535 || *offset > bmp.size()) return false;
  // Run-length and bit-field streams are checked by their length only when uncompressed.
  if (compression == 0) {
    const uint64_t row = rowBytes(static_cast<uint64_t>(w), bits);
    if (row == 0 || row * static_cast<uint64_t>(h) > bmp.size() - *offset) return false;
  } else if (compression > 3) {
    return false;
  }
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

const ClassInfo& TPicture::staticClassInfo() {
  static const ClassInfo info("TPicture", &TPersistent::staticClassInfo());
  return info;
}

void TPicture::assign(const TPersistent& source) {
  auto* p = dynamic_cast<const TPicture*>(&source);
  if (!p) return TPersistent::assign(source);
  if (p == this) return;
  graphic_class_ = p->graphic_class_;
  data_ = p->data_;
  width_ = p->width_;
  height_ = p->height_;
  changed();
}

std::span<const uint8_t> TPicture::bitmapStream() const {
  if (graphic_class_ != kBitmapClass || data_.size() < 4) return {};
  return std::span<const uint8_t>(data_).subspan(4);
}

void TPicture::setBitmap(std::vector<uint8_t> bmp) {
  int w = 0, h = 0;
  if (!bmpStreamSize(bmp, w, h)) throw EInvalidGraphic(kInvalidBitmap);
  std::vector<uint8_t> data(4);
  kestrin::put_u32le(data.data(), static_cast<uint32_t>(bmp.size()));
  data.insert(data.end(), bmp.begin(), bmp.end());
  graphic_class_ = kBitmapClass;
  data_ = std::move(data);
  width_ = w;
  height_ = h;
  changed();
}

std::vector<uint8_t> TPicture::storedData() const {
  if (empty()) return {};
  std::vector<uint8_t> out;
  out.push_back(static_cast<uint8_t>(graphic_class_.size()));
  out.insert(out.end(), graphic_class_.begin(), graphic_class_.end());
  out.insert(out.end(), data_.begin(), data_.end());
  return out;
}

void TPicture::readStoredData(std::span<const uint8_t> data) {
  if (data.empty()) {
    clear();
    return;
  }
  const size_t name_len = data[0];
  if (name_len == 0 || data.size() < 1 + name_len) throw EInvalidGraphic("Invalid graphic data");
  const std::string name(data.begin() + 1, data.begin() + 1 + static_cast<std::ptrdiff_t>(name_len));
  const std::span<const uint8_t> rest = data.subspan(1 + name_len);
  if (name == kBitmapClass) {
    const auto length = ByteReader(rest).u32le(0);
    if (!length || *length != rest.size() - 4) throw EInvalidGraphic(kInvalidBitmap);
    setBitmap(std::vector<uint8_t>(rest.begin() + 4, rest.end()));
    return;
  }
  graphic_class_ = name;
  data_.assign(rest.begin(), rest.end());
  width_ = height_ = 0;
  changed();
}

void TPicture::clear() {
  graphic_class_.clear();
  data_.clear();
  width_ = height_ = 0;
  changed();
}

void TPicture::changed() const {
  if (OnChange) OnChange();
}

}  // namespace kgui
