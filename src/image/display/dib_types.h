// The bitmap library's plain types: its errors, the BMP info header and colour entries, the
// pixel block, and the information block (header, colour table, pixels) that every pixel
// format converter reads and returns.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

namespace kestrin {

// The bitmap library's errors; every message names class, operation and reason.
class EKsDIBError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};
#define KESTRIN_DIB_ERROR(name) \
  class name : public EKsDIBError { public: using EKsDIBError::EKsDIBError; };
KESTRIN_DIB_ERROR(EKsDIBInvalidDIB)
KESTRIN_DIB_ERROR(EKsDIBInvalidDIBFile)
KESTRIN_DIB_ERROR(EKsDIBInvalidDIBPara)
KESTRIN_DIB_ERROR(EKsDIBBadDIBType)
KESTRIN_DIB_ERROR(EKsDIBPaletteIndexRange)
KESTRIN_DIB_ERROR(EKsDIBPixelPositionRange)
KESTRIN_DIB_ERROR(EKsDIBInvalidPalette)
KESTRIN_DIB_ERROR(EKsDIBCompressionFailed)
KESTRIN_DIB_ERROR(EKsDIBCanvasFailed)
#undef KESTRIN_DIB_ERROR
// An internal inconsistency (a programming error, not bad input).
class EKsDIBAssertion : public std::logic_error {
public:
  using std::logic_error::logic_error;
};

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;

struct BitmapInfoHeader {
  uint32_t biSize = 40;
  int32_t biWidth = 0;
  int32_t biHeight = 0;  // positive: rows bottom-up; negative: top-down
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 8;
  uint32_t biCompression = BI_RGB;
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 3780;
  int32_t biYPelsPerMeter = 3780;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};

struct RGBQuad {
  uint8_t blue = 0, green = 0, red = 0, reserved = 0;
  bool operator==(const RGBQuad&) const = default;
};

// A block of pixel bytes, zero-filled when made. Large blocks come zeroed from the system
// page by page (calloc), so a converter that fills its result writes it only once.
class DibBits {
public:
  DibBits() = default;
  explicit DibBits(size_t size);  // throws EOutOfMemory when it cannot be had
  DibBits(const uint8_t* first, size_t size);
  DibBits(const std::vector<uint8_t>& bytes) : DibBits(bytes.data(), bytes.size()) {}
  DibBits(const DibBits& other) : DibBits(other.data(), other.size()) {}
  DibBits(DibBits&& other) noexcept : data_(other.data_), size_(other.size_) { other.data_ = nullptr, other.size_ = 0; }
  DibBits& operator=(DibBits other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    return *this;
  }
  ~DibBits();

  uint8_t* data() { return data_; }
  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  uint8_t& operator[](size_t i) { return data_[i]; }
  uint8_t operator[](size_t i) const { return data_[i]; }
  const uint8_t* begin() const { return data_; }
  const uint8_t* end() const { return data_ + size_; }
  using value_type = uint8_t;
  using const_iterator = const uint8_t*;
  using iterator = const uint8_t*;

  friend bool operator==(const DibBits& a, const DibBits& b);
  friend bool operator==(const DibBits& a, const std::vector<uint8_t>& b);

private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

// The DIB information block: header, the 256-entry colour table (the first biClrUsed in
// use) and the pixel rows in storage order (bottom-up when biHeight > 0).
struct DibInfo {
  BitmapInfoHeader header;
  std::array<RGBQuad, 256> colors{};
  DibBits bits;

  int32_t width() const { return header.biWidth; }
  int32_t rows() const { return header.biHeight < 0 ? -header.biHeight : header.biHeight; }
  // Bytes per uncompressed row at the header's depth.
  size_t stride() const { return size_t(row_bytes(header.biBitCount, header.biWidth)); }
  // Row r in storage order, for uncompressed blocks.
  uint8_t* row(int32_t r) { return bits.data() + size_t(r) * stride(); }
  const uint8_t* row(int32_t r) const { return bits.data() + size_t(r) * stride(); }

  // Zero-filled uncompressed rows for the header's size and depth. A block of 2 GiB or more
  // cannot be had and raises EOutOfResources, as the allocation itself would fail.
  void allocate_rows();

  static int64_t row_bytes(int32_t bit_count, int32_t width) { return ((int64_t(bit_count) * width + 31) / 32) * 4; }
};

// Number of colour entries of a depth: 2, 16, 256, else 0.
int32_t color_count_of(int32_t bit_count);

}  // namespace kestrin
