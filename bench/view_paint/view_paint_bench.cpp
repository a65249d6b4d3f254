// Painting the image view of a 10000 x 10000 image with its mask into an 800 x 800 paint-box
// image: ours (render the view from the levels, copy it 1:1) against Qt scaling an 8-bit
// image of the whole picture and drawing the mask over it with exclusive or. Prints the
// ratio (Qt / ours) for the whole view and a 1:1 part view.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstdio>
#include <vector>

#include "image/display/display.h"
#include "platform/gui/qt_canvas.h"

namespace {

using namespace kestrin;

constexpr int kSide = 10000, kView = 800;

struct Scene {
  std::vector<uint8_t> levels, mask;
  Palette pal = image_palette(false, false), mpal = mask_palette(0x008000);
  Scene() : levels(size_t(kSide) * kSide), mask(size_t(kSide) * kSide) {
    for (size_t i = 0; i < levels.size(); ++i) levels[i] = uint8_t(i * 2654435761u >> 24);
    for (size_t i = 0; i < mask.size(); i += 7) mask[i] = 1;
  }
};

Scene& scene() {
  static Scene s;
  return s;
}

ImageView view_at(double zoom) {
  ImageView v;
  v.ViewWidth = v.ViewHeight = kView;
  set_image_zoom(v, zoom, kSide, kSide);
  return v;
}

void BM_Ours(benchmark::State& st) {
  Scene& s = scene();
  const double zoom = st.range(0) ? 1.0 : 0.0;
  ImageView v = view_at(zoom);
  const int origin = zoom == 0 ? 0 : 4000;
  QImage target(kView, kView, QImage::Format_ARGB32_Premultiplied);
  kgui::QtCanvas canvas(&target);
  std::vector<uint32_t> buffer;
  for (auto _ : st) {
    render_image_view(s.levels, s.mask, kSide, kSide, v, origin, origin, s.pal, s.mpal, buffer);
    canvas.drawRaster(0, 0, kgui::Raster32{kView, kView, kView, buffer.data()});
    benchmark::DoNotOptimize(target.constBits());
  }
}

// Qt draws the view's part of two Indexed8 images wrapping the levels and the mask.
void BM_QtScaled(benchmark::State& st) {
  Scene& s = scene();
  const double zoom = st.range(0) ? 1.0 : 0.0;
  ImageView v = view_at(zoom);
  const int origin = zoom == 0 ? 0 : 4000;
  QImage levels(s.levels.data(), kSide, kSide, kSide, QImage::Format_Indexed8);
  QImage mask(s.mask.data(), kSide, kSide, kSide, QImage::Format_Indexed8);
  QList<QRgb> pal(256), mpal(256);
  for (int i = 0; i < 256; ++i) {
    pal[i] = 0xFF000000u | to_rgb32(s.pal[size_t(i)]);
    mpal[i] = 0xFF000000u | to_rgb32(s.mpal[size_t(i)]);
  }
  levels.setColorTable(pal);
  mask.setColorTable(mpal);
  QImage target(kView, kView, QImage::Format_ARGB32_Premultiplied);
  const QRect source(origin, origin, v.DrawCols, v.DrawRows);
  const QRect dest(0, 0, int(v.DrawCols * v.Zoom), int(v.DrawRows * v.Zoom));
  for (auto _ : st) {
    QPainter p(&target);
    p.drawImage(dest, levels, source);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.drawImage(dest, mask, source);
    p.end();
    benchmark::DoNotOptimize(target.constBits());
  }
}

BENCHMARK(BM_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtScaled)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) times_[r.benchmark_name()] = r.GetAdjustedRealTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const char* arg : {"0", "1"}) {
      const double ours = times_[std::string("BM_Ours/") + arg], qt = times_[std::string("BM_QtScaled/") + arg + "/iterations:3"];
      if (ours > 0)
        std::printf("%s view: ours %.2f ms, Qt scaling %.2f ms, ratio Qt/ours %.1f\n", arg[0] == '0' ? "whole" : "1:1 part",
                    ours, qt, qt / ours);
    }
  }

private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
