// Fuji fixture builders.
#include "support/fuji_fixture.h"

namespace kestrin::test {
namespace {

std::string join(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

}  // namespace

std::string BasHeader::text() const {
  return join({kind, "name", plate, pixel_x, pixel_y, bits, width, height, sensitivity, latitude, info1, "12", "13",
               "14", info2, "16"});
}

std::string Ba100Header::text() const {
  return join({"BA100", flags, "3", latitude, "5", height, bytes_per_row, "8", "9", "10", "11", "12", "13", info2,
               info1});
}

std::vector<uint8_t> fuji_pixels(const std::vector<uint16_t>& codes, int bytes_per_pixel) {
  std::vector<uint8_t> out;
  for (uint16_t c : codes) {
    if (bytes_per_pixel == 2) out.push_back(uint8_t(c >> 8));
    out.push_back(uint8_t(c));
  }
  return out;
}

}  // namespace kestrin::test
