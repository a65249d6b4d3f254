// Bruker CCD reader on frames made by code.
#include <gtest/gtest.h>

#include "image/formats/bruker.h"
#include "support/bruker_fixture.h"

namespace kestrin {
namespace {

std::vector<uint16_t> frame() {
  std::vector<uint16_t> v(1024 * 1024);
  for (size_t i = 0; i < v.size(); ++i) v[i] = uint16_t(i * 7 % 30000);
  v[5] = 0x8000 + 40000 % 32768;
  v[6] = 0;
  return v;
}

TEST(BrukerField, TrimsBlanksOnBothSides) {
  struct Case {
    const char* field;
    std::optional<int32_t> value;
  };
  const Case cases[] = {{"         2", 2}, {"2         ", 2}, {"   512    ", 512}, {"-3        ", -3},
                        {"x         ", std::nullopt}, {"          ", std::nullopt}, {"2 3       ", std::nullopt},
                        {std::string_view("2\0\0\0\0\0\0\0\0\0", 10).data(), 2}};
  for (const auto& c : cases) EXPECT_EQ(bruker_field(std::string_view(c.field, 10)), c.value) << c.field;
}

TEST(Bruker, ReadsTheFrameScansItAndGivesOneMillimetrePixelsWhateverTheLocks) {
  const auto codes = frame();
  const DecodedImage d = decode_bruker_image(test::make_bruker(codes));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.lines, (LogLines{" read_bruker_file()"}));
  const ImageData& image = d.data;
  EXPECT_EQ(image.image_codes, codes);
  EXPECT_EQ(image.ImageWidth, 1024);
  EXPECT_EQ(image.PixelCount, 1048576);
  EXPECT_EQ(image.BytesPerPixel, 2);
  EXPECT_EQ(d.geometry.pixel_x, 1.0);
  EXPECT_EQ(d.geometry.pixel_y, 1.0);
  EXPECT_TRUE(d.geometry.pixel_sizes_unlocked);
  EXPECT_FALSE(d.geometry.wavelength || d.geometry.camera_length);
  EXPECT_EQ(image.LinearSaturation, 32767);
  EXPECT_EQ(image.LinearMax, 29999);
  EXPECT_EQ(image.LinearMin, 0);
  EXPECT_EQ(image.intensity_table[codes[5]], 40000 % 32768);
}

TEST(Bruker, OneBytePerPixelIsStillReadAsWords) {
  const auto codes = frame();
  const DecodedImage d = decode_bruker_image(test::make_bruker(codes, {{39, "1         "}}));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.data.image_codes, codes);
  EXPECT_EQ(d.data.BytesPerPixel, 1);
}

TEST(Bruker, RefusesBadHeadersAndShortFiles) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* line;
  };
  auto short_frame = test::make_bruker(frame());
  short_frame.resize(short_frame.size() - 1);
  const Case cases[] = {
      {"not an integer", test::make_bruker(frame(), {{41, "   x      "}}),
       " read_bruker_file() : Header line 41 is not an integer."},
      {"bytes per pixel 4", test::make_bruker(frame(), {{39, "4"}}),
       " read_bruker_file() : Bytes per pixel is not 1 or 2."},
      {"short frame", short_frame, " read_bruker_file() : File is too short."},
      {"header only", test::make_bruker({}), " read_bruker_file() : File is too short."},
      {"tiny", {'F', 'O', 'R', 'M'}, " read_bruker_file() : File is too short."},
  };
  for (const auto& c : cases) {
    const DecodedImage d = decode_bruker_image(c.bytes);
    EXPECT_FALSE(d.ok) << c.name;
    EXPECT_EQ(d.lines, (LogLines{" read_bruker_file()", c.line})) << c.name;
    EXPECT_TRUE(d.data.image_codes.empty()) << c.name;
    EXPECT_FALSE(d.geometry.pixel_x) << c.name;
  }
}

}  // namespace
}  // namespace kestrin
