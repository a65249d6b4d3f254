// Bruker CCD reader on frames made by code.
#include <gtest/gtest.h>

#include "image/formats/bruker.h"
#include "support/bruker_fixture.h"
#include "support/reader_fixture.h"
#include "support/tiff_fixture.h"
#include "ports/names/main_form_names.h"

namespace kestrin {
namespace {

std::vector<uint16_t> frame() {
  std::vector<uint16_t> v(1024 * 1024);
  for (size_t i = 0; i < v.size(); ++i) v[i] = uint16_t(i * 7 % 30000);
  v[5] = 0x8000 + 40000 % 32768;
  v[6] = 0;
  return v;
}

class Bruker : public test::ReaderTest {
protected:
  std::string put(const std::vector<uint8_t>& bytes) {
    test::write_bytes(dir.file("a.ccd"), bytes);
    return dir.file("a.ccd");
  }
  ImageStore store;
};

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

TEST_F(Bruker, ReadsTheFrameScansItAndSetsOneMillimetrePixels) {
  headless_controls().set_checked(frmMain::chkpsx, true);
  headless_controls().set_checked(frmMain::chkpsy, true);
  const auto codes = frame();
  ASSERT_EQ(read_bruker_file(store, put(test::make_bruker(codes))), 0);
  EXPECT_EQ(log(), (std::vector<std::string>{" read_bruker_file()"}));
  EXPECT_EQ(store.image_codes, codes);
  EXPECT_EQ(store.ImageWidth, 1024);
  EXPECT_EQ(store.PixelCount, 1048576);
  EXPECT_EQ(store.BytesPerPixel, 2);
  EXPECT_EQ(state().integration_params.pixel_x, 1.0);
  EXPECT_EQ(state().integration_params.pixel_y, 1.0);
  EXPECT_EQ(store.LinearSaturation, 32767);
  EXPECT_EQ(store.LinearMax, 29999);
  EXPECT_EQ(store.LinearMin, 0);
  EXPECT_EQ(store.intensity_table[codes[5]], 40000 % 32768);
}

TEST_F(Bruker, OneBytePerPixelIsStillReadAsWords) {
  const auto codes = frame();
  ASSERT_EQ(read_bruker_file(store, put(test::make_bruker(codes, {{39, "1         "}}))), 0);
  EXPECT_EQ(store.image_codes, codes);
  EXPECT_EQ(store.BytesPerPixel, 1);
}

TEST_F(Bruker, RefusesBadHeadersAndShortFiles) {
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
    store = ImageStore();
    clear_log();
    EXPECT_EQ(read_bruker_file(store, put(c.bytes)), 1) << c.name;
    EXPECT_EQ(log(), (std::vector<std::string>{" read_bruker_file()", c.line})) << c.name;
    EXPECT_TRUE(store.image_codes.empty()) << c.name;
  }
}

}  // namespace
}  // namespace kestrin
