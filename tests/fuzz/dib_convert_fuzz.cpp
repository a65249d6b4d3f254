// Fuzz target: BMP bytes read into a TKsDIB, then converted to 8 and 24 bits (the run-length
// decoders), to 4 bits and to the halftones. Errors the library raises are expected; anything
// else (an assertion, a crash, a sanitizer report) is a finding.
#include "base/runtime_errors.h"
#include "image/display/ksdib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kestrin::TKsDIB dib;
  try {
    dib.LoadFromBytes(std::vector<uint8_t>(data, data + size));
  } catch (const kestrin::EKsDIBError&) {
    return 0;
  }
  // Pictures of many pixels only make the run slow.
  if (int64_t(dib.Width()) * dib.Height() > (int64_t(1) << 20)) return 0;
  const auto convert = [&](auto step) {
    kestrin::TKsDIB copy = dib;
    try {
      step(copy);
    } catch (const kestrin::EKsDIBError&) {
    } catch (const kestrin::EOutOfResources&) {
    }
  };
  convert([](kestrin::TKsDIB& d) { d.SetPixelFormat(kestrin::KsPixelFormat::Bit8); });
  convert([](kestrin::TKsDIB& d) { d.SetPixelFormat(kestrin::KsPixelFormat::Bit24); });
  convert([](kestrin::TKsDIB& d) { d.SetPixelFormat(kestrin::KsPixelFormat::Bit4RLE); });
  convert([](kestrin::TKsDIB& d) { d.ConvertToHalfTone(); });
  convert([](kestrin::TKsDIB& d) { d.ConvertToHalfToneBW(); });
  return 0;
}
