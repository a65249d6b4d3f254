// Window ports for tests: what Qt-free code asked of the windows, each kind of request
// counted or listed, and the windows shown and the image window's load steps in order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ports/names/cake_form_names.h"
#include "ports/names/image_form_names.h"
#include "ports/names/log_window_names.h"
#include "ports/names/nax_graph_names.h"
#include "ports/names/peak_form_names.h"
#include "ports/ports.h"

namespace kestrin::test {

struct GraphLine {
  int x1, y1, x2, y2;
  int32_t colour;
};

class RecordingViews {
public:
  // The window ports, recording into this object; other members of `with` are kept.
  Ports ports(Ports with = {}) {
    with.log_window = &log_;
    with.image_window = &image_;
    with.graph_window = &graph_;
    with.peak_window = &peak_;
    with.cake_window = &cake_;
    return with;
  }

  int redraws = 0, graph_draws = 0, peak_lists = 0, cake_draws = 0;
  std::vector<std::string> forms;  // the windows shown, by form name
  std::vector<GraphLine> lines;
  // The image window's steps and the windows shown, in order: "image_loaded" and
  // "show_form <name>".
  std::vector<std::string> calls;

private:
  void shown(std::string_view form) {
    forms.emplace_back(form);
    calls.push_back("show_form " + std::string(form));
  }

  struct Log : LogWindowPort {
    RecordingViews* r;
    explicit Log(RecordingViews* owner) : r(owner) {}
    void show() override { r->shown(frmLog::form); }
  } log_{this};
  struct Image : ImageWindowPort {
    RecordingViews* r;
    explicit Image(RecordingViews* owner) : r(owner) {}
    void show() override { r->shown(frmImage::form); }
    void redraw_image() override { ++r->redraws; }
    void image_loaded() override { r->calls.push_back("image_loaded"); }
  } image_{this};
  struct Graph : GraphWindowPort {
    RecordingViews* r;
    explicit Graph(RecordingViews* owner) : r(owner) {}
    void show() override { r->shown(frmNaxGraph::form); }
    void draw_nax_graph() override { ++r->graph_draws; }
    void draw_graph_line(int x1, int y1, int x2, int y2, int32_t colour) override {
      r->lines.push_back({x1, y1, x2, y2, colour});
    }
  } graph_{this};
  struct Peak : PeakWindowPort {
    RecordingViews* r;
    explicit Peak(RecordingViews* owner) : r(owner) {}
    void show() override { r->shown(frmPeak::form); }
    void show_peak_list() override { ++r->peak_lists; }
  } peak_{this};
  struct Cake : CakeWindowPort {
    RecordingViews* r;
    explicit Cake(RecordingViews* owner) : r(owner) {}
    void show() override { r->shown(frmCake::form); }
    void draw_cake() override { ++r->cake_draws; }
  } cake_{this};
};

}  // namespace kestrin::test
