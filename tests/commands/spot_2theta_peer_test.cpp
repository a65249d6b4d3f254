// The 2theta of single spots on a frame that fabio writes (one Gaussian spot per quadrant,
// off the axes) in the program's start state: each fitted 2theta lies within 0.01 degree
// of the spot's pixel 2theta, which agrees with pyFAI's 2theta map at the spot's pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "analysis/ring_geometry.h"
#include "analysis/spot_list.h"
#include "base/convert.h"
#include "base/text_file.h"
#include "commands/file_commands.h"
#include "commands/spot_2theta.h"
#include "image/image_loader.h"
#include "image/image_store.h"
#include "commands/parameter_io.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "support/state_fixture.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

constexpr int32_t kSide = 300;
constexpr double kCentre = 150.5;
const std::pair<double, double> kSpots[] = {{232.3, 201.6}, {72.8, 221.2}, {61.7, 78.2}, {211.1, 57.9}};

// The frame as a 16-bit TIFF, written by fabio from the same forward model as the unit test.
std::string fabio_frame(const TempDir& dir) {
  std::ostringstream py;
  py << "import numpy, fabio.tifimage\n"
     << "y, x = numpy.mgrid[0:" << kSide << ", 0:" << kSide << "]\n"
     << "v = numpy.full((" << kSide << ", " << kSide << "), 100.0)\n";
  for (const auto& [sx, sy] : kSpots)
    py << "v += 3000 * numpy.exp(-((x - " << sx << ") ** 2 + (y - " << sy << ") ** 2) / (2 * 1.6 ** 2))\n";
  py << "fabio.tifimage.tifimage(data=numpy.rint(v).astype(numpy.uint16)).write('" << dir.file("spots.tif") << "')\n";
  EXPECT_EQ(run_peer_script(dir, py.str()), 0);
  return dir.file("spots.tif");
}

using Spot2ThetaPeerTest = StateTest;

TEST_F(Spot2ThetaPeerTest, FittedTwoThetaMatchesThePixelTwoThetaOfPyFai) {
  KESTRIN_REQUIRE_PEER("fabio");
  KESTRIN_REQUIRE_PEER("pyFAI");
  TempDir dir;
  load_img_proc(fabio_frame(dir));
  ASSERT_EQ(current_image().NoImageFlag, 0);
  ASSERT_EQ(current_image().ImageWidth, kSide);
  edit(frmMain::edtCenterX0, FloatToStr(kCentre));
  edit(frmMain::edtCenterY0, FloatToStr(kCentre));
  edit(frmMain::edtCameraLength, "100");
  read_parameters(kSide);
  ASSERT_EQ(state().integration_params.IntegrationMode, 2);  // sectored division, as at start
  SpotList& l = state().spot_list;
  set_spot_count(l, 4);
  for (size_t i = 0; i < 4; ++i) {
    l.SpotRecords[i].x = l.SpotX[i] = kSpots[i].first;
    l.SpotRecords[i].y = l.SpotY[i] = kSpots[i].second;
  }
  const IntegrationParams& p = state().integration_params;
  std::ostringstream command;
  command << kPeerPython << " " << KESTRIN_SOURCE_DIR << "/tests/analysis/peer/pyfai_two_theta.py angles " << kSide
          << " " << kSide;
  for (double v : {p.X0, p.Y0, p.Lo, p.pixel_x, p.pixel_y, p.Phi, p.Beta}) command << " " << FloatToStr(v);
  std::string out;
  ASSERT_EQ(run_command(command.str() + " 2>/dev/null", &out), 0);
  const std::vector<std::string> map = split_lines(out);
  ASSERT_EQ(map.size(), size_t(kSide) * kSide);

  for (int32_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const int32_t px = int32_t(std::lround(kSpots[i].first)), py = int32_t(std::lround(kSpots[i].second));
    EXPECT_NEAR(calc_pixel_2theta(kPixelTwoTheta, px, py), StrToFloat(map[size_t(px) + size_t(kSide) * size_t(py)]),
                4e-6);
    analyze_spot_2theta(i, Spot2ThetaSettings{});
    const SpotRecord& r = l.SpotRecords[size_t(i)];
    EXPECT_NEAR(r.two_theta_fit, calc_pixel_2theta(kPixelTwoTheta, kSpots[i].first, kSpots[i].second), 0.01);
  }
  std::string raw;
  ASSERT_TRUE(read_file_bytes(dir.file("spots_001.RAW"), raw));
  const std::vector<std::string> lines = split_lines(raw);
  ASSERT_FALSE(lines.empty());
  const double t0 = l.SpotRecords[0].two_theta_ref;
  EXPECT_NEAR(StrToFloat(lines.front().substr(0, lines.front().find(','))), t0 - 2, 0.03);
}

}  // namespace
}  // namespace kestrin::test
