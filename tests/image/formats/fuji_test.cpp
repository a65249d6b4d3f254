// Fuji header parsing, pixel reading and writing, on headers and images made by code.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "base/convert.h"
#include "base/paths.h"
#include "base/text_file.h"
#include "image/formats/fuji.h"
#include "support/fuji_fixture.h"
#include "support/temp_dir.h"
#include "support/tiff_fixture.h"

namespace kestrin {
namespace {

using test::Ba100Header;
using test::BasHeader;

class Fuji : public ::testing::Test {
protected:
  void put_text(const std::string& name, const std::string& text) { std::ofstream(dir.file(name), std::ios::binary) << text; }
  // The header text and the pixels, as the loader's Fuji reader has them.
  DecodedImage load(const std::string& inf, const std::vector<uint8_t>& pixels) {
    return decode_fuji_image(inf, pixels, options);
  }
  DecodeOptions options;
  test::TempDir dir;
};

struct HeaderCase {
  const char* name;
  std::string text;
  int32_t type;
  int bits;
  double pixel_x, pixel_y;
  int32_t width;
};

BasHeader bas(void (*edit)(BasHeader&)) {
  BasHeader h;
  edit(h);
  return h;
}

Ba100Header ba100(void (*edit)(Ba100Header&)) {
  Ba100Header h;
  edit(h);
  return h;
}

TEST(FujiHeader, KindsAndLayouts) {
  const HeaderCase cases[] = {
      {"BAS2000 standard", BasHeader().text(), kTypeBAS2000, 8, 0.1, 0.1, 8},
      {"bits 16", bas([](BasHeader& h) { h.bits = "16"; }).text(), kTypeBAS2500, 16, 0.1, 0.1, 8},
      {"bits 10", bas([](BasHeader& h) { h.bits = "10"; }).text(), kTypeBAS2000, 10, 0.1, 0.1, 8},
      {"latitude 5", bas([](BasHeader& h) { h.latitude = "5"; }).text(), kTypeBAS2500, 8, 0.1, 0.1, 8},
      {"pixel 50", bas([](BasHeader& h) { h.pixel_x = "50"; }).text(), kTypeBAS2500, 8, 0.05, 0.1, 8},
      {"pixel 1000 contains 100", bas([](BasHeader& h) { h.pixel_y = "1000"; }).text(), kTypeBAS2000, 8, 0.1, 1.0, 8},
      {"sensitivity 500", bas([](BasHeader& h) { h.sensitivity = "500"; }).text(), kTypeBAS2500, 8, 0.1, 0.1, 8},
      {"plate 25*25", bas([](BasHeader& h) { h.plate = "25*25"; }).text(), kTypeBAS2500, 8, 0.1, 0.1, 8},
      {"MAC to BAS", bas([](BasHeader& h) { h.kind = "MAC"; h.plate = "20*40"; }).text(), kTypeMacToBas, 8, 0.1, 0.1, 8},
      {"BA100 flags 17", Ba100Header().text(), kTypeBA100, 10, 0.1, 0.1, 8},
      {"BA100 flags 0", ba100([](Ba100Header& h) { h.flags = "0"; }).text(), kTypeBA100, 8, 0.2, 0.2, 16},
      {"BA100 4000 bytes", ba100([](Ba100Header& h) { h.bytes_per_row = "4000"; }).text(), kTypeBA100, 10, 0.1, 0.1, 2000},
      {"BA100 4001 bytes", ba100([](Ba100Header& h) { h.bytes_per_row = "4001"; }).text(), kTypeBA100, 10, 0.1, 0.1, 2000},
      {"BA100 4003 bytes", ba100([](Ba100Header& h) { h.bytes_per_row = "4003"; }).text(), kTypeBA100, 10, 0.1, 0.1, 2002},
  };
  for (const auto& c : cases) {
    FujiHeader h;
    std::string error;
    ASSERT_TRUE(parse_fuji_header(c.text, 16, h, error)) << c.name << error;
    EXPECT_EQ(h.type, c.type) << c.name;
    EXPECT_EQ(h.bits, c.bits) << c.name;
    EXPECT_EQ(h.bytes_per_pixel, c.bits == 8 ? 1 : 2) << c.name;
    EXPECT_DOUBLE_EQ(h.pixel_x, c.pixel_x) << c.name;
    EXPECT_DOUBLE_EQ(h.pixel_y, c.pixel_y) << c.name;
    EXPECT_EQ(h.width, c.width) << c.name;
  }
}

TEST(FujiHeader, TextsReadingConditionsAndNonNumbers) {
  FujiHeader h;
  std::string error;
  ASSERT_TRUE(parse_fuji_header(Ba100Header().text(), 16, h, error));
  EXPECT_EQ(h.latitude, 4.0);  // (255 + 1) / 64
  EXPECT_EQ(h.sensitivity, 10000);
  EXPECT_EQ(h.info1, "BA info one");
  EXPECT_EQ(h.info2, "BA info two");
  ASSERT_TRUE(parse_fuji_header(BasHeader().text(), 16, h, error));
  EXPECT_EQ(h.info1, "Info one");
  EXPECT_EQ(h.info2, "Info two");
  EXPECT_EQ(h.sensitivity, 400);
  // A bits line naming no depth keeps the previous one.
  ASSERT_TRUE(parse_fuji_header(bas([](BasHeader& b) { b.bits = "x"; }).text(), 10, h, error));
  EXPECT_EQ(h.bits, 10);
  EXPECT_FALSE(parse_fuji_header(bas([](BasHeader& b) { b.width = "wide"; }).text(), 16, h, error));
  EXPECT_EQ(error, "'wide' is not a valid integer value");
  EXPECT_FALSE(parse_fuji_header(ba100([](Ba100Header& b) { b.latitude = "1.5"; }).text(), 16, h, error));
  EXPECT_FALSE(parse_fuji_header("BAS_IMAGE_FILE\r\n", 16, h, error));
}

TEST_F(Fuji, EightBitBas2000LoadWithLogAndStatistics) {
  const std::vector<uint16_t> codes = {0, 10, 255, 128, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
                                       0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 200};
  const DecodedImage d = load(BasHeader().text(), test::fuji_pixels(codes, 1));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.lines, (LogLines{"*****  Fuji BAS2000 format  *****", " read_fuji_file() : Find gimg_file_name",
                               " 8 bits to 16 bits padding...."}));
  ASSERT_TRUE(d.fuji);
  EXPECT_EQ(d.fuji->type, kTypeBAS2000);
  const ImageData& image = d.data;
  EXPECT_EQ(image.image_codes, codes);
  EXPECT_EQ(image.LogSaturation, 255);
  EXPECT_EQ(image.intensity_table[0], 1.0);
  EXPECT_DOUBLE_EQ(image.intensity_table[255], std::pow(10.0, 255 * 4.0 / 256));
  EXPECT_EQ(image.log_table[200], 200.0);
  EXPECT_EQ(image.LogMax, 255);
  EXPECT_EQ(image.LogMin, 0);
  EXPECT_EQ(image.LinearMax, Round(std::pow(10.0, 255 * 4.0 / 256) + 0.5));
  EXPECT_EQ(image.LinearMin, 2);  // Round(1 + 0.5) halves to even
  EXPECT_EQ(image.LinearSaturation, image.LinearMax);
  EXPECT_EQ(image.OverflowRatio, 1.0f);
  EXPECT_EQ(d.geometry.pixel_x, 0.1);
  EXPECT_EQ(d.geometry.pixel_y, 0.1);
  EXPECT_FALSE(d.geometry.pixel_x_follows_y);
  EXPECT_EQ(d.fuji->sensitivity, 400);
  EXPECT_EQ(d.fuji->bits, 8);
}

TEST_F(Fuji, SixteenBitBigEndianBas2500WithReversedRows) {
  options.reverse_rows = true;
  std::vector<uint16_t> codes(8 * 4);
  for (size_t i = 0; i < codes.size(); ++i) codes[i] = uint16_t(i * 2001);
  const DecodedImage d = load(bas([](BasHeader& h) { h.bits = "16"; h.sensitivity = "1000"; }).text(), test::fuji_pixels(codes, 2));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.lines, (LogLines{"*****  Fuji BAS2500 format  *****", " read_fuji_file() : Find gimg_file_name",
                               " Swapping byte order..."}));
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(d.data.image_codes[x + 8 * y], codes[x + 8 * (3 - y)]);
  EXPECT_EQ(d.data.LogSaturation, 65535);
  EXPECT_EQ(d.data.LogMax, 31 * 2001);
}

