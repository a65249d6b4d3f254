// Harness-only command of the bitmap library: ConvertBitmap IN OUT FORMAT [MODE] loads a
// BMP, converts it to pixel format FORMAT (0 "1Bit" ... 5 "24Bit") with conversion mode
// MODE (default 0) and saves it.
#include <stdexcept>
#include <vector>

#include "harness/harness.h"
#include "image/display/ksdib.h"

namespace kestrin::harness {

namespace {

MethodResult convert_bitmap(const MethodArgs& a) {
  if (a.count() < 3) throw std::runtime_error("usage: ConvertBitmap IN OUT FORMAT [MODE]");
  const std::optional<int32_t> format = integer_arg(a.text(2));
  if (!format || *format < 0 || *format > 5) throw std::runtime_error("Invalid pixel format " + a.text(2));
  const std::optional<int32_t> mode = a.count() > 3 ? integer_arg(a.text(3)) : 0;
  if (!mode || *mode < 0 || *mode > 255) throw std::runtime_error("Invalid conversion mode " + a.text(3));
  TKsDIB dib;
  dib.LoadFromFile(a.text(0));
  dib.SetConversionMode(uint8_t(*mode));
  dib.SetPixelFormat(KsPixelFormat(*format));
  dib.SaveToFile(a.text(1));
  return {};
}

}  // namespace

std::span<const KestrinMethod> bitmap_commands() {
  static const std::vector<KestrinMethod> commands = {{"ConvertBitmap", 0, &convert_bitmap}};
  return commands;
}

}  // namespace kestrin::harness
