// fabio reads the same R-AXIS fixture and the copy our writer makes; its intensities
// agree with ours pixel for pixel.
#include <gtest/gtest.h>

#include "base/convert.h"
#include "base/text_file.h"
#include "image/formats/raxis.h"
#include "image/formats/readers.h"
#include "image/loading_fixture.h"
#include "support/raxis_fixture.h"

namespace kestrin::test {
namespace {

// fabio's intensities of `path`, row-major, after checking the shape.
std::vector<double> fabio_intensities(const std::string& path, int32_t width, int32_t height) {
  std::string out;
  const std::string script = std::string(KESTRIN_SOURCE_DIR) + "/tests/peers/fabio_raxis_dump.py";
  EXPECT_EQ(run_command(std::string(kPeerPython) + " '" + script + "' '" + path + "'", &out), 0);
  const std::vector<std::string> lines = split_lines(out);
  EXPECT_FALSE(lines.empty());
  if (lines.empty()) return {};
  EXPECT_EQ(lines[0], Format("%d %d", {height, width}));
  std::vector<double> values;
  for (size_t i = 1; i < lines.size(); ++i) values.push_back(StrToFloat(lines[i]));
  return values;
}

class RaxisPeerTest : public LoadingTest {
protected:
  std::vector<double> our_intensities() {
    std::vector<double> v;
    for (uint16_t c : img().image_codes) v.push_back(img().intensity_table[c]);
    return v;
  }
};

TEST_F(RaxisPeerTest, FabioReadsOurFixtureAndOurWrittenCopyAlike) {
  KESTRIN_REQUIRE_PEER("fabio");
  RaxisFixture f;
  f.signature = "RAXIS";
  f.width = 37;
  f.height = 23;
  f.overflow_ratio = 8.0f;
  for (int32_t i = 0; i < f.width * f.height; ++i)
    f.codes.push_back(uint16_t(i % 5 == 0 ? 32768 + i * 37 % 32768 : i * 131 % 32768));
  f.codes[0] = 40000;
  f.codes[1] = 65535;
  img().ImageFilePath = f.write(dir_.file("peer.img"));
  ASSERT_EQ(read_rigaku_file(img(), img().ImageFilePath), 0);
  EXPECT_EQ(img().intensity(0, 0), 57856.0);
  EXPECT_EQ(fabio_intensities(img().ImageFilePath, f.width, f.height), our_intensities());

  for (uint16_t& c : img().image_codes) c = uint16_t(c ^ 0x5555);
  ASSERT_EQ(save_rigaku_file(dir_.file("copy.img"), 1), 0);
  EXPECT_EQ(fabio_intensities(dir_.file("copy.img"), f.width, f.height), our_intensities());
}

}  // namespace
}  // namespace kestrin::test
