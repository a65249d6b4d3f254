// Builds R-AXIS test files.
#include "support/raxis_fixture.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "base/byte_reader.h"

namespace kestrin::test {

namespace {

void put_f32be(uint8_t* p, float v) {
  uint32_t u;
  std::memcpy(&u, &v, 4);
  put_u32be(p, u);
}

}  // namespace

std::vector<uint16_t> RaxisFixture::stored_codes() const {
  if (!codes.empty()) return codes;
  const int32_t stored_rows = start_row != 0 ? rows : height;
  std::vector<uint16_t> ramp;
  for (int32_t y = 0; y < stored_rows; ++y)
    for (int32_t x = 0; x < width; ++x) ramp.push_back(uint16_t((x + 7 * y) % 32768));
  return ramp;
}

std::string RaxisFixture::bytes(int64_t truncate_to) const {
  const std::vector<uint16_t> c = stored_codes();
  // A record length below the header (or negative) still gets a whole header; the codes
  // go where the record length says, when it is not negative. Only the bytes up to
  // `truncate_to` are made, so a huge record length costs nothing when the file is cut.
  const int64_t pixels_at = std::max<int64_t>(record_length, 0);
  int64_t size = std::max<int64_t>(804, pixels_at + int64_t(c.size()) * 2);
  if (truncate_to >= 0) size = std::min(size, truncate_to);
  std::string out(size_t(std::max<int64_t>(size + 1, 804)), '\0');  // + 1: a cut through a code
  auto* p = reinterpret_cast<uint8_t*>(out.data());
  std::memcpy(p, signature.data(), std::min<size_t>(signature.size(), 20));
  put_f32be(p + 292, wavelength);
  put_f32be(p + 344, camera_length);
  put_u32be(p + 768, uint32_t(width));
  put_u32be(p + 772, uint32_t(height));
  put_f32be(p + 776, pixel_x);
  put_f32be(p + 780, pixel_y);
  put_u32be(p + 784, uint32_t(record_length));
  put_u32be(p + 788, uint32_t(rows));
  put_u32be(p + 792, uint32_t(start_row));
  put_f32be(p + 800, overflow_ratio);
  if (record_length >= 0)
    for (size_t i = 0; i < c.size() && pixels_at + int64_t(2 * i) < size; ++i)
      put_u16be(p + pixels_at + 2 * i, c[i]);
  out.resize(size_t(size));
  return out;
}

std::string RaxisFixture::write(const std::string& path, int64_t truncate_to) const {
  std::ofstream f(path, std::ios::binary);
  const std::string b = bytes(truncate_to);
  f.write(b.data(), std::streamsize(b.size()));
  if (!f) throw std::runtime_error("cannot write " + path);
  return path;
}

}  // namespace kestrin::test
