// Shared set-up of the analysis tests: fresh state and ports, a recording of the views'
// calls, and builders of small patterns.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis_fixture.h"
#include "commands/headless_ports.h"
#include "model/state.h"
#include "ports/log.h"
#include "ports/ports.h"
#include "support/recording_views.h"

namespace kestrin::test {

// The analysis fixture with the recording views installed.
class PeakTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    install_ports(views.ports());
  }
  void TearDown() override {
    reset_headless_ports();
    AnalysisTest::TearDown();
  }
  RecordingViews views;
};

// Makes y the current pattern of the given kind.
inline void set_pattern(const std::vector<int32_t>& y, PatternKind kind) {
  NaxPattern& p = state().nax_pattern;
  std::fill(p.values.begin(), p.values.end(), 0);
  std::copy(y.begin(), y.end(), p.values.begin());
  p.N = int32_t(y.size());
  p.maximum = 0;
  for (int32_t v : y) p.maximum = std::max(p.maximum, v);
  p.set_kind(kind);
}

// n points of a Gaussian of the given height and width at centre, on a flat base.
inline std::vector<int32_t> gaussian_pattern(int n, double centre, double height, double sigma, int base = 0) {
  std::vector<int32_t> y(static_cast<size_t>(n), 0);
  for (int i = 0; i < n; ++i) {
    const double t = (i - centre) / sigma;
    y[size_t(i)] = base + int32_t(std::lround(height * std::exp(-0.5 * t * t)));
  }
  return y;
}

// A pixel pattern of 200 points with Gaussian peaks of height 10000 at the centres, on a
// flat base of 50.
inline void set_peaked_pixel_pattern(const std::vector<double>& centres) {
  std::vector<int32_t> y(200, 50);
  for (double c : centres) {
    const auto g = gaussian_pattern(200, c, 10000, 3.0);
    for (size_t i = 0; i < y.size(); ++i) y[i] += g[i];
  }
  set_pattern(y, kPixelHistogram);
}

}  // namespace kestrin::test
