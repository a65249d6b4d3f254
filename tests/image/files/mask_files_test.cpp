// Mask files: the ".bgz" bytes against numpy's packbits, loading as a union, the names the
// loader and the writer accept, and the BMP import of pictures PIL writes in three depths.
#include "image/files/mask_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/paths.h"
#include "base/runtime_errors.h"
#include "base/text_file.h"
#include "commands/file_commands.h"
#include "commands/main_form_commands.h"
#include "image/display/ksdib.h"
#include "image/loading_fixture.h"
#include "support/pattern_fixture.h"
#include "support/ring_image.h"

namespace kestrin::test {
namespace {

std::span<const uint8_t> as_bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// A mask of w x h with random bytes 0, 1 and (rarely) 2, which the writer counts as clear.
ImageMask random_mask(int32_t w, int32_t h, uint32_t seed) {
  ImageMask m;
  m.resize(w, h);
  std::mt19937 rng(seed);
  for (uint8_t& b : m.bytes) {
    const uint32_t r = rng() % 10;
    b = r < 4 ? 1 : r == 9 ? 2 : 0;
  }
  return m;
}

class MaskFiles : public LoadingTest {
protected:
  void SetUp() override {
    LoadingTest::SetUp();
    Ports p = ports();
    p.file_dialogs = &dialogs_;
    install_ports(p);
  }
  void TearDown() override {
    Ports p = ports();
    p.file_dialogs = nullptr;
    install_ports(p);
    LoadingTest::TearDown();
  }
  static void load_image(int32_t w, int32_t h) {
    load_into_current_image(std::vector<uint16_t>(size_t(w) * size_t(h), 0), w, h);
    state().image_mask.resize(w, h);
  }
  static ImageMask& mask() { return state().image_mask; }
  ScriptedFileDialogs dialogs_;
};

TEST(MaskFileBytes, RowLengthIsWidthOverEightRoundedHalfUp) {
  const std::pair<int32_t, size_t> cases[] = {{1, 0},  {3, 0},  {4, 1},   {8, 1},     {10, 1},
                                              {12, 2}, {13, 2}, {16, 2}, {1203, 150}, {1205, 151}};
  for (const auto& [w, n] : cases) EXPECT_EQ(mask_row_bytes(w), n) << w;
}

// numpy's packbits of (mask == 1), cut to the file's row length, is the file after its
// header; reading the file onto a clear mask gives back every stored masked pixel.
TEST(MaskFileBytes, RowsArePackbitsOfTheMaskedPixelsAndReadBack) {
  KESTRIN_REQUIRE_PEER("numpy");
  TempDir dir;
  for (const int32_t w : {8, 10, 12, 13, 16, 1203, 1205}) {
    const int32_t h = 7;
    const ImageMask m = random_mask(w, h, uint32_t(w));
    const std::string raw = dir.file("mask.raw");
    ASSERT_TRUE(write_file_bytes(raw, std::string(m.bytes.begin(), m.bytes.end())));
    const std::string script =
        "import numpy, sys\n"
        "w, h = " + std::to_string(w) + ", " + std::to_string(h) + "\n"
        "m = numpy.fromfile('" + raw + "', dtype=numpy.uint8).reshape(h, w)\n"
        "n = int(w / 8 + 0.5)\n"
        "rows = numpy.packbits(m == 1, axis=1)[:, :n]\n"
        "head = numpy.array([w, h], dtype='<i4').tobytes()\n"
        "open('" + dir.file("expected.bgz") + "', 'wb').write(head + rows.tobytes())\n";
    std::string out;
    ASSERT_EQ(run_peer_script(dir, script, &out), 0) << out;
    std::string expected;
    ASSERT_TRUE(read_file_bytes(dir.file("expected.bgz"), expected));
    const std::string written = encode_mask_file(m);
    EXPECT_EQ(written, expected) << "width " << w;

    ImageMask back;
    back.resize(w, h);
    ASSERT_EQ(merge_mask_file(as_bytes(written), back), MaskMerge::kMerged);
    const size_t kept = mask_row_bytes(w) * 8;
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        const size_t at = size_t(y) * size_t(w) + size_t(x);
        EXPECT_EQ(back.bytes[at], m.bytes[at] == 1 && size_t(x) < kept ? 1 : 0) << w << " " << x << "," << y;
      }
  }
}

TEST(MaskFileBytes, LoadingAddsToTheMaskAndAShortFileAddsWhatItHolds) {
  ImageMask saved;
  saved.resize(16, 3);
  saved.bytes[0] = saved.bytes[16 + 9] = saved.bytes[32 + 15] = 1;
  const std::string file = encode_mask_file(saved);

  ImageMask m;
  m.resize(16, 3);
  m.bytes[5] = 1;
  ASSERT_EQ(merge_mask_file(as_bytes(file.substr(0, 8 + 2 + 1)), m), MaskMerge::kMerged);  // row 0 and half of row 1
  EXPECT_EQ(m.bytes[0], 1);
  EXPECT_EQ(m.bytes[5], 1);
  EXPECT_EQ(m.bytes[16 + 9], 0);  // its byte is missing
  ASSERT_EQ(merge_mask_file(as_bytes(file), m), MaskMerge::kMerged);
  EXPECT_EQ(std::count(m.bytes.begin(), m.bytes.end(), 1), 4);

  const ImageMask before = m;
  EXPECT_EQ(merge_mask_file(as_bytes(file.substr(0, 7)), m), MaskMerge::kSizeMismatch);
  ImageMask other;
  other.resize(16, 4);
  EXPECT_EQ(merge_mask_file(as_bytes(file), other), MaskMerge::kSizeMismatch);
  EXPECT_EQ(m.bytes, before.bytes);
}

TEST_F(MaskFiles, LoaderTakesOnlyBgzOrBGZAndTheWriterAnyCase) {
  load_image(12, 2);
  mask().bytes[3] = 1;
  for (const char* name : {"a.bgz", "a.BGZ", "a.Bgz"}) save_mask_command(dir_.file(name));
  EXPECT_TRUE(file_exists(dir_.file("a.Bgz")));
  mask().bytes[3] = 0;
  load_mask_command(dir_.file("a.Bgz"));
  EXPECT_EQ(mask().bytes[3], 0);
  load_mask_command(dir_.file("a.BGZ"));
  EXPECT_EQ(mask().bytes[3], 1);
  EXPECT_EQ(log_from(0), (std::vector<std::string>{
                             " save_mask_proc : Successfully saved to " + dir_.file("a.bgz"),
                             " save_mask_proc : Successfully saved to " + dir_.file("a.BGZ"),
                             " save_mask_proc : Successfully saved to " + dir_.file("a.Bgz"),
                             " load_mask_proc() : " + dir_.file("a.Bgz") + " is not a mask file. ",
                             " load_mask_proc : Successfully loaded ",
                         }));
  EXPECT_EQ(views_.redraws, 1);
}

TEST_F(MaskFiles, RefusalsLeaveTheMaskButUpdateTheRememberedFolder) {
  load_image(8, 2);
  save_mask_command(dir_.file("m.bgz"));
  load_image(9, 2);
  mask().bytes[0] = 1;
  dialogs_.set_open_filter_index(1);
  dialogs_.set_save_filter_index(2);
  load_mask_command(dir_.file("m.bgz"));
  save_mask_command("/elsewhere/m.txt");
  load_mask_command("");
  save_mask_command("");
  EXPECT_EQ(log_from(1), (std::vector<std::string>{
                             " load_mask_proc() : does not much image size ",
                             " save_mask_proc() : /elsewhere/m.txt is not a mask file. ",
                             " load_mask_proc() : cancel ",
                             " save_mask_proc() : cancel ",
                         }));
  EXPECT_EQ(std::count(mask().bytes.begin(), mask().bytes.end(), 1), 1);
  const FileDialogSlots& slots = state().dialog_slots;
  EXPECT_EQ(slots.folder[kSlotMaskOpen], "");
  EXPECT_EQ(slots.filter_index[kSlotMaskOpen], 1);
  EXPECT_EQ(slots.folder[kSlotMaskSave], "");
  EXPECT_EQ(slots.filter_index[kSlotMaskSave], 2);
  EXPECT_THROW(load_mask_command(dir_.file("missing.bgz")), EInOutError);
}

TEST_F(MaskFiles, WriterReplacesTheFileOnlyWhenComplete) {
  load_image(10, 2);
  const std::string name = dir_.file("sub/m.bgz");  // the folder does not exist
  EXPECT_THROW(save_mask_command(name), EInOutError);
  EXPECT_FALSE(file_exists(name));
  EXPECT_TRUE(log().empty());
}

// Pictures that PIL writes: 24-bit, 8-bit with a palette and 32-bit. Only pixels decoding
// to blue 0, green 0, red 255 are masked; (red 255, green 1) and (red 254) are not.
TEST_F(MaskFiles, ImportMasksExactlyThePureRedPixelsOfEveryDepth) {
  KESTRIN_REQUIRE_PEER("PIL");
  const int32_t w = 13, h = 5;
  for (const char* mode : {"RGB", "P", "RGBA"}) {
    load_image(w, h);
    mask().bytes[1] = 1;
    const std::string name = dir_.file(std::string("pic_") + mode + ".bmp");
    const std::string script =
        "from PIL import Image\n"
        "img = Image.new('RGB', (13, 5), (255, 255, 255))\n"
        "for x, y in [(0, 0), (12, 4), (6, 2)]: img.putpixel((x, y), (255, 0, 0))\n"
        "img.putpixel((3, 1), (255, 1, 0))\n"
        "img.putpixel((4, 1), (254, 0, 0))\n"
        "mode = '" + std::string(mode) + "'\n"
        "img = img.convert('P', palette=Image.ADAPTIVE, colors=8) if mode == 'P' else img.convert(mode)\n"
        "img.save('" + name + "')\n";
    std::string out;
    ASSERT_EQ(run_peer_script(dir_, script, &out), 0) << out;
    dialogs_.answers = {{name, 1}};
    the_log().clear_history();
    import_mask_command();
    EXPECT_TRUE(log().empty()) << mode << ": " << (log().empty() ? "" : log()[0]);
    std::vector<uint8_t> expected(size_t(w) * h, 0);
    for (const int at : {0, 1, 12 + 4 * 13, 6 + 2 * 13}) expected[size_t(at)] = 1;
    EXPECT_EQ(mask().bytes, expected) << mode;
  }
  const FileDialogSetup& s = dialogs_.setups.at(0);
  EXPECT_EQ(s.filter, "bmp file (*.bmp)|*.BMP");
  EXPECT_EQ(s.default_ext, "bmp");
  EXPECT_TRUE(s.must_exist);
  EXPECT_EQ(state().dialog_slots.folder[kSlotMaskOpen], dir_.path());
}

TEST_F(MaskFiles, ImportRefusesOtherSizesExtensionsAndBrokenPictures) {
  load_image(4, 4);
  TKsDIB picture;
  picture.SetPixelFormat(KsPixelFormat::Bit24);
  picture.SetWidth(5);
  picture.SetHeight(4);
  picture.SaveToFile(dir_.file("five.bmp"));
  ASSERT_TRUE(write_file_bytes(dir_.file("broken.bmp"), "BM not really a picture"));
  dialogs_.answers = {{dir_.file("five.bmp"), 1}, {dir_.file("five.BMP"), 1}, {dir_.file("broken.bmp"), 1}, {"", 1}};
  for (int i = 0; i < 4; ++i) import_mask_command();
  EXPECT_EQ(log().at(0), " import_mask_file() : does not much image size ");
  EXPECT_EQ(log().at(1), " load_mask_proc() : " + dir_.file("five.BMP") + " is not a BMP file. ");
  EXPECT_EQ(log().at(2).rfind(" import_mask_file() : " + dir_.file("broken.bmp") + " cannot be read: ", 0), 0u);
  EXPECT_EQ(log().at(3), " load_mask_proc() : cancel ");
  EXPECT_EQ(std::count(mask().bytes.begin(), mask().bytes.end(), 1), 0);
  EXPECT_EQ(views_.redraws, 0);
}

}  // namespace
}  // namespace kestrin::test
