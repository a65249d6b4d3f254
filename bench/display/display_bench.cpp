// Redraw of the image view of a 10000 x 10000 image into an 800 x 800 view: whole view and a
// 1:1 part view, mask included (the view must stay interactive while the mask is painted).
// Goal: under 20 ms per redraw on one core.
#include <benchmark/benchmark.h>

#include <vector>

#include "image/display/display.h"

namespace {

using namespace kestrin;

struct Scene {
  std::vector<uint8_t> levels, mask;
  Scene() : levels(size_t(10000) * 10000), mask(size_t(10000) * 10000) {
    for (size_t i = 0; i < levels.size(); ++i) levels[i] = uint8_t(i * 2654435761u >> 24);
    for (size_t i = 0; i < mask.size(); i += 7) mask[i] = 1;
  }
};

Scene& scene() {
  static Scene s;
  return s;
}

void redraw(benchmark::State& st, double zoom) {
  Scene& s = scene();
  ImageView v;
  v.ViewWidth = v.ViewHeight = 800;
  set_image_zoom(v, zoom, 10000, 10000);
  auto pal = image_palette(false, false);
  auto mpal = mask_palette(0x008000);
  std::vector<uint32_t> out;
  for (auto _ : st) {
    render_image_view(s.levels, s.mask, 10000, 10000, v, zoom == 0 ? 0 : 4000, zoom == 0 ? 0 : 4000, pal, mpal, out);
    benchmark::DoNotOptimize(out.data());
  }
}

void BM_RedrawWholeView(benchmark::State& st) { redraw(st, 0.0); }
void BM_RedrawPartView(benchmark::State& st) { redraw(st, 1.0); }
BENCHMARK(BM_RedrawWholeView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawPartView)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
