// Fuzz target: raw bytes read as the clipboard's packed DIB.
#include "base/runtime_errors.h"
#include "image/display/ksdib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  kestrin::TKsDIB dib;
  try {
    dib.LoadFromClipboardFormat(kestrin::TKsDIB::CF_DIB, &bytes);
  } catch (const kestrin::EKsDIBError&) {
  }
  return 0;
}
