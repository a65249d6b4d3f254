// kestrin-harness with the windows' commands: the graph of a ring image's pattern saved as a
// picture (light-yellow plot, black curve, blue peak marks), the peak list as copied, the fit
// grid's rows, the cake picture, and refused picture sizes.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <filesystem>
#include <sstream>
#include <string>

#include "base/text_file.h"
#include "support/raxis_fixture.h"
#include "support/ring_image.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

class WindowHarness : public ::testing::Test {
protected:
  // Runs the harness on the commands after loading a ring image, integrating it and
  // searching its peaks; returns standard output and error together.
  std::string run(const std::string& commands) {
    RingImageSpec spec;
    spec.rings = {{4.0, 0.15, 3000}, {7.0, 0.2, 2000}};
    RaxisFixture f;
    f.width = f.height = 200;
    f.codes = make_ring_image(spec);
    f.write(dir.file("ring.img"));
    const std::string script = "Kestrin.LoadImageFile('" + dir.file("ring.img") +
                               "');\nSetCenterX 100\nSetCenterY 100\nSetLo 100\nSetWaveLength 1\n"
                               "Kestrin.SetIntegrationMode(0);\nKestrin.SetRectDirection(6);\n"
                               "Kestrin.AngleIntensity();\nKestrin.PeakSearch();\n" + commands;
    EXPECT_TRUE(write_file_bytes(dir.file("commands.txt"), script));
    std::string out;
    const std::string harness = std::string(KESTRIN_BINARY_DIR) + "/tests/harness/kestrin-harness";
    EXPECT_EQ(run_command(harness + " '" + dir.file("commands.txt") + "' 2>&1", &out), 0);
    return out;
  }
  TempDir dir;
};

TEST_F(WindowHarness, SaveGraphPictureDrawsThePatternWithItsPeakMarks) {
  std::filesystem::create_directories(std::string(KESTRIN_BINARY_DIR) + "/screenshots");
  const std::string out = run("SaveGraphPicture '" + dir.file("graph.png") + "' 700 500\n");
  QImage picture;
  ASSERT_TRUE(picture.load(QString::fromStdString(dir.file("graph.png")))) << out;
  ASSERT_EQ(picture.size(), QSize(700, 500));
  picture.save(QString::fromStdString(std::string(KESTRIN_BINARY_DIR) + "/screenshots/harness_graph.png"));  // for review
  int yellow = 0, black = 0, blue = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      yellow += c == QColor(255, 255, 220);
      black += c == QColor(0, 0, 0);
      blue += c == QColor(0, 0, 255);
    }
  // W = Trunc(650 0.9) = 585, H = Trunc(450 0.9) = 405: a plot of about 586 x 365 pixels.
  EXPECT_GT(yellow, 150000);
  EXPECT_GT(black, 1000);
  EXPECT_GE(blue, 2 * 9);  // at least two marks of ten pixels less the end point
  EXPECT_EQ(picture.pixelColor(5, 5), QColor(255, 255, 255));
}

TEST_F(WindowHarness, CopyPeakListPrintsTheHeadingAndEveryRowWithCrLf) {
  const std::string out = run("CopyPeakList\nFitResultRows\n");
  const std::string heading = "  Peak        x(pixel)      2theta(deg)      d(A)        Intensity\r\n";
  const size_t at = out.find(heading);
  ASSERT_NE(at, std::string::npos) << out;
  std::istringstream rows(out.substr(at + heading.size()));
  std::string row;
  int peaks = 0;
  while (std::getline(rows, row) && row.size() > 1 && row.back() == '\r') ++peaks;
  EXPECT_GE(peaks, 2) << out;
  const std::string headings =
      "Peak No.|x(2theta)|Intensity|Base Int.|FwHm(2theta)|Tilt|Init Pos|Ini. Int.|Ini. Offset|Ini. FwHm|Base Tilt\n";
  EXPECT_NE(out.find(headings + "1 xxx|"), std::string::npos) << out;  // nothing fitted yet
}

TEST_F(WindowHarness, CakeSavesThePictureWithTheRingInEveryBand) {
  const std::string out = run("Cake '" + dir.file("cake.bmp") + "'\n");
  QImage picture;
  ASSERT_TRUE(picture.load(QString::fromStdString(dir.file("cake.bmp")))) << out;
  ASSERT_EQ(picture.size(), QSize(800, 320));
  ASSERT_EQ(picture.format(), QImage::Format_Indexed8);
  // The 4-degree ring lies 100 tan(4 degrees) / 0.1 = 69.9 pixels from the centre: column 35.
  for (int band = 0; band < 32; ++band) {
    int brightest = 25;
    for (int x = 25; x <= 45; ++x)
      if (picture.pixelIndex(x, 10 * band + 9) > picture.pixelIndex(brightest, 10 * band + 9)) brightest = x;
    EXPECT_EQ(brightest, 35) << "band " << band;
    EXPECT_EQ(picture.pixelIndex(35, 10 * band), picture.pixelIndex(35, 10 * band + 9)) << "band " << band;
  }
  EXPECT_EQ(picture.color(200), qRgb(200, 200, 200));
  size_t slices = 0;
  for (size_t at = out.find("<<<<<   Slant Pixel Histogram   >>>>>"); at != std::string::npos;
       at = out.find("<<<<<   Slant Pixel Histogram   >>>>>", at + 1))
    ++slices;
  EXPECT_EQ(slices, 33u) << out;
}

TEST_F(WindowHarness, PictureSizesOutsideTheLimitsAreRefused) {
  const std::string out = run("SaveGraphPicture '" + dir.file("a.png") + "' 0 500\nSaveGraphPicture '" +
                              dir.file("b.png") + "' 700 99999999\n");
  EXPECT_NE(out.find("SaveGraphPicture: a picture side must lie in 1..20000"), std::string::npos)
      << out;
  EXPECT_FALSE(QImage(QString::fromStdString(dir.file("a.png"))).width() > 0);
}

}  // namespace
}  // namespace kestrin::test
