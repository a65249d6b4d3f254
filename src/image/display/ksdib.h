// TKsDIB: an 8-bit-palette-capable device-independent bitmap with shared, reference-counted
// storage and copy on write; BMP reading and writing. Every image view and the mask are
// the pixel bytes of such bitmaps.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/colour.h"

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

struct BitmapInfoHeader {
  uint32_t biSize = 40;
  int32_t biWidth = 0;
  int32_t biHeight = 0;  // positive: rows bottom-up; negative: top-down
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 8;
  uint32_t biCompression = 0;  // 0 BI_RGB, 1 BI_RLE8, 2 BI_RLE4
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

// The shared storage: a packed DIB (header, 256 colours, pixel rows).
struct TKsInternalDIB {
  BitmapInfoHeader header;
  std::array<RGBQuad, 256> colors{};
  std::vector<uint8_t> bits;
  int32_t Width = 0;
  int32_t Height = 0;  // |biHeight|
  bool palette_modified = false;
  bool UseFMO = false;

  // Fresh zero-filled storage; throws EKsDIBInvalidDIBPara for bad parameters.
  void CreateDIB(int32_t width, int32_t height, int32_t color_count, int32_t bit_count);
};

enum class KsPixelFormat { Bit1, Bit4, Bit4RLE, Bit8, Bit8RLE, Bit24 };

class TKsDIB {
public:
  TKsDIB();  // 1 x 1, 8 bits, 256 black colours
  TKsDIB(const TKsDIB& other);             // shares the storage
  TKsDIB& operator=(const TKsDIB& other);  // Assign: shares the storage

  int32_t Width() const { return dib_->Width; }
  int32_t Height() const { return dib_->Height; }
  // A new size replaces the storage by zero-filled storage of the same depth and colour
  // count; pixels and colours are not carried over. A negative height is top-down.
  void SetWidth(int32_t w);
  void SetHeight(int32_t h);
  int32_t BitCount() const { return dib_->header.biBitCount; }
  void SetBitCount(int32_t bits);
  KsPixelFormat PixelFormat() const;
  int32_t PaletteSize() const { return int32_t(dib_->header.biClrUsed); }
  void SetPaletteSize(int32_t n);

  TColor Color(int index) const;
  void SetColor(int index, TColor c);
  // Pixel row y counted from the top; makes shared storage private first.
  uint8_t* ScanLine(int32_t y);
  const uint8_t* ScanLine(int32_t y) const;
  int32_t Stride() const { return stride(dib_->header.biBitCount, dib_->Width); }

  // Makes the storage private to this handle when it is shared.
  void UniqueDIB();
  bool SharesStorageWith(const TKsDIB& other) const { return dib_ == other.dib_; }
  long RefCount() const { return dib_.use_count(); }

  // BMP streams. Reading replaces the storage only when the whole file was good.
  void LoadFromBytes(const std::vector<uint8_t>& bmp);
  std::vector<uint8_t> SaveToBytes() const;
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

  const TKsInternalDIB& internal() const { return *dib_; }
  static int32_t stride(int32_t bit_count, int32_t width) { return int32_t(row_bytes(bit_count, width)); }
  // The same in 64 bits, for the size checks made before any storage exists.
  static int64_t row_bytes(int32_t bit_count, int32_t width) { return ((int64_t(bit_count) * width + 31) / 32) * 4; }
  static int32_t color_count_of(int32_t bit_count);

private:
  void replace_storage(int32_t width, int32_t height, int32_t colors, int32_t bits);
  std::shared_ptr<TKsInternalDIB> dib_;
};

}  // namespace kestrin
