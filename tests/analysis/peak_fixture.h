// Shared set-up of the analysis tests: fresh state and ports, a recording of the views'
// calls, and builders of small patterns.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis_fixture.h"
#include "image/state.h"
#include "ports/log.h"
#include "ports/ports.h"

namespace kestrin::test {

struct GraphLine {
  int x1, y1, x2, y2;
  int32_t colour;
};

// Views that remember what they were asked to do.
class RecordingViews : public Views {
public:
  void redraw_image() override { ++redraws; }
  void draw_nax_graph() override { ++graph_draws; }
  void show_form(std::string_view name) override { forms.emplace_back(name); }
  void show_peak_list() override { ++peak_lists; }
  void draw_graph_line(int x1, int y1, int x2, int y2, int32_t colour) override { lines.push_back({x1, y1, x2, y2, colour}); }
  int redraws = 0, graph_draws = 0, peak_lists = 0;
  std::vector<std::string> forms;
  std::vector<GraphLine> lines;
};

// The analysis fixture with the recording views installed.
class PeakTest : public AnalysisTest {
protected:
  void SetUp() override {
    AnalysisTest::SetUp();
    install_ports(nullptr, &views, nullptr);
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

}  // namespace kestrin::test
