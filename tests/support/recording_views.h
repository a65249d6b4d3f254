// Views for tests: what image and analysis code asked of the windows, each kind of request
// counted or listed, and the loader's view steps in their order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ports/views.h"

namespace kestrin::test {

struct GraphLine {
  int x1, y1, x2, y2;
  int32_t colour;
};

class RecordingViews : public Views {
public:
  void redraw_image() override { ++redraws; }
  void draw_nax_graph() override { ++graph_draws; }
  void show_form(std::string_view name) override {
    forms.emplace_back(name);
    calls.push_back("show_form " + std::string(name));
  }
  void image_loaded() override { calls.push_back("image_loaded"); }
  void show_peak_list() override { ++peak_lists; }
  void draw_graph_line(int x1, int y1, int x2, int y2, int32_t colour) override { lines.push_back({x1, y1, x2, y2, colour}); }

  int redraws = 0, graph_draws = 0, peak_lists = 0;
  std::vector<std::string> forms;
  std::vector<GraphLine> lines;
  // The loader's view steps in order: "image_loaded" and "show_form <name>".
  std::vector<std::string> calls;
};

}  // namespace kestrin::test
