// Both fitting engines against scipy on the same synthetic peaks: Levenberg-Marquardt
// against least_squares(method="lm"), CFDQR2 against a Poisson maximum-likelihood fit.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/cfdqr2.h"
#include "analysis/levenberg_marquardt.h"
#include "base/convert.h"
#include "fit_fixture.h"
#include "support/peak_profile.h"
#include "support/temp_dir.h"

namespace kestrin::test {
namespace {

// Runs the peer on one job; returns its output lines as numbers.
std::vector<std::vector<double>> run_peer(const std::string& kind, const std::vector<double>& x,
                                          const std::vector<double>& y, const std::vector<double>& start) {
  TempDir dir;
  const std::string job = dir.file("job.txt");
  std::ofstream(job) << fit_job_text(kind, x, y, start);
  std::string output;
  const std::string command =
      std::string(kPeerPython) + " " + KESTRIN_SOURCE_DIR + "/tests/analysis/peer/scipy_fit.py " + job + " 2>&1";
  EXPECT_EQ(run_command(command, &output), 0) << output;
  std::vector<std::vector<double>> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    lines.emplace_back();
    for (std::string w; words >> w;) lines.back().push_back(StrToFloat(w));
  }
  return lines;
}

// One peak on a sloped base (the profile is made in the loop: GCC 12 gives false
// may-be-uninitialized warnings on a table whose rows hold a vector inside a vector).
struct PeerCase {
  const char* name;
  PeakShape peak;
  double base, slope;
  std::vector<double> x, start;
  Profile profile() const { return Profile{{peak}, base, slope}; }
};

void expect_same_parameters(const std::vector<double>& ours, const std::vector<double>& theirs, const char* name) {
  ASSERT_EQ(ours.size(), theirs.size()) << name;
  for (size_t j = 0; j < ours.size(); ++j)
    EXPECT_NEAR(ours[j], theirs[j], 1e-6 * std::fabs(theirs[j])) << name << " parameter " << j;
}

// Pattern-sized peaks with noise on a sloped base, in pixels and in degrees.
TEST(FitPeer, LevenbergMarquardtMatchesScipyLeastSquares) {
  KESTRIN_REQUIRE_PEER("scipy");
  const std::vector<PeerCase> cases = {
      {"gauss pixels", {false, 5000, 812.4, 3.1}, 800, -0.3, axis(790, 1, 46), {4500, 811.8, 2.5, 700, 0}},
      {"lorentz pixels", {true, 5000, 812.4, 3.1}, 800, -0.3, axis(790, 1, 46), {4500, 811.8, 2.5, 700, 0}},
      {"gauss degrees", {false, 2500, 14.512, 0.06}, 300, 12, axis(14, 0.02, 51), {2200, 14.5, 0.08, 250, 0}},
      {"lorentz degrees", {true, 2500, 14.512, 0.06}, 300, 12, axis(14, 0.02, 51), {2200, 14.5, 0.08, 250, 0}},
  };
  const std::vector<int32_t> all = {0, 1, 2, 3, 4};
  uint32_t seed = 21;
  for (const PeerCase& c : cases) {
    const bool lorentzian = c.peak.lorentzian;
    const std::vector<double> y = noisy_values(c.profile(), c.x, seed++), sig(c.x.size(), 1.0);
    std::vector<double> a = c.start;
    ASSERT_EQ(mrqfit(FitPoints{c.x, y, sig}, a, all, lorentzian ? lorentz_model : gauss_model), 0) << c.name;
    const auto peer = run_peer(lorentzian ? "lm_lorentz" : "lm_gauss", c.x, y, c.start);
    ASSERT_EQ(peer.size(), 1u) << c.name;
    expect_same_parameters(a, peer[0], c.name);
  }
}

// Poisson counts of both profiles with base and slope, 60 to 500 points: the same maximum,
// a score of 0, and deviations within 20 % of the inverse Fisher information's.
TEST(FitPeer, Cfdqr2MatchesScipyPoissonMaximumLikelihood) {
  KESTRIN_REQUIRE_PEER("scipy");
  const std::vector<PeerCase> cases = {
      {"gauss 60", {false, 400, 129.3, 4.5}, 30, 0.05, axis(100, 1, 60), {350, 128.5, 5.5, 25, 0}},
      {"lorentz 200", {true, 900, 12.03, 0.11}, 60, 3, axis(10, 0.02, 200), {800, 12.0, 0.14, 50, 0}},
      {"gauss 500", {false, 250, 251.7, 30}, 15, 0.01, axis(0, 1, 500), {220, 248, 26, 12, 0}},
      {"lorentz 500", {true, 600, 240.2, 12}, 20, 0.02, axis(0, 1, 500), {520, 243, 10, 18, 0}},
  };
  uint32_t seed = 31;
  for (const PeerCase& c : cases) {
    const int32_t model = c.peak.lorentzian ? kCfdqr2Lorentzian : kCfdqr2Gaussian;
    const std::vector<double> y = poisson_counts(c.profile(), c.x, seed++);
    std::vector<double> a = c.start;
    const Cfdqr2Result r = CFDQR2(c.x, y, a, model);
    ASSERT_EQ(r.status, 0) << c.name << " " << r.message;
    const auto peer = run_peer(model == kCfdqr2Lorentzian ? "poisson_lorentz" : "poisson_gauss", c.x, y, c.start);
    ASSERT_EQ(peer.size(), 2u) << c.name;
    expect_same_parameters(a, peer[0], c.name);
    for (double s : scaled_score(c.x, y, a, r.deviations, model)) EXPECT_LT(std::fabs(s), 1e-3) << c.name;
    for (size_t j = 0; j < a.size(); ++j)
      EXPECT_NEAR(r.deviations[j], peer[1][j], 0.2 * peer[1][j]) << c.name << " deviation " << j;
  }
}

}  // namespace
}  // namespace kestrin::test
