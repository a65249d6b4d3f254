// The cake against pyFAI's integrate2d over the same slices: in every band the rings peak
// in the column of pyFAI's 2-pixel radial bin, at the same relative brightness, and arcs
// light the same slices in both.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/geometry.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "base/text_file.h"
#include "commands/cake_commands.h"
#include "commands/file_commands.h"
#include "image/cake_picture.h"
#include "image/image_loader.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {


using Rows = std::vector<std::vector<double>>;

class CakePeerTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    set_region(kRegionRectangle);
  }
  // Runs a script of tests/peers or tests/analysis/peer; returns its output lines.
  static std::vector<std::string> run_peer(const std::string& script, const std::vector<std::string>& args) {
    std::string cmd = std::string(kPeerPython) + " " + KESTRIN_SOURCE_DIR + "/tests/" + script;
    for (const std::string& a : args) cmd += " " + a;
    std::string out;
    EXPECT_EQ(run_command(cmd + " 2>/dev/null", &out), 0) << cmd;
    return split_lines(out);
  }
  static std::vector<std::string> geometry_args(const RingGeometry& g) {
    std::vector<std::string> a;
    for (double v : {double(g.width), double(g.height), g.X0, g.Y0, g.Lo, g.pixel_x, g.pixel_y}) a.push_back(FloatToStr(v));
    return a;
  }
  // pyFAI's cake of `image`: one row of 800 values per drawn slice of the Cake.
  static Rows their_cake(const std::string& image, const RingGeometry& g) {
    std::vector<std::string> args = {image};
    for (const std::string& a : geometry_args(g)) args.push_back(a);
    args.push_back(Format("%d", {kCake.slice_degrees}));
    args.push_back(Format("%d", {kCake.slices_drawn}));
    Rows rows;
    for (const std::string& line : run_peer("analysis/peer/pyfai_cake.py", args)) {
      std::istringstream in(line);
      std::vector<double> row;
      for (std::string v; in >> v;) row.push_back(v == "nan" ? 0.0 : StrToFloat(v));
      rows.push_back(row);
    }
    return rows;
  }
  // Our Cake of the current image as rows of 800 grey levels, one per drawn slice.
  static Rows our_cake(const RingGeometry& g) {
    set_geometry(g);
    EXPECT_TRUE(run_cake(kCake));
    const TKsDIB& dib = cake_state().CakeDIB;
    Rows rows;
    for (int32_t s = 0; s < kCake.slices_drawn; ++s) {
      const uint8_t* line = dib.ScanLine(s * kCake.rows_per_slice);
      rows.emplace_back(line, line + kCakeColumns);
    }
    return rows;
  }
  // The brightest entry of row within `reach` of `column`.
  static int32_t brightest_near(const std::vector<double>& row, int32_t column, int32_t reach) {
    const auto first = row.begin() + std::max(0, column - reach);
    const auto last = row.begin() + std::min(int32_t(row.size()), column + reach + 1);
    return int32_t(std::max_element(first, last) - row.begin());
  }
  static double maximum(const Rows& rows) {
    double m = 0;
    for (const auto& r : rows) m = std::max(m, *std::max_element(r.begin(), r.end()));
    return m;
  }

  TempDir dir;
};

