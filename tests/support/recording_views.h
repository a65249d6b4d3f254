// Window ports for tests: what Qt-free code asked of the windows, each kind of request
// counted or listed, and the windows shown and the image window's load steps in order.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ports/names/cake_form_names.h"
#include "ports/names/image_form_names.h"
#include "ports/names/log_window_names.h"
#include "ports/names/mask_form_names.h"
#include "ports/names/nax_graph_names.h"
#include "ports/names/peak_fitting_form_names.h"
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
    with.mask_window = &mask_;
    with.fit_window = &fit_;
    with.cake_window = &cake_;
    return with;
  }

  int redraws = 0, graph_draws = 0, peak_lists = 0, fit_results = 0, cake_draws = 0;
  // The image window: overlay repaints, gauge draws, the scroll bars as last set (and every
  // position set, in order), the view sizes asked for and the caption.
  int repaints = 0, gauge_draws = 0;
  int scroll_x = 0, scroll_y = 0, scroll_max_x = 0, scroll_max_y = 0, large_x = 0, large_y = 0;
  std::vector<std::pair<int, int>> scroll_moves;
  std::vector<std::pair<int, int>> view_sizes;
  std::string caption;
  std::vector<std::string> forms;  // the windows shown, by form name
  std::vector<GraphLine> lines;
  // The image window's steps and the windows shown, in order: "image_loaded" and
  // "show_form <name>".
  std::vector<std::string> calls;
  // The mask window: the grids as last shown, the materials listed, and the cells the ring
  // grid answers with (the user's edits); empty until a test sets them.
  GridTexts ring_rows, miller_rows, ring_cells;
  std::vector<std::string> materials;

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
    void repaint_image_view() override { ++r->repaints; }
    void image_loaded() override { r->calls.push_back("image_loaded"); }
    void set_scroll_positions(int32_t x, int32_t y) override {
      r->scroll_x = x, r->scroll_y = y;
      r->scroll_moves.emplace_back(x, y);
    }
    void set_scroll_ranges(int32_t max_x, int32_t max_y, int32_t large_x, int32_t large_y) override {
      r->scroll_max_x = max_x, r->scroll_max_y = max_y, r->large_x = large_x, r->large_y = large_y;
    }
    void draw_gradation_gauge() override { ++r->gauge_draws; }
    void set_view_size(int32_t w, int32_t h) override { r->view_sizes.emplace_back(w, h); }
    void set_caption(const std::string& c) override { r->caption = c; }
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
  struct Mask : MaskWindowPort {
    RecordingViews* r;
    explicit Mask(RecordingViews* owner) : r(owner) {}
    void show() override { r->shown(frmMask::form); }
    void show_ring_grid(const GridTexts& rows) override { r->ring_rows = rows; }
    GridTexts ring_grid() const override { return r->ring_cells; }
    void show_materials(const std::vector<std::string>& names) override { r->materials = names; }
    void show_miller_grid(const GridTexts& rows) override { r->miller_rows = rows; }
  } mask_{this};
  struct Fit : FitWindowPort {
    RecordingViews* r;
    explicit Fit(RecordingViews* owner) : r(owner) {}
    void show() override { r->shown(frmPeakFitting::form); }
    void show_fit_results() override { ++r->fit_results; }
  } fit_{this};
};

}  // namespace kestrin::test
