// The file entry of the readers: the signature table, the type by extension and signature,
// the reader each type goes to, the kind word of each, and files that cannot be read.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "base/text_file.h"
#include "image/formats/image_file.h"
#include "support/bruker_fixture.h"
#include "support/fuji_fixture.h"
#include "support/hipic_fixture.h"
#include "support/raxis_fixture.h"
#include "support/temp_dir.h"
#include "support/tiff_fixture.h"

namespace kestrin {
namespace {

std::span<const uint8_t> span_of(const std::string& s) { return {reinterpret_cast<const uint8_t*>(s.data()), s.size()}; }

TEST(SniffRaxis, SignatureTableOverTenBytesWithZeroBytes) {
  using namespace std::string_literals;
  struct Case {
    std::string bytes;
    int type;
  };
  const Case cases[] = {
      {"R-AXIS \0\0\0"s, 6},
      {"RAXIS\0R-AX"s, 3},
      {"RAXISR-AXIS "s, 3},  // only the first 10 bytes count: "R-AXIS " is cut to "R-AX"
      {"R-AXIS\0RAXIS"s, 3},
      {"\0R-AXIS-CS"s, 9},
      {"R-AXIS4\0\0\0"s, 3},
      {"R-AXIS-CS\0"s, 9},
      {"IM\0RAXIS\0\0"s, 11},
      {"\0\0\0\0\0\0\0\0IM"s, 11},
      {"\0\0\0\0\0\0\0\0\0I"s, 12},
      {"\0\0\0\0\0RAXIS"s, 3},
      {"\0\0\0\0\0\0RAXIS"s, 12},  // the signature starts past the tenth byte
      {"BAS_IMAGE\0"s, 11},  // "IM" inside a word counts too
      {"BAS2000\0\0\0"s, 12},
      {""s, 12},
      {"R-AXIS"s, 3},
  };
  for (const Case& c : cases) EXPECT_EQ(sniff_raxis_type(span_of(c.bytes)), c.type) << c.bytes;
}

TEST(ImageFile, ExtensionsAreComparedWithoutCase) {
  for (const char* name : {"/d/a.img", "/d/a.STL", "/d/a.Osc", "/d/a.ccd", "/d/a.TIF", "/d/a.gel"})
    EXPECT_TRUE(is_image_extension(name)) << name;
  for (const char* name : {"/d/a.ipf", "/d/a.imgx", "/d/img", "/d/a.tiff", ""}) EXPECT_FALSE(is_image_extension(name)) << name;
}

// Each file goes to the reader of its type, and the type's kind word names that reader.
TEST(ImageFile, EachTypeGoesToItsReader) {
  test::TempDir dir;
  test::TiffFixture tiff;
  tiff.samples.assign(64, 0);
  test::TiffFixture float_tiff = tiff;
  float_tiff.bits = 32;
  float_tiff.sample_format = 3;
  float_tiff.samples.assign(128, 0);
  test::RaxisFixture raxis;
  raxis.signature = "R-AXIS ";
  std::ofstream(dir.file("f.inf"), std::ios::binary) << test::BasHeader().text();
  struct Case {
    std::string name;
    std::string bytes;
    int32_t type;
    const char* kind;
    const char* first_line;  // of the reader, "" for none
  };
  auto text = [](const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); };
  const Case cases[] = {
      {"r.osc", raxis.bytes(), kTypeRigaku, "Rigaku", " Swapping byte order..."},
      {"h.img", text(test::make_hipic(1, 1, 0, 0, {7})), kTypeHipic, "HIPIC", ""},
      {"f.img", text(test::fuji_pixels(std::vector<uint16_t>(32, 3), 1)), kTypeBAS2000, "Fuji",
       "*****  Fuji BAS2000 format  *****"},
      {"b.ccd", text(test::make_bruker(std::vector<uint16_t>(1024 * 1024, 1))), kTypeBruker, "Bruker", " read_bruker_file()"},
      {"t.tif", text(tiff.build()), kTypeTiff, "TIFF", " read_tiff_file()"},
      {"t.TIF", text(float_tiff.build()), kTypeFloatTiff, "TIFF2", " read_tiff_float_file()"},
      {"g.gel", text(tiff.build()), kTypeGel, "GEL", " read_gel_file()"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(write_file_bytes(dir.file(c.name), c.bytes));
    const ImageFileDecode file = decode_image_file(dir.file(c.name), dir.file("f.inf"), DecodeOptions());
    EXPECT_TRUE(file.open_error.empty()) << c.name;
    ASSERT_TRUE(file.image.ok) << c.name << ::testing::PrintToString(file.image.lines);
    const int32_t type = file.image.fuji ? file.image.fuji->type : file.type;
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_STREQ(reader_kind(file.type), c.kind) << c.name;
    EXPECT_EQ(file.image.lines.empty() ? "" : file.image.lines.front(), c.first_line) << c.name;
    const bool tiff_file = c.name[2] == 't' || c.name[2] == 'T';
    EXPECT_EQ(file.type_lines, tiff_file ? LogLines{" read_tiff_file()"} : LogLines{}) << c.name;
  }
}

// A file that cannot be read reports why, whatever its extension; its type stays
// undetermined and the lent buffers come back untouched.
TEST(ImageFile, AFileThatCannotBeReadSaysWhy) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.file("folder.img"));
  const std::string missing = std::generic_category().message(ENOENT);
  const std::string folder = std::generic_category().message(EISDIR);
  const std::pair<const char*, std::string> cases[] = {{"x.img", missing}, {"x.stl", missing}, {"x.osc", missing},
                                                       {"x.ccd", missing}, {"x.tif", missing}, {"x.gel", missing},
                                                       {"folder.img", folder}};
  for (const auto& [name, reason] : cases) {
    ImageData lent;
    lent.set_size(3, 1, 2);
    lent.image_codes = {5, 6, 7};
    const ImageFileDecode file = decode_image_file(dir.file(name), dir.file("x.inf"), DecodeOptions(), lent);
    EXPECT_EQ(file.open_error, reason) << name;
    EXPECT_EQ(file.type, kTypeUndetermined) << name;
    EXPECT_TRUE(file.type_lines.empty() && file.image.lines.empty()) << name;
    EXPECT_FALSE(file.image.ok) << name;
    EXPECT_EQ(file.image.data.image_codes, lent.image_codes) << name;
  }
}

