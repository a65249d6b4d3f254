// The spot search against its numpy transcription (box sums from cumulative sums): the same
// candidates and the same spots, to the last bit, on seeded frames.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "analysis/spot_search.h"
#include "base/report.h"
#include "analysis_fixture.h"
#include "base/convert.h"
#include "support/spot_image.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

using SpotSearchPeerTest = AnalysisTest;

TEST_F(SpotSearchPeerTest, CandidatesAndSpotsEqualNumpys) {
  KESTRIN_REQUIRE_PEER("numpy");
  struct Case {
    uint32_t seed;
    SpotScan scan;
  };
  const Case cases[] = {
      {21, {1, 9, 1.3, 0.2, 4, 0, 0, 300, 200}},
      {22, {2, 6, 1.2, 0.3, 3, 10, 5, 290, 190}},
      {23, {0, 9, 1.5, 0.25, 8, 0, 0, 300, 200}},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SpotImageSpec spec;
    spec.width = 300;
    spec.height = 200;
    spec.spots = 80;
    spec.seed = c.seed;
    const std::vector<uint16_t> codes = make_spot_image(spec);
    const std::string raw = dir.file("spots.raw");
    std::ofstream(raw, std::ios::binary).write(reinterpret_cast<const char*>(codes.data()), std::streamsize(codes.size() * 2));
    const SpotScan& s = c.scan;
    std::ostringstream cmd;
    cmd << kPeerPython << " " << KESTRIN_SOURCE_DIR << "/tests/analysis/peer/numpy_spot_search.py " << raw << " "
        << spec.width << " " << spec.height << " " << s.s << " " << s.b << " " << FloatToStr(s.ratio) << " "
        << FloatToStr(s.tolerance) << " " << s.d << " " << s.x0 << " " << s.y0 << " " << s.x1 << " " << s.y1
        << " 2>&1";
    std::string output;
    ASSERT_EQ(run_command(cmd.str(), &output), 0) << output;

    std::vector<SpotCandidate> their_candidates;
    std::vector<std::array<double, 3>> their_spots;
    std::istringstream in(output);
    for (std::string kind; in >> kind;) {
      if (kind == "C") {
        SpotCandidate p;
        in >> p.x >> p.y;
        their_candidates.push_back(p);
      } else {
        std::string x, y, v;
        in >> x >> y >> v;
        their_spots.push_back({StrToFloat(x), StrToFloat(y), StrToFloat(v)});
      }
    }
    load_into_current_image(codes, spec.width, spec.height);
    EXPECT_EQ(find_spot_candidates(current_image(), s), their_candidates) << c.seed;
    EXPECT_GT(their_candidates.size(), 40u);
    Report report;
    spot_search(spec.width, s.s, s.b, s.ratio, s.tolerance, s.d, s.x0, s.y0, s.x1, s.y1, report);
    const SpotList& l = state().spot_list;
    ASSERT_EQ(size_t(l.SpotCount), their_spots.size()) << c.seed;
    for (size_t i = 0; i < their_spots.size(); ++i) {
      EXPECT_EQ(l.SpotX[i], their_spots[i][0]) << c.seed << " spot " << i;
      EXPECT_EQ(l.SpotY[i], their_spots[i][1]) << c.seed << " spot " << i;
      EXPECT_EQ(l.SpotIntensity[i], their_spots[i][2]) << c.seed << " spot " << i;
    }
  }
}

}  // namespace
}  // namespace kestrin::test
