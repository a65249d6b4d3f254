// HiPiC fixture builder.
#include "support/hipic_fixture.h"

namespace kestrin::test {

std::vector<uint8_t> make_hipic(uint16_t width, uint16_t height, uint16_t kind, uint16_t comment_length,
                                const std::vector<uint8_t>& pixels) {
  std::vector<uint8_t> out(64 + std::size_t(comment_length), 'c');
  const uint16_t fields[] = {0x4D49 /* "IM" */, comment_length, width, height, 0, 0, kind};
  for (std::size_t i = 0; i < 7; ++i) {
    out[2 * i] = uint8_t(fields[i]);
    out[2 * i + 1] = uint8_t(fields[i] >> 8);
  }
  out.insert(out.end(), pixels.begin(), pixels.end());
  return out;
}

}  // namespace kestrin::test
