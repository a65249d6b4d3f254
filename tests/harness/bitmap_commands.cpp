// Harness-only command of the bitmap library: ConvertBitmap IN OUT FORMAT [MODE] loads a
// BMP, converts it to pixel format FORMAT (0 "1Bit" ... 5 "24Bit") with conversion mode
// MODE (default 0) and saves it.
#include <stdexcept>

#include "harness/harness.h"
#include "image/display/ksdib.h"

namespace kestrin::harness {

void register_bitmap_commands(Registry& r) {
  r.add("ConvertBitmap", [](const Args& a) -> std::optional<std::string> {
    if (a.size() < 3) throw std::runtime_error("usage: ConvertBitmap IN OUT FORMAT [MODE]");
    const std::optional<int32_t> format = integer_arg(a[2]);
    if (!format || *format < 0 || *format > 5) throw std::runtime_error("Invalid pixel format " + a[2]);
    const std::optional<int32_t> mode = a.size() > 3 ? integer_arg(a[3]) : 0;
    if (!mode || *mode < 0 || *mode > 255) throw std::runtime_error("Invalid conversion mode " + a[3]);
    TKsDIB dib;
    dib.LoadFromFile(a[0]);
    dib.SetConversionMode(uint8_t(*mode));
    dib.SetPixelFormat(KsPixelFormat(*format));
    dib.SaveToFile(a[1]);
    return std::nullopt;
  });
}

}  // namespace kestrin::harness
