// One mouse move of the image window's mask brush on a 10000 x 10000 image, as the window
// does it: paint the disc, render the 800 x 800 view from the levels and the mask, draw
// the overlays and copy the view into the paint box's picture; for pens of 8 and 256
// pixels, in the whole view and in a 1:1 view. The peer in the same run is PIL rendering
// the same view (bench/image_window/pil_view.py). Goal: a whole move at most 0.3 times
// PIL's render, so the brush keeps up with 60 moves a second.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <string>

#include "app/image_view_paint.h"
#include "base/convert.h"
#include "commands/image_form_commands.h"
#include "image/image_store.h"
#include "model/state.h"
#include "platform/gui/qt_canvas.h"
#include "ports/ports.h"

namespace {

using namespace kestrin;

constexpr int32_t kSide = 10000, kView = 800;

// The image window's port over a picture of the view's size: the redraw the window does.
struct PictureWindow : ImageWindowPort {
  QImage picture{kView, kView, QImage::Format_ARGB32_Premultiplied};
  std::vector<uint32_t> view;
  void redraw_image() override {
    kgui::QtCanvas canvas(&picture);
    app::draw_part_view(canvas, view);
  }
};

PictureWindow& window() {
  static PictureWindow w;
  return w;
}

// The loaded image as a load leaves it: codes, display levels and a mask with every
// seventh pixel masked; the view 800 x 800; the centre and a band in view.
void prepare_image() {
  static bool done = false;
  if (done) return;
  done = true;
  ImageStore& img = current_image();
  img.set_size(kSide, kSide, 2);
  for (size_t i = 0; i < img.intensity_table.size(); ++i) img.intensity_table[i] = double(i);
  img.NoImageFlag = 0;
  SharedState& s = state();
  s.display_levels.width = s.display_levels.height = kSide;
  s.display_levels.level.resize(size_t(kSide) * kSide);
  for (size_t i = 0; i < s.display_levels.level.size(); ++i) s.display_levels.level[i] = uint8_t(i * 2654435761u >> 24);
  s.image_mask.resize(kSide, kSide);
  for (size_t i = 0; i < s.image_mask.bytes.size(); i += 7) s.image_mask.bytes[i] = 1;
  IntegrationParams& p = s.integration_params;
  p.X0 = p.Y0 = 4400, p.IntegrationMode = 0, p.RectAngleMode = 0, p.RectDirection = 4, p.band_width = 100;
  s.image_tools.MouseMode = 0;
  s.image_tools.left_held = true;
  Ports ports;
  ports.image_window = &window();
  install_ports(ports);
}

// Moves along a row of the view, so each move paints a new disc.
void BM_MaskMove(benchmark::State& st) {
  prepare_image();
  ImageView& v = state().image_view;
  v = ImageView{};
  v.ViewWidth = v.ViewHeight = kView;
  const bool whole = st.range(1) == 0;
  set_image_zoom(v, whole ? 0.0 : 1.0, kSide, kSide);
  v.ScrollX = v.ScrollY = whole ? 0 : 4000;
  state().image_tools.PenSize = int32_t(st.range(0));
  int32_t x = 100;
  for (auto _ : st) {
    image_mouse_move(x, 400);
    x = x >= 700 ? 100 : x + 3;
    benchmark::DoNotOptimize(window().picture.constBits());
  }
}

BENCHMARK(BM_MaskMove)
    ->ArgsProduct({{8, 256}, {0, 1}})
    ->ArgNames({"pen", "oneToOne"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Keeps each run's median real time in seconds under its full name ("BM_MaskMove/pen:8/oneToOne:0").
class Reporter : public benchmark::ConsoleReporter {
public:
  std::vector<std::pair<std::string, double>> medians;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (r.aggregate_name == "median")
        medians.emplace_back(r.run_name.function_name + "/" + r.run_name.args, r.GetAdjustedRealTime() / 1000.0);
    ConsoleReporter::ReportRuns(runs);
  }
};

// PIL's median render time of a view ("whole" or "part"), or a negative value.
double pil_seconds(const std::string& view) {
  const std::string script = std::string(KESTRIN_SOURCE_DIR) + "/bench/image_window/pil_view.py";
  std::FILE* p = popen(("/usr/bin/python3 '" + script + "' " + view + " 21").c_str(), "r");
  if (!p) return -1;
  char line[128] = {0};
  const bool got = std::fgets(line, sizeof line, p) != nullptr;
  const bool ok = pclose(p) == 0;
  return ok && got ? TryStrToFloat(std::string(line, std::strcspn(line, "\r\n"))).value_or(-1) : -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  Reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const std::map<std::string, double> pil = {{"whole", pil_seconds("whole")}, {"part", pil_seconds("part")}};
  int status = 0;
  for (const auto& [name, seconds] : reporter.medians) {
    const std::string view = name.find("oneToOne:1") != std::string::npos ? "part" : "whole";
    const double peer = pil.at(view);
    if (peer <= 0) {
      std::cout << name << ": PIL could not be timed (is python3-pil installed?)\n";
      status = 1;
      continue;
    }
    std::cout << Format("%s: %.2f ms, PIL render %.2f ms, ratio %.3f (goal: at most 0.30; the peer is a full-image PIL render, "
                        "not another viewer)",
                        {name, seconds * 1000, peer * 1000, seconds / peer})
              << '\n';
  }
  return status;
}
