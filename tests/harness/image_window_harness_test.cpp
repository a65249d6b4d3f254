// kestrin-harness with the image window's commands: the pixel information and the readouts
// of a pixel, ClearMask, and the part view saved as a picture with its overlays.
#include <gtest/gtest.h>

#include "base/text_file.h"
#include "support/picture_peer.h"
#include "support/raxis_fixture.h"
#include "support/ring_image.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

std::string ring_image(const TempDir& dir) {
  RingImageSpec spec;
  spec.rings = {{4.0, 0.15, 3000}, {7.0, 0.2, 2000}};
  RaxisFixture f;
  f.width = f.height = 200;
  f.camera_length = 100;
  f.wavelength = 1.0f;
  f.codes = make_ring_image(spec);
  return f.write(dir.file("ring.img"));
}

std::vector<std::string> run_harness(const TempDir& dir, const std::string& commands, std::string* err) {
  EXPECT_TRUE(write_file_bytes(dir.file("commands.txt"), commands));
  std::string out;
  const std::string harness = std::string(KESTRIN_BINARY_DIR) + "/tests/harness/kestrin-harness";
  EXPECT_EQ(run_command(harness + " '" + dir.file("commands.txt") + "' 2>'" + dir.file("err.txt") + "'", &out), 0);
  EXPECT_TRUE(read_file_bytes(dir.file("err.txt"), *err));
  return split_lines(out);
}

bool has_line(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(ImageWindowHarness, PixelInformationReadoutsAndClearMask) {
  TempDir dir;
  const std::string image = ring_image(dir);
  std::string err;
  const auto out = run_harness(dir,
                               "Kestrin.SetWindowShow(0);\n"
                               "LoadImageFile '" + image + "'\n"
                               "SetCenterX 100\nSetCenterY 100\nSetLo 100\nSetPixelSizeX 0.1\nSetPixelSizeY 0.1\n"
                               "SetPhi 0\nSetBeta 0\n"
                               "PixelInformation 103 104\n"
                               "ImageReadout 103 104\n"
                               "ImageReadout 100 130\n"
                               "ImageReadout 200 0\n"
                               "Kestrin.ClearMask();\n"
                               "SetLo 0\nPixelInformation 103 104\n",
                               &err);
  EXPECT_TRUE(has_line(out, " <<<<<   Pixel information   >>>>>"));
  EXPECT_TRUE(has_line(out, " x =     5.000(pixel), 2theta =  0.2865(degree)"));
  EXPECT_TRUE(std::any_of(out.begin(), out.end(), [](const std::string& l) { return l.rfind("103|104|", 0) == 0 && l.find("|5.000|53.13") != std::string::npos; }));
  EXPECT_TRUE(std::any_of(out.begin(), out.end(), [](const std::string& l) { return l.rfind("100|130|", 0) == 0 && l.find("|30.000|90.00") != std::string::npos; }));
  // Outside the image, and the division by a camera length of 0, are errors of their lines.
  EXPECT_NE(err.find("ImageReadout: pixel outside the image"), std::string::npos) << err;
  EXPECT_NE(err.find("PixelInformation: Floating point division by zero"), std::string::npos) << err;
  for (const std::string& l : out) EXPECT_EQ(l.find("nan"), std::string::npos) << l;
}

TEST(ImageWindowHarness, SavedViewShowsTheImageTheOutlineAndTheCentre) {
  KESTRIN_REQUIRE_PEER("PIL");
  TempDir dir;
  const std::string image = ring_image(dir);
  std::string err;
  const std::string whole = dir.file("whole.png"), zoomed = dir.file("zoomed.png");
  run_harness(dir,
              "Kestrin.SetWindowShow(0);\n"
              "LoadImageFile '" + image + "'\n"
              "SetCenterX 100\nSetCenterY 100\nSetIntegrationMode 0\nSetBand 20\n"
              "SaveImageView '" + whole + "' 0\n"
              "SaveImageView '" + zoomed + "' 4 50 50\n"
              "SaveImageView '" + dir.file("none.png") + "' 4 50 190\n",
              &err);
  EXPECT_NE(err.find("line 9: SaveImageView: no view to draw"), std::string::npos) << err;
  for (const std::string& picture : {whole, zoomed}) {
    const PictureFacts f = describe_picture(picture, {"008080", "FF00FF"});
    ASSERT_TRUE(f.read) << f.output;
    EXPECT_EQ(f.width, 600);
    EXPECT_EQ(f.height, 600);
    EXPECT_GT(f.colours, 20) << picture;        // grey levels of the rings
    EXPECT_TRUE(f.present.at("008080")) << picture;  // the outline ($808000)
    EXPECT_TRUE(f.present.at("FF00FF")) << picture;  // the centre mark
  }
}

}  // namespace
}  // namespace kestrin::test