TEST_F(Fuji, Ba100GivesOnePixelSizeThatXFollowsAndItsBanner) {
  const DecodedImage d = load(Ba100Header().text(), test::fuji_pixels(std::vector<uint16_t>(32, 1023), 2));
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.lines.front(), "*****  Fuji BA100 format  *****");
  EXPECT_EQ(d.geometry.pixel_y, 0.1);
  EXPECT_FALSE(d.geometry.pixel_x);
  EXPECT_TRUE(d.geometry.pixel_x_follows_y);
  EXPECT_EQ(d.fuji->bits, 10);
  EXPECT_EQ(d.data.LogSaturation, 1023);
  EXPECT_EQ(d.fuji->latitude, 4.0);
}

TEST_F(Fuji, HeaderFailures) {
  struct Case {
    const char* name;
    std::string text;
    LogLines lines;
    bool header_read;  // the pixel sizes and conditions are given
  };
  const Case cases[] = {
      {"non-number", bas([](BasHeader& h) { h.height = "4x"; }).text(),
       {" read_information_file() : '4x' is not a valid integer value"}, false},
      {"too large", bas([](BasHeader& h) { h.width = "10001"; }).text(),
       {"*****  Fuji BAS2000 format  *****", " read_infomation_file() : Number of pixels is too large."}, true},
      {"zero width", bas([](BasHeader& h) { h.width = "0"; }).text(),
       {"*****  Fuji BAS2000 format  *****", " read_infomation_file() : Number of pixels is zero or negative."}, true},
      {"BA100 zero bytes per row", ba100([](Ba100Header& h) { h.bytes_per_row = "0"; }).text(),
       {"*****  Fuji BA100 format  *****", " read_infomation_file() : Number of pixels is zero or negative."}, true},
      {"negative height", bas([](BasHeader& h) { h.height = "-4"; }).text(),
       {"*****  Fuji BAS2000 format  *****", " read_infomation_file() : Number of pixels is zero or negative."}, true},
  };
  for (const auto& c : cases) {
    const DecodedImage d = load(c.text, {});
    EXPECT_FALSE(d.ok) << c.name;
    EXPECT_EQ(d.lines, c.lines) << c.name;
    EXPECT_EQ(d.geometry.pixel_y.has_value(), c.header_read) << c.name;
    EXPECT_EQ(d.fuji.has_value(), c.header_read) << c.name;
  }
  const DecodedImage missing = read_fuji_image(dir.file("none.inf"), {}, options);
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.lines, LogLines{" read_information_file() : " + dir.file("none.inf") + " open error."});
}

