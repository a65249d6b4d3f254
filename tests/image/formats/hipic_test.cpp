// HiPiC reader and writer on files made by code.
#include <gtest/gtest.h>

#include "image/formats/hipic.h"
#include "support/hipic_fixture.h"
#include "support/reader_fixture.h"
#include "support/tiff_fixture.h"
#include "ports/names/main_form_names.h"

namespace kestrin {
namespace {

using test::make_hipic;

class Hipic : public test::ReaderTest {
protected:
  std::string put(const std::vector<uint8_t>& bytes, const std::string& name = "a.img") {
    test::write_bytes(dir.file(name), bytes);
    return dir.file(name);
  }
  ImageStore store;
};

TEST_F(Hipic, DecodesEachPixelKind) {
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
    clear_log();
    ASSERT_EQ(read_hipic_file(store, put(make_hipic(2, 2, c.kind, 0, c.pixels))), 0) << c.kind;
    EXPECT_EQ(store.image_codes, c.codes) << c.kind;
    EXPECT_EQ(store.BytesPerPixel, c.kind == 0 ? 1 : c.kind == 1 ? 2 : 4);
    EXPECT_TRUE(log().empty());
  }
}

TEST_F(Hipic, OverflowLawWithRatioOne) {
  ASSERT_EQ(read_hipic_file(store, put(make_hipic(4, 1, 1, 0, {0x01, 0x80, 0x00, 0x80, 0xFF, 0x7F, 3, 0}))), 0);
  EXPECT_EQ(store.intensity_table[0x8001], 1.0);
  EXPECT_EQ(store.intensity_table[0x8000], 0.0);
  EXPECT_EQ(store.log_table[0x8000], 0.0);
  EXPECT_EQ(store.LinearSaturation, 32767);
  EXPECT_EQ(store.LinearMax, 32767);
  EXPECT_EQ(store.LinearMin, 0);
  EXPECT_EQ(store.OverflowRatio, 1.0f);
}

TEST_F(Hipic, CommentLengthMovesTheData) {
  auto bytes = make_hipic(2, 1, 1, 100, {0x34, 0x12, 0x78, 0x56});
  ASSERT_EQ(bytes.size(), 168u);
  ASSERT_EQ(read_hipic_file(store, put(bytes)), 0);
  EXPECT_EQ(store.image_codes, (std::vector<uint16_t>{0x1234, 0x5678}));
}

TEST_F(Hipic, VerticalReverseOnReadAndWrite) {
  state().options.VerticalReverse = 1;
  const std::vector<uint8_t> pixels = {1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0};
  const auto source = put(make_hipic(2, 3, 1, 4, pixels));
  ASSERT_EQ(read_hipic_file(store, source), 0);
  EXPECT_EQ(store.image_codes, (std::vector<uint16_t>{5, 6, 3, 4, 1, 2}));
  ASSERT_EQ(save_hipic_file(store, source, dir.file("out.img")), 0);
  EXPECT_EQ(test::read_bytes(dir.file("out.img")), test::read_bytes(source));
}

TEST_F(Hipic, GeometryEditsAreWrittenForTheCurrentImageOnly) {
  state().integration_params.pixel_x = 0.05;
  const auto path = put(make_hipic(1, 1, 0, 0, {9}));
  ASSERT_EQ(read_hipic_file(store, path), 0);
  EXPECT_EQ(controls().text(frmMain::edtPixelX), "0.1");
  ASSERT_EQ(read_hipic_file(current_image(), path), 0);
  EXPECT_EQ(controls().text(frmMain::edtPixelX), "  0.050000");
  EXPECT_EQ(controls().text(frmMain::edtCameraLength), "500.000000");
}

TEST_F(Hipic, RefusesBadHeadersBeforeReadingData) {
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
    store = ImageStore();
    clear_log();
    EXPECT_EQ(read_hipic_file(store, put(c.bytes)), 1) << c.name;
    EXPECT_EQ(log(), (std::vector<std::string>{c.line})) << c.name;
    if (std::string(c.name) != "byte error") {
      EXPECT_TRUE(store.image_codes.empty()) << c.name;
    }
  }
}

TEST_F(Hipic, WriterKeepsAnExistingTargetAndItsComment) {
  const auto source = put(make_hipic(2, 1, 1, 0, {1, 0, 2, 0}), "src.img");
  const auto target = put(make_hipic(2, 1, 1, 10, {0, 0, 0, 0}), "out.img");
  ImageStore image;
  image.set_size(2, 1, 2);
  image.image_codes = {0x1234, 0x8001};
  ASSERT_EQ(save_hipic_file(image, source, target), 0);
  EXPECT_EQ(test::read_bytes(target), make_hipic(2, 1, 1, 10, {0x34, 0x12, 0x01, 0x80}));
}

TEST_F(Hipic, WriterEncodesEveryKindAndRefusesAnotherSize) {
  ImageStore image;
  image.set_size(2, 1, 2);
  image.image_codes = {300, 0x8001};
  const std::vector<std::vector<uint8_t>> expected = {{255, 255}, {44, 1, 1, 0x80}, {44, 1, 0, 0, 1, 0x80, 0, 0}};
  for (uint16_t kind : {0, 1, 2}) {
    const auto source = put(make_hipic(2, 1, kind, 0, std::vector<uint8_t>(2u << kind, 0)), "src.img");
    const auto target = dir.file("k" + std::to_string(kind) + ".img");
    ASSERT_EQ(save_hipic_file(image, source, target), 0);
    EXPECT_EQ(test::read_bytes(target), make_hipic(2, 1, kind, 0, expected[kind])) << kind;
  }
  const auto other = put(make_hipic(3, 1, 1, 0, std::vector<uint8_t>(6, 0)), "other.img");
  clear_log();
  EXPECT_EQ(save_hipic_file(image, other, dir.file("x.img")), 1);
  EXPECT_EQ(log().size(), 1u);
}

}  // namespace
}  // namespace kestrin
