// The canvas on a bitmap's pixels: in place for 24 bits, through a colour copy for indexed
// bitmaps.
#include "app/ksdib_canvas.h"

#include <climits>
#include <unordered_map>

#include "base/runtime_errors.h"
#include "image/display/dib_depth.h"
#include "image/display/ksdib.h"

namespace kestrin::app {

namespace {

QRgb rgb_of(const RGBQuad& q) { return qRgb(q.red, q.green, q.blue); }

// Palette indices for colours: the first entry of exactly the colour, else the entry of the
// least squared distance (the lowest index among equals), as the platform's devices choose.
class NearestIndex {
public:
  explicit NearestIndex(const TKsDIB& dib) : used_(std::max(1, dib.PaletteSize())), colors_(dib.internal().colors) {}
  uint8_t operator()(QRgb c) {
    const auto known = cache_.find(c);
    if (known != cache_.end()) return known->second;
    int best = 0;
    long best_distance = LONG_MAX;
    for (int i = 0; i < used_ && best_distance > 0; ++i) {
      const RGBQuad& q = colors_[size_t(i)];
      const long dr = qRed(c) - q.red, dg = qGreen(c) - q.green, db = qBlue(c) - q.blue;
      const long distance = dr * dr + dg * dg + db * db;
      if (distance < best_distance) best = i, best_distance = distance;
    }
    return cache_[c] = uint8_t(best);
  }

private:
  int used_;
  const std::array<RGBQuad, 256>& colors_;
  std::unordered_map<QRgb, uint8_t> cache_;
};

}  // namespace

TKsDIBCanvas::TKsDIBCanvas(TKsDIB* dib) : kgui::QtCanvas(static_cast<QImage*>(nullptr)), dib_(dib) {
  if (!dib || !dib->UseFMO()) throw EKsDIBCanvasFailed("TKsDIBCanvas.Create: Cannot Create Canvas");
  dib->UniqueDIB();
  const BitmapInfoHeader& h = dib->internal().header;
  if (h.biCompression != BI_RGB) throw EOutOfResources("TKsDIBCanvas.Create: Cannot Create Memory DC");
  const int width = dib->Width(), height = dib->Height();
  if (h.biBitCount == 24) {
    // Qt paints rows top-down; a bottom-up bitmap is stored top-down while the canvas lives.
    restore_bottom_up_ = h.biHeight > 0;
    dib->SetTopDown(true);
    image_ = QImage(dib->ScanLine(0), width, height, dib->Stride(), QImage::Format_BGR888);
  } else {
    indexed_ = true;
    image_ = QImage(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
      const uint8_t* row = dib->ScanLine(y);
      auto* out = reinterpret_cast<QRgb*>(image_.scanLine(y));
      for (int x = 0; x < width; ++x) out[x] = rgb_of(dib->internal().colors[indexed_pixel(row, x, h.biBitCount)]);
    }
  }
  setImage(&image_);
}

void TKsDIBCanvas::write_back_indices() {
  NearestIndex nearest(*dib_);
  const int bits = dib_->BitCount();
  const auto& colors = dib_->internal().colors;
  for (int y = 0; y < dib_->Height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
    uint8_t* row = dib_->ScanLine(y);
    for (int x = 0; x < dib_->Width(); ++x) {
      const QRgb painted = in[x] | 0xFF000000u;
      if (painted != rgb_of(colors[indexed_pixel(row, x, bits)])) set_indexed_pixel(row, x, bits, nearest(painted));
    }
  }
}

TKsDIBCanvas::~TKsDIBCanvas() {
  setImage(nullptr);
  try {
    if (indexed_) write_back_indices();
    if (restore_bottom_up_) dib_->SetTopDown(false);
    dib_->UpdatePaletteModified();
    dib_->Changed();
  } catch (const std::exception&) {
    // Only a broken precondition (the bitmap shared or replaced meanwhile) gets here; a
    // destructor must not throw.
  }
}

}  // namespace kestrin::app