TEST_F(CakePeerTest, RingsPeakInPyFaisRadialBinInEverySlice) {
  KESTRIN_REQUIRE_PEER("pyFAI");
  // Rings on pyFAI's own 2theta map, written by fabio as a 16-bit TIFF and read by our
  // loader; the pixels are not square, so the rows' distances are scaled. The camera length
  // makes the rings about 4 pixels wide: the cake's two samples per column and pyFAI's
  // mean over the column's 2 pixels then see the same profile.
  const RingGeometry g{500, 460, 250.3, 229.6, 450, 0.1, 0.11, 0, 0};
  const double distances[] = {120, 200};
  std::string rings;
  for (double d : distances)
    rings += (rings.empty() ? "" : ",") + Format("%.6f", {std::atan(d * g.pixel_x / g.Lo) / kDegToRad});
  const std::string tiff = dir.file("rings.tif");
  std::vector<std::string> args;
  for (const std::string& a : geometry_args(g)) args.push_back(a);
  args.push_back(tiff + "=" + rings);
  run_peer("peers/pyfai_ring_tiffs.py", args);
  load_img_proc(tiff);
  ASSERT_EQ(current_image().NoImageFlag, 0);
  const Rows ours = our_cake(g), theirs = their_cake(tiff, g);
  ASSERT_EQ(theirs.size(), 32u);
  const double their_max = maximum(theirs);
  for (int32_t s = 0; s < 32; ++s) {
    ASSERT_EQ(theirs[size_t(s)].size(), 800u);
    for (double d : distances) {
      const int32_t c = brightest_near(theirs[size_t(s)], int32_t(d / 2), 10);
      const int32_t ours_at = brightest_near(ours[size_t(s)], int32_t(d / 2), 10);
      EXPECT_LE(std::abs(ours_at - c), 1) << "slice " << s << " ring " << d;
      // The ring's top and its sum over the columns round it, each scaled to its own
      // brightest drawn value: the two cakes weigh the slices and rings alike.
      const std::vector<double>& mine = ours[size_t(s)];
      const std::vector<double>& their = theirs[size_t(s)];
      EXPECT_NEAR(mine[size_t(ours_at)], 255 * their[size_t(c)] / their_max, 3) << "slice " << s << " ring " << d;
      double my_sum = 0, their_sum = 0;
      for (int32_t i = int32_t(d / 2) - 12; i <= int32_t(d / 2) + 12; ++i) {
        my_sum += mine[size_t(i)];
        their_sum += 255 * their[size_t(i)] / their_max;
      }
      EXPECT_NEAR(my_sum / their_sum, 1.0, 0.05) << "slice " << s << " ring " << d;
    }
  }
}

TEST_F(CakePeerTest, ArcsLightTheSameSlicesAsInPyFai) {
  KESTRIN_REQUIRE_PEER("pyFAI");
  // Arcs at known azimuths (from +x towards the rows below the centre) pin the mapping of
  // slices to chi bins that the peer script uses.
  const RingGeometry g{300, 300, 150.3, 149.6, 80, 0.1, 0.1, 0, 0};
  RingImageSpec spec;
  spec.geometry = g;
  spec.background = 0;
  spec.rings = {{std::atan(100 * g.pixel_x / g.Lo) / kDegToRad, 0.15, 4000}};
  std::vector<uint16_t> codes = make_ring_image(spec);
  const std::pair<double, double> arcs[] = {{34, 43}, {50, 53}, {200, 208}};
  for (int32_t y = 0; y < g.height; ++y)
    for (int32_t x = 0; x < g.width; ++x) {
      double a = std::atan2(y - g.Y0, x - g.X0) / kDegToRad;
      if (a < 0) a += 360;
      if (std::none_of(std::begin(arcs), std::end(arcs), [&](const auto& arc) { return a >= arc.first && a <= arc.second; }))
        codes[size_t(x + g.width * y)] = 0;
    }
  const std::string raw = dir.file("arcs.raw");
  std::ofstream(raw, std::ios::binary).write(reinterpret_cast<const char*>(codes.data()), std::streamsize(codes.size() * 2));
  load_into_current_image(codes, g.width, g.height);
  const Rows ours = our_cake(g), theirs = their_cake(raw, g);
  ASSERT_EQ(theirs.size(), 32u);
  const double their_max = maximum(theirs);
  auto lit = [](const Rows& rows, double threshold) {
    std::vector<int32_t> slices;
    for (size_t s = 0; s < rows.size(); ++s)
      if (*std::max_element(rows[s].begin(), rows[s].end()) > threshold) slices.push_back(int32_t(s));
    return slices;
  };
  EXPECT_EQ(lit(ours, 0), (std::vector<int32_t>{3, 4, 18}));
  EXPECT_EQ(lit(theirs, their_max / 100), (std::vector<int32_t>{3, 4, 18}));
  for (int32_t s : {3, 4, 18})
    EXPECT_LE(std::abs(brightest_near(ours[size_t(s)], 50, 10) - brightest_near(theirs[size_t(s)], 50, 10)), 1) << s;
}

}  // namespace
}  // namespace kestrin::test