// A lent store gets a new image of its size without keeping anything of the old one, and
// a refused image hands the lent buffers back.
TEST(ImageFile, LentBuffersCarryNothingIntoTheNewImage) {
  test::TempDir dir;
  test::RaxisFixture raxis;
  raxis.start_row = 1;
  raxis.rows = 1;
  raxis.codes = {1, 2, 3, 4};
  ASSERT_TRUE(write_file_bytes(dir.file("band.img"), raxis.bytes()));
  ImageData lent;
  lent.set_size(4, 3, 2);
  lent.image_codes.assign(12, 999);
  build_overflow_tables(lent, 3.0f);
  const ImageFileDecode file = decode_image_file(dir.file("band.img"), "", DecodeOptions(), lent);
  ASSERT_TRUE(file.image.ok);
  EXPECT_EQ(file.image.data.image_codes, (std::vector<uint16_t>{0, 0, 0, 0, 1, 2, 3, 4, 0, 0, 0, 0}));
  EXPECT_EQ(file.image.data.OverflowRatio, 8.0f);
  const ImageFileDecode fresh = decode_image_file(dir.file("band.img"), "", DecodeOptions());
  EXPECT_EQ(file.image.data.intensity_table, fresh.image.data.intensity_table);
  EXPECT_EQ(file.image.data.log_table, fresh.image.data.log_table);

  raxis.width = 10001;
  ASSERT_TRUE(write_file_bytes(dir.file("big.img"), raxis.bytes()));
  const ImageFileDecode refused = decode_image_file(dir.file("big.img"), "", DecodeOptions(), lent);
  EXPECT_FALSE(refused.image.ok);
  EXPECT_EQ(refused.image.data.image_codes, lent.image_codes);
  EXPECT_EQ(refused.image.data.OverflowRatio, 3.0f);
}

}  // namespace
}  // namespace kestrin
