// HiPiC reader and writer on files made by code.
#include <gtest/gtest.h>

#include "image/formats/hipic.h"
#include "support/hipic_fixture.h"
#include "support/temp_dir.h"
#include "support/tiff_fixture.h"

namespace kestrin {
namespace {

using test::make_hipic;

DecodedImage decode(const std::vector<uint8_t>& bytes, bool reverse = false) {
  DecodeOptions options;
  options.reverse_rows = reverse;
  return decode_hipic_image(bytes, options);
}

TEST(Hipic, DecodesEachPixelKind) {
  struct Case {
    uint16_t kind;
    std::vector<uint8_t> pixels;
    std::vector<uint16_t> codes;
  };
  const Case cases[] = {
      {0, {0, 7, 255, 128}, {0, 7, 255, 128}},
      {1, {0x01, 0x80, 0xFF, 0x7F, 0x00, 0x80, 0x02, 0x00}, {0x8001, 0x7FFF, 0x8000, 2}},
      {2, {1, 0x80, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0, 0}, {0x8001, 5, 0, 0xFFFF}},
  };
  for (const auto& c : cases) {
    const DecodedImage d = decode(make_hipic(2, 2, c.kind, 0, c.pixels));
    ASSERT_TRUE(d.ok) << c.kind;
    EXPECT_EQ(d.data.image_codes, c.codes) << c.kind;
    EXPECT_EQ(d.data.BytesPerPixel, c.kind == 0 ? 1 : c.kind == 1 ? 2 : 4);
    EXPECT_TRUE(d.lines.empty());
  }
}

TEST(Hipic, OverflowLawWithRatioOneAndNoHeaderGeometry) {
  const DecodedImage d = decode(make_hipic(4, 1, 1, 0, {0x01, 0x80, 0x00, 0x80, 0xFF, 0x7F, 3, 0}));
  ASSERT_TRUE(d.ok);
  const ImageData& image = d.data;
  EXPECT_EQ(image.intensity_table[0x8001], 1.0);
  EXPECT_EQ(image.intensity_table[0x8000], 0.0);
  EXPECT_EQ(image.log_table[0x8000], 0.0);
  EXPECT_EQ(image.LinearSaturation, 32767);
  EXPECT_EQ(image.LinearMax, 32767);
  EXPECT_EQ(image.LinearMin, 0);
  EXPECT_EQ(image.OverflowRatio, 1.0f);
  EXPECT_FALSE(d.geometry.wavelength || d.geometry.camera_length || d.geometry.pixel_x || d.geometry.pixel_y);
}

TEST(Hipic, CommentLengthMovesTheData) {
  auto bytes = make_hipic(2, 1, 1, 100, {0x34, 0x12, 0x78, 0x56});
  ASSERT_EQ(bytes.size(), 168u);
  const DecodedImage d = decode(bytes);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.data.image_codes, (std::vector<uint16_t>{0x1234, 0x5678}));
}

TEST(Hipic, ReversedRowsOnReadAndWrite) {
  test::TempDir dir;
  const std::vector<uint8_t> pixels = {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0};
  const auto source = dir.file("a.img");
  test::write_bytes(source, make_hipic(2, 3, 1, 4, pixels));
  const DecodedImage d = decode(test::read_bytes(source), true);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.data.image_codes, (std::vector<uint16_t>{5, 6, 3, 4, 1, 2}));
  ASSERT_TRUE(save_hipic_file(d.data, source, dir.file("out.img"), true).ok);
  EXPECT_EQ(test::read_bytes(dir.file("out.img")), test::read_bytes(source));
}

TEST(Hipic, RefusesBadHeadersBeforeReadingData) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* line;
  };
  const Case cases[] = {
      {"byte error", make_hipic(1, 1, 2, 0, {0, 1, 1, 0}), "read_hipic_file. byte error."},
      {"width 10001", make_hipic(10001, 1, 1, 0, {}), "read_hipic_file() : Number of pixels is too large."},
      {"huge both", make_hipic(65535, 65535, 2, 0, {}), "read_hipic_file() : Number of pixels is too large."},
      {"height 0", make_hipic(4, 0, 1, 0, {}), "read_hipic_file() : Number of pixels is zero."},
      {"kind 3", make_hipic(1, 1, 3, 0, {0, 0, 0, 0}), "read_hipic_file() : Unknown pixel kind."},
      {"short data", make_hipic(4, 4, 1, 0, {1, 2, 3}), "read_hipic_file() : File is too short."},
      {"short header", {'I', 'M', 0, 0}, "read_hipic_file() : File is too short."},
  };
  for (const auto& c : cases) {
    const DecodedImage d = decode(c.bytes);
    EXPECT_FALSE(d.ok) << c.name;
    EXPECT_EQ(d.lines, (LogLines{c.line})) << c.name;
    if (std::string(c.name) != "byte error") {
      EXPECT_TRUE(d.data.image_codes.empty()) << c.name;
    }
  }
}

TEST(Hipic, WriterKeepsAnExistingTargetAndItsComment) {
  test::TempDir dir;
  const auto source = dir.file("src.img");
  const auto target = dir.file("out.img");
  test::write_bytes(source, make_hipic(2, 1, 1, 0, {1, 0, 2, 0}));
  test::write_bytes(target, make_hipic(2, 1, 1, 10, {0, 0, 0, 0}));
  ImageData image;
  image.set_size(2, 1, 2);
  image.image_codes = {0x1234, 0x8001};
  const WriteResult written = save_hipic_file(image, source, target, false);
  ASSERT_TRUE(written.ok);
  EXPECT_TRUE(written.lines.empty());
  EXPECT_EQ(test::read_bytes(target), make_hipic(2, 1, 1, 10, {0x34, 0x12, 0x01, 0x80}));
}

TEST(Hipic, WriterEncodesEveryKindAndRefusesAnotherSize) {
  test::TempDir dir;
  ImageData image;
  image.set_size(2, 1, 2);
  image.image_codes = {300, 0x8001};
  const std::vector<std::vector<uint8_t>> expected = {{255, 255}, {44, 1, 1, 0x80}, {44, 1, 0, 0, 1, 0x80, 0, 0}};
  for (uint16_t kind : {0, 1, 2}) {
    const auto source = dir.file("src.img");
    test::write_bytes(source, make_hipic(2, 1, kind, 0, std::vector<uint8_t>(2u << kind, 0)));
    const auto target = dir.file("k" + std::to_string(kind) + ".img");
    ASSERT_TRUE(save_hipic_file(image, source, target, false).ok);
    EXPECT_EQ(test::read_bytes(target), make_hipic(2, 1, kind, 0, expected[kind])) << kind;
  }
  const auto other = dir.file("other.img");
  test::write_bytes(other, make_hipic(3, 1, 1, 0, std::vector<uint8_t>(6, 0)));
  const WriteResult refused = save_hipic_file(image, other, dir.file("x.img"), false);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.lines, LogLines{"save_hipic_file() : " + dir.file("x.img") + " does not match the image."});
}

}  // namespace
}  // namespace kestrin
