// Full redraws of the pattern graph into a 1000 x 700 picture: a 36001-point 2theta pattern
// with 500 peak marks and 50 fitted peaks, and a 16-sector pattern of 16 x 36001 points; and a
// zoom drag's mouse move on the graph window, which repaints the rubber band only. matplotlib
// draws the same scenes in the same run; the program prints the time ratios and the goals.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "../common/median_reporter.h"
#include "app/nax_graph_form.h"
#include "app/window_ports.h"
#include "base/convert.h"
#include "commands/graph_draw.h"
#include "commands/nax_graph_commands.h"
#include "model/state.h"
#include "platform/gui/app.h"
#include "platform/gui/qt_canvas.h"
#include "ports/names/main_form_names.h"
#include "ports/names/nax_graph_names.h"
#include "ports/ports.h"

namespace {

using namespace kestrin;

constexpr int kWidth = 1000, kHeight = 700;
constexpr int kPoints = 36001, kPeaks = 500, kFits = 50, kSectors = 16;
constexpr double kBegin = 1.0, kStep = 0.001;
constexpr int kSpacing = kPoints / kPeaks;  // 72 points between peaks

// A pattern of 500 Lorentzian peaks on a base of 1000.
std::vector<int32_t> pattern_values() {
  std::vector<int32_t> y(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    const int k = i / kSpacing;
    const double u = (i - (k * kSpacing + kSpacing / 2)) / 6.0;
    y[size_t(i)] = int32_t(1000 + (8000 + 37 * (k % 300)) / (1 + u * u));
  }
  return y;
}

void set_ranges(const char* x0, const char* x1, const char* y1) {
  controls().set_text(frmMain::edt2ThetaBegin, "1.0");
  controls().set_text(frmMain::edt2ThetaStep, "0.001");
  controls().set_text(frmNaxGraph::edt2ThetaBegin, "1.0");
  controls().set_text(frmNaxGraph::edt2ThetaEnd, "37.0");
  controls().set_text(frmNaxGraph::edtXBegin, x0);
  controls().set_text(frmNaxGraph::edtXEnd, x1);
  controls().set_text(frmNaxGraph::edtYBegin, "0");
  controls().set_text(frmNaxGraph::edtYEnd, y1);
}

// The 2theta pattern with a peak in the table at each top and the first 50 fitted.
void single_scene() {
  NaxPattern& p = state().nax_pattern;
  const std::vector<int32_t> y = pattern_values();
  std::copy(y.begin(), y.end(), p.values.begin());
  p.N = kPoints;
  p.maximum = *std::max_element(y.begin(), y.end());
  p.set_kind(kAngleHistogram);
  PeakTable& t = state().peak_table;
  FitTables& f = state().fit_tables;
  for (int k = 0; k < kPeaks; ++k) {
    const int top = k * kSpacing + kSpacing / 2;
    t.two_theta[size_t(k)] = kBegin + top * kStep;
    t.intensity[size_t(k)] = y[size_t(top)];
    if (k < kFits) {
      const double pos = t.two_theta[size_t(k)];
      f.fitted[size_t(k)] = FitRecord{1, y[size_t(top)] - 1000.0, pos, 6 * kStep, 1000.0, 0.0,
                                      pos - 10 * kStep, pos + 10 * kStep, 0};
    }
  }
  t.count = kPeaks;
  f.count = kFits;
  set_ranges("0", "36000", "10000");
}

void sector_scene() {
  const std::vector<int32_t> y = pattern_values();
  SectorPatterns& sp = state().sector_patterns;
  sp.allocate(kSectors);
  for (SectorPattern& s : sp.sectors) {
    std::copy(y.begin(), y.end(), s.pattern.begin());
    s.last_point = kPoints;
  }
  state().peak_table.count = 0;
  state().fit_tables.count = 0;
  NaxPattern& p = state().nax_pattern;
  p.N = kPoints;
  p.maximum = *std::max_element(y.begin(), y.end());
  p.set_kind(kSector16Pixel);
  set_ranges("0", "36000", std::to_string(5 * p.maximum).c_str());
}

void draw_scene(benchmark::State& st, void (*scene)()) {
  scene();
  QImage picture(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
  kgui::QtCanvas canvas(&picture);
  set_graph_size_for_picture(kWidth, kHeight);
  for (auto _ : st) {
    draw_nax_graph(canvas, kWidth, kHeight);
    benchmark::DoNotOptimize(picture.constBits());
  }
}

void BM_FullRedraw(benchmark::State& st) { draw_scene(st, single_scene); }
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_SixteenSectors(benchmark::State& st) { draw_scene(st, sector_scene); }
BENCHMARK(BM_SixteenSectors)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void send(QWidget* w, QEvent::Type type, int x, int y, Qt::MouseButton b, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), b, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// One mouse move of a middle-button drag on the window and the repaint it asks for.
void BM_DragMove(benchmark::State& st) {
  single_scene();
  auto* form = static_cast<kgui::TApplication*>(kgui::TApplication::instance())->createForm<app::TfrmNaxGraph>();
  form->setBounds(0, 0, kWidth + 30, kHeight + 210);
  form->FormResize();
  form->showForm();
  form->tmrLayout->setEnabled(false);  // laid out above: no redraw later inside the timing
  for (int i = 0; i < 10; ++i) QApplication::processEvents();  // until the window is exposed
  QWidget* picture = form->imgNaxGraph->widget();

  send(picture, QEvent::MouseButtonPress, 100, 100, Qt::MiddleButton, Qt::MiddleButton);
  int i = 0;
  for (auto _ : st) {
    ++i;
    send(picture, QEvent::MouseMove, 200 + i % 500, 150 + i % 300, Qt::NoButton, Qt::MiddleButton);
    QApplication::processEvents();  // the repaint it asked for
  }
  send(picture, QEvent::MouseButtonRelease, 200, 150, Qt::MiddleButton, Qt::NoButton);

  delete form;
}
BENCHMARK(BM_DragMove)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The scene for matplotlib: begin, step, points, sectors and their offset; the values; the
// marks (position, intensity); the fitted peaks (amplitude, position, half width, base, window).
void write_scene(const std::string& path) {
  single_scene();
  std::ofstream out(path);
  const std::vector<int32_t> y = pattern_values();
  out << kBegin << ' ' << kStep << ' ' << kPoints << ' ' << kSectors << ' ' << (5.0 * state().nax_pattern.maximum) / 20
      << '\n';
  for (int32_t v : y) out << v << ' ';
  out << '\n';
  const PeakTable& t = state().peak_table;
  for (int k = 0; k < kPeaks; ++k) out << t.two_theta[size_t(k)] << ' ' << t.intensity[size_t(k)] << '\n';
  for (int k = 0; k < kFits; ++k) {
    const FitRecord& r = state().fit_tables.fitted[size_t(k)];
    out << r.amplitude << ' ' << r.position << ' ' << r.half_width << ' ' << r.base << ' ' << r.window_start << ' '
        << r.window_end << '\n';
  }
}

// matplotlib's seconds for the single scene and the sectors; empty when it fails.
std::vector<double> matplotlib_seconds(const std::string& scene) {
  const std::string script = std::string(KESTRIN_SOURCE_DIR) + "/bench/graph/matplotlib_graph.py";
  std::FILE* p = popen(("/usr/bin/python3 '" + script + "' '" + scene + "' 5 2>/dev/null").c_str(), "r");
  if (!p) return {};
  std::vector<double> seconds;
  char line[128];
  while (std::fgets(line, sizeof line, p)) seconds.push_back(TryStrToFloat(std::string(line, strcspn(line, "\r\n"))).value_or(-1));
  if (pclose(p) != 0 || seconds.size() != 2 || seconds[0] <= 0 || seconds[1] <= 0) return {};
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  kgui::TApplication app(argc, argv);
  app::install_window_ports();
  state().WindowShow = 0;
  benchmark::Initialize(&argc, argv);
  bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const std::string scene = std::filesystem::temp_directory_path().string() + "/kestrin_graph_scene.txt";
  write_scene(scene);
  const std::vector<double> peer = matplotlib_seconds(scene);
  std::filesystem::remove(scene);
  if (peer.empty()) {
    std::cout << "matplotlib could not be timed (is python3-matplotlib installed?)\n";
    return 1;
  }
  for (const auto& [name, seconds] : reporter.medians) {
    if (name == "BM_DragMove") {
      std::cout << Format("drag move (rubber band repainted): %.3f ms (goal: under 1 ms)", {seconds * 1000}) << '\n';
      continue;
    }
    const bool sectors = name == "BM_SixteenSectors";
    const double theirs = sectors ? peer[1] : peer[0];
    std::cout << Format("%s: %.2f ms; matplotlib %.2f ms; ratio %.3f (goal: at most %.3f)",
                        {sectors ? "16 sectors" : "full redraw", seconds * 1000, theirs * 1000, seconds / theirs,
                         sectors ? 0.2 : 0.125})
              << '\n';
  }
  return 0;
}
