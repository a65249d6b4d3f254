// The tool windows' harness commands: a merged picture written to a BMP file, a reference
// file made and applied, a batch with a blank line, a cake without an image, and the usage
// errors.
#include <gtest/gtest.h>

#include <sstream>

#include "base/paths.h"
#include "base/text_file.h"
#include "commands/headless_ports.h"
#include "harness/harness_fixture.h"
#include "image/display/ksdib.h"
#include "image/program_state.h"
#include "ports/log.h"
#include "support/raxis_fixture.h"
#include "support/ring_image.h"
#include "support/temp_dir.h"

namespace kestrin::harness {
namespace {

class WindowCommandsTest : public HarnessTest {
protected:
  std::string raxis(const std::string& name, int32_t w, int32_t h) {
    test::RaxisFixture f;
    f.width = w;
    f.height = h;
    return f.write(dir.file(name));
  }
  test::TempDir dir;
};

TEST_F(WindowCommandsTest, MergeImagesWritesThePicture) {
  const std::string a = raxis("a.img", 30, 20), b = raxis("b.img", 30, 20);
  run("MergeImages " + dir.file("m.bmp") + " 2 3 11 7 1 " + a + " " + b + "\n");
  EXPECT_EQ(err, "");
  TKsDIB picture;
  picture.LoadFromFile(dir.file("m.bmp"));
  EXPECT_EQ(picture.Width(), 5);    // rotated by 90 degrees: the rectangle's height
  EXPECT_EQ(picture.Height(), 20);  // two blocks of its width
  run("MergeImages " + dir.file("n.bmp") + " 0 0 30 5 0 " + a + "\n");  // right = width: refused
  EXPECT_EQ(the_log().history().back(), "Create Merge Image. Area Error.");
  EXPECT_FALSE(file_exists(dir.file("n.bmp")));
}

TEST_F(WindowCommandsTest, ASpreadReferenceIsMadeAndApplied) {
  const std::string a = raxis("a.img", 30, 20);
  const std::string ref = dir.file("a.csv");
  run("SpreadReference " + ref + " " + a + "\nSpreadImages " + ref + " " + a + "\n");
  EXPECT_EQ(err, "");
  std::string text;
  ASSERT_TRUE(read_file_bytes(ref, text));
  EXPECT_EQ(split_lines(text).size(), 20u);
  EXPECT_TRUE(file_exists(dir.file("a_spr.img")));
}

TEST_F(WindowCommandsTest, BatchConvertTakesBlankLines) {
  const std::string a = test::write_ring_raxis(dir.file("a.img"));
  const std::string out = run("BatchConvert " + a + " '' " + a + "\n");
  EXPECT_NE(out.find(" load_img_proc() : No file selected. \n batch_convert() :  skipped.\n"), std::string::npos) << out;
}

TEST_F(WindowCommandsTest, TooFewArgumentsSayHowToCallThem) {
  run("MergeImages out.bmp 0 0 1\nSpreadReference out.csv\nSpreadImages\nCake\n");
  EXPECT_EQ(err,
            "line 1: MergeImages: usage: MergeImages OUT LEFT TOP RIGHT BOTTOM ROTATION FILE...\n"
            "line 2: SpreadReference: usage: SpreadReference OUT FILE\n"
            "line 3: SpreadImages: usage: SpreadImages REF FILE...\n"
            "line 4: Cake: usage: Cake OUT\n");
}

TEST_F(WindowCommandsTest, ACakeWithoutAnImageWritesNothing) {
  run("Cake " + dir.file("cake.bmp") + "\n");
  EXPECT_EQ(err, "");
  EXPECT_EQ(the_log().history(), (std::vector<std::string>{"<<<<<   Slant Pixel Histogram   >>>>>",
                                                           " calc_slant_pixel_histogram() : Image data does not exist."}));
  EXPECT_FALSE(file_exists(dir.file("cake.bmp")));
}

}  // namespace
}  // namespace kestrin::harness
