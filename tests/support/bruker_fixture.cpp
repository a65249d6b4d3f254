// Bruker CCD fixture builder.
#include "support/bruker_fixture.h"

#include <algorithm>
#include <cstring>

namespace kestrin::test {

std::vector<uint8_t> make_bruker(const std::vector<uint16_t>& codes, const std::map<int, std::string>& fields) {
  std::vector<uint8_t> out(11776, ' ');
  for (int line = 0; line < 96; ++line) {
    std::memcpy(out.data() + line * 80, "KEY    :", 8);
    std::string v = line == 39 ? "         2" : "         0";
    if (auto it = fields.find(line); it != fields.end()) v = it->second;
    v.resize(10, ' ');
    std::memcpy(out.data() + line * 80 + 8, v.data(), 10);
  }
  for (uint16_t c : codes) {
    out.push_back(uint8_t(c));
    out.push_back(uint8_t(c >> 8));
  }
  return out;
}

}  // namespace kestrin::test