TEST_F(Fuji, HeaderFoundWithoutRegardToCase) {
  put_text("B.INF", BasHeader().text());
  const DecodedImage d = read_fuji_image(dir.file("b.inf"), test::fuji_pixels(std::vector<uint16_t>(32, 1), 1), options);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.fuji->header_path, dir.file("B.INF"));
}

TEST_F(Fuji, AShortPixelFileFails) {
  const DecodedImage d = load(BasHeader().text(), std::vector<uint8_t>(31, 0));
  EXPECT_FALSE(d.ok);
  EXPECT_EQ(d.lines.back(), " read_fuji_file() : File is too short.");
}

TEST_F(Fuji, WriterUsesTheCopiedHeadersDepthAndKeepsAnExistingHeader) {
  put_text("src.inf", BasHeader().text());  // 8 bits, 8 x 4
  ImageData image;
  image.set_size(8, 4, 2);  // the background store says 2 bytes per pixel
  for (size_t i = 0; i < 32; ++i) image.image_codes[i] = uint16_t(i * 9);
  image.image_codes[31] = 700;
  ASSERT_TRUE(save_fuji_file(image, dir.file("src.inf"), dir.file("out.img"), false).ok);
  std::vector<uint8_t> expected;  // one byte per pixel; codes above 255 saturate
  for (uint16_t c : image.image_codes) expected.push_back(uint8_t(std::min<uint16_t>(c, 255)));
  EXPECT_EQ(test::read_bytes(dir.file("out.img")), expected);
  EXPECT_TRUE(file_exists(dir.file("out.inf")));
  // An existing header beside the target is kept and decides the depth: 16 bits, big-endian.
  put_text("out2.inf", bas([](BasHeader& h) { h.bits = "16"; }).text());
  ASSERT_TRUE(save_fuji_file(image, dir.file("src.inf"), dir.file("out2.img"), false).ok);
  EXPECT_EQ(test::read_bytes(dir.file("out2.img")), test::fuji_pixels({image.image_codes.begin(), image.image_codes.end()}, 2));
  std::string kept;
  ASSERT_TRUE(read_file_bytes(dir.file("out2.inf"), kept));
  EXPECT_EQ(kept, bas([](BasHeader& h) { h.bits = "16"; }).text());
}

TEST_F(Fuji, WriterRoundTripsReversedRowsAndRefusesAnotherSize) {
  options.reverse_rows = true;
  std::vector<uint16_t> codes(32);
  for (size_t i = 0; i < codes.size(); ++i) codes[i] = uint16_t(i);
  put_text("a.inf", BasHeader().text());
  const DecodedImage d = load(BasHeader().text(), test::fuji_pixels(codes, 1));
  ASSERT_TRUE(d.ok);
  ASSERT_TRUE(save_fuji_file(d.data, dir.file("a.inf"), dir.file("out.img"), true).ok);
  EXPECT_EQ(test::read_bytes(dir.file("out.img")), test::fuji_pixels(codes, 1));
  put_text("wide.inf", bas([](BasHeader& h) { h.width = "9"; }).text());
  const WriteResult refused = save_fuji_file(d.data, dir.file("wide.inf"), dir.file("w.img"), true);
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.lines, LogLines{" save_fuji_file() : " + dir.file("w.img") + " does not match the image."});
  EXPECT_FALSE(file_exists(dir.file("w.img")));
}

}  // namespace
}  // namespace kestrin
