// The conversion matrix as three steps: decode, change the depth, encode.
#include "image/display/dib_convert.h"

#include <optional>

#include "image/display/dib_depth.h"
#include "image/display/dib_rle.h"

namespace kestrin {

const char* pixel_format_name(KsPixelFormat f) {
  static const char* const names[] = {"1Bit", "4Bit", "4BitRLE", "8Bit", "8BitRLE", "24Bit"};
  return names[int(f)];
}

KsPixelFormat pixel_format_of(const BitmapInfoHeader& h) {
  switch (h.biBitCount) {
    case 1:
      if (h.biCompression == BI_RGB) return KsPixelFormat::Bit1;
      throw EKsDIBInvalidDIB("TKsInternalDIB.GetPixelFormat: Invalid DIB(1Bit)");
    case 4:
      if (h.biCompression == BI_RGB) return KsPixelFormat::Bit4;
      if (h.biCompression == BI_RLE4) return KsPixelFormat::Bit4RLE;
      throw EKsDIBInvalidDIB("TKsInternalDIB.GetPixelFormat: Invalid DIB(4Bit)");
    case 8:
      if (h.biCompression == BI_RGB) return KsPixelFormat::Bit8;
      if (h.biCompression == BI_RLE8) return KsPixelFormat::Bit8RLE;
      throw EKsDIBInvalidDIB("TKsInternalDIB.GetPixelFormat: Invalid DIB(8Bit)");
    case 24:
      if (h.biCompression == BI_RGB) return KsPixelFormat::Bit24;
      throw EKsDIBInvalidDIB("TKsInternalDIB.GetPixelFormat: Invalid DIB(24Bit)");
    default:
      throw EKsDIBInvalidDIB("TKsInternalDIB.GetPixelFormat: Invalid DIB(Illegal BitCount)");
  }
}

int depth_of(KsPixelFormat f) {
  static const int depths[] = {1, 4, 4, 8, 8, 24};
  return depths[int(f)];
}

bool is_reducing(KsPixelFormat from, KsPixelFormat to) {
  const int d = depth_of(to);
  return (d == 4 || d == 8) && depth_of(from) > d;
}

DibInfo convert_pixel_format(const DibInfo& src, KsPixelFormat to, uint8_t mode, TColor mono, const ProgressStep& step) {
  const KsPixelFormat from = pixel_format_of(src.header);
  std::optional<DibInfo> result;
  auto current = [&]() -> const DibInfo& { return result ? *result : src; };
  if (from == KsPixelFormat::Bit8RLE) result = Convert8BitRLETo8BitRGB(src);
  if (from == KsPixelFormat::Bit4RLE) result = Convert4BitRLETo4BitRGB(src);
  const int from_depth = depth_of(from), to_depth = depth_of(to);
  if (to_depth == 1 && from_depth != 1) {
    result = ConvertToMonochrome(current(), mono);
  } else if (to_depth == 24 && from_depth != 24) {
    result = ConvertIndexedToTrueColor(current());
  } else if (from_depth < to_depth) {
    result = ConvertIndexedToWider(current(), uint16_t(to_depth));
  } else if (from_depth == 8 && to_depth == 4) {
    result = Convert8BitRGBTo4BitRGB(current(), step);
  } else if (from_depth == 24 && to_depth < 24) {
    if (mode == 0) result = ConvertTrueColorToIndexedLow(current(), uint16_t(to_depth), step);
    else if (mode == 1) result = ConvertTrueColorToIndexedHigh(current(), uint16_t(to_depth), step);
    else throw EKsDIBAssertion("TKsIntenalDIB.SetPixelsFormat: PixelFormat Error");
  }
  if (to == KsPixelFormat::Bit8RLE) result = Convert8BitRGBTo8BitRLE(current());
  if (to == KsPixelFormat::Bit4RLE) result = Convert4BitRGBTo4BitRLE(current());
  if (!result) result = current();
  return std::move(*result);
}

}  // namespace kestrin
