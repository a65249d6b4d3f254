// fabio reads the same R-AXIS fixture and the copy our writer makes; its intensities
// agree with ours pixel for pixel.
#include <gtest/gtest.h>

#include "base/convert.h"
#include "base/text_file.h"
#include "image/formats/raxis.h"
#include "support/raxis_fixture.h"
#include "support/temp_dir.h"

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

std::vector<double> intensities(const ImageData& image) {
  std::vector<double> v;
  for (uint16_t c : image.image_codes) v.push_back(image.intensity_table[c]);
  return v;
}

TEST(RaxisPeer, FabioReadsOurFixtureAndOurWrittenCopyAlike) {
  KESTRIN_REQUIRE_PEER("fabio");
  TempDir dir;
  RaxisFixture f;
  f.signature = "RAXIS";
  f.width = 37;
  f.height = 23;
  f.overflow_ratio = 8.0f;
  for (int32_t i = 0; i < f.width * f.height; ++i)
    f.codes.push_back(uint16_t(i % 5 == 0 ? 32768 + i * 37 % 32768 : i * 131 % 32768));
  f.codes[0] = 40000;
  f.codes[1] = 65535;
  const std::string path = f.write(dir.file("peer.img"));
  const std::string bytes = f.bytes();
  DecodedImage d = decode_raxis_image({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, DecodeOptions());
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.data.intensity(0, 0), 57856.0);
  EXPECT_EQ(fabio_intensities(path, f.width, f.height), intensities(d.data));

  for (uint16_t& c : d.data.image_codes) c = uint16_t(c ^ 0x5555);
  ASSERT_TRUE(save_rigaku_file(d.data, path, dir.file("copy.img"), false).ok);
  EXPECT_EQ(fabio_intensities(dir.file("copy.img"), f.width, f.height), intensities(d.data));
}

// A file cut short of the pixel bytes its header names (here shorter than the pixels alone,
// since fabio takes them from the end of the file): fabio cannot read it either, while the
// complete file reads in both.
TEST(RaxisPeer, FabioAndWeRefuseAFileCutShort) {
  KESTRIN_REQUIRE_PEER("fabio");
  TempDir dir;
  RaxisFixture f;
  f.width = 100;
  f.height = 100;
  const std::string script = std::string(KESTRIN_SOURCE_DIR) + "/tests/peers/fabio_raxis_dump.py";
  for (int64_t cut : {int64_t(-1), int64_t(f.record_length) + 400}) {
    const std::string path = f.write(dir.file("cut.img"), cut);
    const std::string bytes = f.bytes(cut);
    const DecodedImage d =
        decode_raxis_image({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, DecodeOptions());
    std::string out;
    const bool fabio_reads = run_command(std::string(kPeerPython) + " '" + script + "' '" + path + "' 2>/dev/null", &out) == 0;
    EXPECT_EQ(d.ok, cut < 0) << cut;
    EXPECT_EQ(fabio_reads, d.ok) << cut;
  }
}

}  // namespace
}  // namespace kestrin::test
