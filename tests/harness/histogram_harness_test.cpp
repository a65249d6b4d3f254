// kestrin-harness end to end with the pixel, sectored, sub-pixel and curved-plate
// integrations: generated R-AXIS images are loaded, the geometry set, each integration run
// and saved (".xy", ".sec", ".raw"), and the rings in the files sit where the images have them.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "base/convert.h"
#include "base/text_file.h"
#include "support/profile_peak.h"
#include "support/raxis_fixture.h"
#include "support/ring_image.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

// Runs the harness on the commands; returns its output.
std::string run_histogram_harness(const TempDir& dir, const std::string& commands) {
  EXPECT_TRUE(write_file_bytes(dir.file("commands.txt"), commands));
  std::string out;
  const std::string harness = std::string(KESTRIN_BINARY_DIR) + "/tests/harness/kestrin-harness";
  EXPECT_EQ(run_command(harness + " '" + dir.file("commands.txt") + "' 2>&1", &out), 0);
  return out;
}

// The comma-separated columns of a pattern file's rows, up to the first row that is not numbers.
std::vector<std::vector<double>> columns_of(const std::string& path) {
  std::string text;
  EXPECT_TRUE(read_file_bytes(path, text)) << path;
  std::vector<std::vector<double>> columns;
  for (const std::string& line : split_lines(text)) {
    std::vector<double> row;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, ',');) {
      const auto v = TryStrToFloat(cell);
      if (!v) return columns;
      row.push_back(*v);
    }
    if (columns.empty()) columns.resize(row.size());
    if (row.size() != columns.size()) return columns;
    for (size_t c = 0; c < row.size(); ++c) columns[c].push_back(row[c]);
  }
  return columns;
}

std::string raxis_image(const TempDir& dir, const RingImageSpec& spec, const char* signature) {
  RaxisFixture f;
  f.signature = signature;
  f.width = spec.geometry.width;
  f.height = spec.geometry.height;
  f.codes = make_ring_image(spec);
  return f.write(dir.file("rings.img"));
}

TEST(HistogramHarness, PixelSectoredAndFineRingsSitWhereTheImageHasThem) {
  TempDir dir;
  RingImageSpec spec;
  spec.geometry = {300, 260, 150.3, 128.6, 60, 0.1, 0.1, 0, 0};
  spec.rings = {{6, 0.25, 4000}, {10, 0.25, 3000}};
  spec.background = 5;
  const std::string image = raxis_image(dir, spec, "R-AXIS4");
  const std::string commands = "Kestrin = new Kestrin;\nKestrin.LoadImageFile('" + image +
                               "');\n"
                               "SetCenterX 150.3\nSetCenterY 128.6\nSetLo 60\nSetPixelSizeX 0.1\nSetPixelSizeY 0.1\n"
                               "SetPhi 0\nSetBeta 0\nSet2ThetaBegin 2\nSet2ThetaStep 0.02\n"
                               "Kestrin.SetIntegrationMode(0);\nKestrin.SetRectAngleMode(0);\nKestrin.SetRectDirection(6);\n"
                               "Kestrin.PixelIntensity();\nKestrin.SaveNaxFile('" +
                               dir.file("pixel.xy") +
                               "');\n"
                               "Kestrin.Sectoring();\nKestrin.SaveNaxFile('" +
                               dir.file("rings.sec") +
                               "');\n"
                               "Kestrin.FineAngleIntensity();\nKestrin.SaveNaxFile('" +
                               dir.file("fine.raw") +
                               "');\n"
                               "Kestrin.AngleIntensity();\nKestrin.SaveNaxFile('" +
                               dir.file("flat.raw") + "');\n";
  const std::string out = run_histogram_harness(dir, commands);
  for (const char* banner : {"<<<<<   Pixel Histogram   >>>>>", "<<<<<< SECTORING >>>>>>>",
                             "<<<<<   Fine Angle Histogram   >>>>>", " <<<<<   Sector format   >>>>> "})
    EXPECT_NE(out.find(banner), std::string::npos) << banner << "\n" << out;

  const double radius[] = {60 * std::tan(6 * kDeg) / 0.1, 60 * std::tan(10 * kDeg) / 0.1};
  const auto pixel = columns_of(dir.file("pixel.xy"));
  ASSERT_EQ(pixel.size(), 2u);
  for (double r : radius) EXPECT_NEAR(gaussian_peak_index(pixel[1], r), r, 0.05) << r;

  const auto sectors = columns_of(dir.file("rings.sec"));
  ASSERT_EQ(sectors.size(), 17u);  // the distance and sixteen sectors
  for (size_t s = 1; s <= 16; ++s)
    for (double r : radius) EXPECT_NEAR(gaussian_peak_index(sectors[s], r), r, 0.25) << "sector " << s - 1 << " ring " << r;

  for (const char* name : {"fine.raw", "flat.raw"}) {
    const auto angles = columns_of(dir.file(name));
    ASSERT_EQ(angles.size(), 2u) << name;
    EXPECT_DOUBLE_EQ(angles[0][0], 2.0);
    for (double t : {6.0, 10.0}) EXPECT_NEAR(2 + 0.02 * gaussian_peak_index(angles[1], (t - 2) / 0.02), t, 0.05 * 0.02) << name;
  }
}

TEST(HistogramHarness, CurvedPlateRingsAndRefusals) {
  TempDir dir;
  RingImageSpec spec;
  spec.geometry = {400, 200, 120.4, 99.7, 80, 0.1, 0.1, 0, 0};
  spec.rings = {{8, 0.2, 4000}, {13, 0.2, 3000}, {18, 0.2, 2000}};
  spec.background = 5;
  spec.curved = true;
  const std::string image = raxis_image(dir, spec, "R-AXIS-CS");
  const std::string commands = "Kestrin.LoadImageFile('" + image +
                               "');\n"
                               "SetCenterX 120.4\nSetCenterY 99.7\nSetLo 80\nSetPixelSizeX 0.1\nSetPixelSizeY 0.1\n"
                               "SetPhi 3\nSetBeta 40\nSet2ThetaBegin 1\nSet2ThetaStep 0.02\n"
                               "Kestrin.SetIntegrationMode(0);\nKestrin.SetRectAngleMode(0);\nKestrin.SetRectDirection(6);\n"
                               "Kestrin.AngleIntensity();\nKestrin.SaveNaxFile('" +
                               dir.file("curved.raw") +
                               "');\n"
                               "Kestrin.PixelIntensity();\nKestrin.FineAngleIntensity();\n";
  const std::string out = run_histogram_harness(dir, commands);
  EXPECT_NE(out.find(" calc_pixel_histogram_selection() bad file type.(curvedIP)"), std::string::npos) << out;
  EXPECT_NE(out.find(" calc_fine_angle_histogram_selection(): bad file type(CurvedIP)"), std::string::npos) << out;
  EXPECT_EQ(out.find("cos3 correction was made"), std::string::npos) << out;
  const auto angles = columns_of(dir.file("curved.raw"));
  ASSERT_EQ(angles.size(), 2u);
  for (double t : {8.0, 13.0, 18.0}) EXPECT_NEAR(1 + 0.02 * gaussian_peak_index(angles[1], (t - 1) / 0.02), t, 0.05 * 0.02) << t;
}

}  // namespace
}  // namespace kestrin::test
