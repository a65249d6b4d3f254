// Box integration of large ring images, single-threaded and on all threads. With
// "--write-image SIDE PATH" it only writes the image of that side as raw 16-bit pixels
// (for the pyFAI run of run_integration_bench.sh) and prints its geometry.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "analysis/angle_histogram.h"
#include "analysis/lanes.h"
#include "base/convert.h"
#include "image/image_store.h"
#include "model/headless_ports.h"
#include "model/state.h"
#include "ports/names/main_form_names.h"
#include "ports/ports.h"
#include "support/ring_image.h"

namespace {

using namespace kestrin;

// Geometry of a SIDE x SIDE image reaching about 30 degrees in its corners.
test::RingImageSpec spec_for(int side) {
  test::RingImageSpec spec;
  spec.geometry.width = spec.geometry.height = side;
  spec.geometry.X0 = side / 2.0 - 0.3;
  spec.geometry.Y0 = side / 2.0 + 0.2;
  spec.geometry.pixel_x = spec.geometry.pixel_y = 0.1;
  spec.geometry.Lo = side * 0.1 * 1.2;
  spec.geometry.Phi = 2;
  spec.geometry.Beta = 30;
  spec.rings = {{5, 0.05, 3000}, {11, 0.05, 2000}, {17, 0.08, 1500}, {23, 0.08, 1000}};
  spec.background = 50;
  return spec;
}

std::vector<uint16_t> ring_codes(int side) { return test::make_ring_image(spec_for(side)); }

void load(int side) {
  static int loaded = 0;
  if (loaded == side) return;
  const test::RingImageSpec spec = spec_for(side);
  reset_headless_ports();
  test::load_into_current_image(ring_codes(side), side, side);
  Controls& c = controls();
  const test::RingGeometry& g = spec.geometry;
  c.set_text(frmMain::edtCenterX0, FloatToStr(g.X0));
  c.set_text(frmMain::edtCenterY0, FloatToStr(g.Y0));
  c.set_text(frmMain::edtCameraLength, FloatToStr(g.Lo));
  c.set_text(frmMain::edtPixelX, FloatToStr(g.pixel_x));
  c.set_text(frmMain::edtPixelY, FloatToStr(g.pixel_y));
  c.set_text(frmMain::edtPhi, FloatToStr(g.Phi));
  c.set_text(frmMain::edtBeta, FloatToStr(g.Beta));
  c.set_text(frmMain::edt2ThetaBegin, "0");
  c.set_text(frmMain::edt2ThetaStep, "0.01");
  c.set_checked(frmMain::rbtnRectangle, true);
  c.set_item_index(frmMain::cmbDirection, 6);
  loaded = side;
}

void BM_BoxIntegration(benchmark::State& st) {
  const int side = int(st.range(0));
  const int threads = int(st.range(1));
  load(side);
  set_worker_threads(threads);
  the_log().set_listener([](const std::string&) {});
  for (auto _ : st) {
    calc_angle_histogram();
    benchmark::DoNotOptimize(state().nax_pattern.values.data());
  }
  st.counters["points"] = state().nax_pattern.N;
  st.counters["threads"] = worker_threads();
  set_worker_threads(0);
}

void box_args(benchmark::internal::Benchmark* b) {
  const int all = int(std::max(1u, std::thread::hardware_concurrency()));
  for (int side : {4096, 10000})
    for (int threads : {1, all}) b->Args({side, threads});
}
BENCHMARK(BM_BoxIntegration)->Apply(box_args)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

int write_image(int side, const char* path) {
  const std::vector<uint16_t> codes = ring_codes(side);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(codes.data()), std::streamsize(codes.size() * sizeof(uint16_t)));
  const test::RingGeometry g = spec_for(side).geometry;
  std::printf("%s %s %s %s %s %s %s\n", FloatToStr(g.X0).c_str(), FloatToStr(g.Y0).c_str(), FloatToStr(g.Lo).c_str(),
              FloatToStr(g.pixel_x).c_str(), FloatToStr(g.pixel_y).c_str(), FloatToStr(g.Phi).c_str(),
              FloatToStr(g.Beta).c_str());
  return out ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--write-image") == 0) return write_image(std::atoi(argv[2]), argv[3]);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
