// QtCanvas: the platform's drawing calls with QPainter, pixel-exact where it matters.
#include "platform/gui/qt_canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/gui/qt_convert.h"

namespace kgui {

QtCanvas::QtCanvas(QImage* image, std::function<void()> after_draw)
    : image_(image), after_draw_(std::move(after_draw)) {}

QtCanvas::QtCanvas(QPainter* painter) : painter_(painter) {}

static QPen qtPen(const TPen& p) {
  if (p.style == psClear) return QPen(Qt::NoPen);
  static const Qt::PenStyle styles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine,
                                        Qt::DashDotLine, Qt::DashDotDotLine};
  QPen pen(toQColor(p.color), std::max(1, p.width), styles[p.style]);
  pen.setCapStyle(Qt::SquareCap);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

void QtCanvas::withPainter(const std::function<void(QPainter&)>& fn) {
  if (painter_) {
    fn(*painter_);
  } else if (image_ && !image_->isNull()) {
    QPainter p(image_);
    fn(p);
  }
}

static void setUp(QPainter& p, const TPen& pen, const TBrush* brush) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(qtPen(pen));
  if (brush && brush->style == bsSolid) p.setBrush(toQColor(brush->color));
  else p.setBrush(Qt::NoBrush);
  if (pen.mode == pmXor) p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
}

void QtCanvas::paint(const std::function<void(QPainter&)>& fn, Fill fill) {
  flush();
  withPainter([&](QPainter& p) {
    p.save();
    setUp(p, pen(), fill == Fill::Brush ? &brush() : nullptr);
    fn(p);
    p.restore();
  });
  changed();
}

void QtCanvas::changed() {
  if (batch_depth_ > 0) changed_in_batch_ = true;
  else if (after_draw_) after_draw_();
}

// The platform leaves out a line's end point; Qt's cosmetic line includes it, so stop one short.
static QLine withoutEnd(TPoint a, TPoint b) {
  const int dx = b.x - a.x, dy = b.y - a.y;
  const int n = std::max(std::abs(dx), std::abs(dy));
  return QLine(QPoint(a.x, a.y), QPoint(a.x + (dx * (n - 1)) / n, a.y + (dy * (n - 1)) / n));
}

void QtCanvas::closeRun() {
  if (!run_.open) return;
  run_.open = false;
  // The points before the end are covered from lo to hi, and every pixel between them and the
  // end but the end itself.
  const int first = run_.end < run_.lo ? run_.end + 1 : run_.lo;
  const int last = run_.end > run_.hi ? run_.end - 1 : run_.hi;
  held_.emplace_back(QPoint(run_.x, first), QPoint(run_.x, last));
}

bool QtCanvas::scaled() const { return painter_ && painter_->worldTransform().isScaling(); }

void QtCanvas::hold(TPoint a, TPoint b) {
  if (scaled()) {
    held_.emplace_back(QPoint(a.x, a.y), QPoint(b.x, b.y));
    return;
  }
  if (run_.open && a.x == b.x && a.x == run_.x && a.y == run_.end) {
    run_.lo = std::min(run_.lo, a.y);
    run_.hi = std::max(run_.hi, a.y);
    run_.end = b.y;
    return;
  }
  closeRun();
  if (a.x == b.x && held_pen_.width <= 1) {
    run_ = Run{true, a.x, a.y, a.y, b.y};
    return;
  }
  held_.push_back(withoutEnd(a, b));
}

void QtCanvas::flush() {
  closeRun();
  if (held_.empty()) return;
  withPainter([&](QPainter& p) {
    p.save();
    setUp(p, held_pen_, nullptr);
    p.drawLines(held_.data(), int(held_.size()));
    p.restore();
  });
  held_.clear();
}

void QtCanvas::beginBatch() { ++batch_depth_; }

void QtCanvas::flushBatch() {
  flush();
  if (changed_in_batch_ && after_draw_) after_draw_();
  changed_in_batch_ = false;
}

void QtCanvas::endBatch() {
  if (batch_depth_ == 0 || --batch_depth_ > 0) return;
  flushBatch();
}

void QtCanvas::drawLine(TPoint a, TPoint b) {
  if (a.x == b.x && a.y == b.y) return;
  // Only solid copied lines are held: dashes and exclusive-or depend on each line's own start.
  if (batch_depth_ > 0 && pen().style == psSolid && pen().mode == pmCopy) {
    if ((!held_.empty() || run_.open) && !(held_pen_ == pen())) flush();
    held_pen_ = pen();
    hold(a, b);
    changed_in_batch_ = true;
    return;
  }
  const QLine line = scaled() ? QLine(QPoint(a.x, a.y), QPoint(b.x, b.y)) : withoutEnd(a, b);
  paint([&](QPainter& p) { p.drawLine(line); }, Fill::None);
}

void QtCanvas::rectangle(int x1, int y1, int x2, int y2) {
  paint([&](QPainter& p) {
    if (x2 - x1 < 1 || y2 - y1 < 1) return;
    // A 1-pixel pen outlines x1..x2-1; Qt's outline of QRect(x, y, w, h) spans w + 1.
    p.drawRect(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
  }, Fill::Brush);
}

void QtCanvas::fillRect(const TRect& r) {
  paint([&](QPainter& p) {
    if (brush().style == bsSolid)
      p.fillRect(QRect(r.left, r.top, r.width(), r.height()), toQColor(brush().color));
  }, Fill::None);
}

void QtCanvas::ellipse(int x1, int y1, int x2, int y2) {
  paint([&](QPainter& p) { p.drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1)); },
        Fill::Brush);
}

static QPolygon qtPolygon(const std::vector<TPoint>& points) {
  QPolygon poly;
  for (const auto& pt : points) poly << QPoint(pt.x, pt.y);
  return poly;
}

void QtCanvas::polygon(const std::vector<TPoint>& points) {
  paint([&](QPainter& p) { p.drawPolygon(qtPolygon(points)); }, Fill::Brush);
}

void QtCanvas::polyline(const std::vector<TPoint>& points) {
  paint([&](QPainter& p) { p.drawPolyline(qtPolygon(points)); }, Fill::None);
}

void QtCanvas::textOut(int x, int y, const std::string& text) {
  paint([&](QPainter& p) {
    QFont f = toQFont(font());
    QFontMetrics fm(f);
    QString s = qs(text);
    if (brush().style == bsSolid)
      p.fillRect(QRect(x, y, fm.horizontalAdvance(s), fm.height()), toQColor(brush().color));
    p.setFont(f);
    p.setPen(toQColor(font().color()));
    p.drawText(x, y + fm.ascent(), s);
  }, Fill::None);
}

TSize QtCanvas::textExtent(const std::string& text) {
  QFontMetrics fm(toQFont(font()));
  return {fm.horizontalAdvance(qs(text)), fm.height()};
}

TColor QtCanvas::pixel(int x, int y) {
  flush();
  if (!image_ || !image_->valid(x, y)) return clNone;
  return fromQColor(image_->pixelColor(x, y));
}

void QtCanvas::setPixel(int x, int y, TColor color) {
  if (painter_) {
    paint([&](QPainter& p) {
      p.setPen(toQColor(color));
      p.drawPoint(x, y);
    }, Fill::None);
    return;
  }
  flush();
  if (!image_ || !image_->valid(x, y)) return;
  image_->setPixelColor(x, y, toQColor(color));
  changed();
}

void QtCanvas::stretchDraw(const TRect& dest, const Raster8& image) {
  stretchDraw(dest, image, {0, 0, image.width, image.height});
}

QRect QtCanvas::visiblePart(const QRect& r) const {
  if (painter_) {
    if (painter_->worldTransform().isIdentity() && painter_->device())
      return r.intersected(QRect(0, 0, painter_->device()->width(), painter_->device()->height()));
    return r;
  }
  return image_ ? r.intersected(image_->rect()) : QRect();
}

// Samples the source itself into the visible part of the destination, so no more pixels
// are converted than are shown (Qt would convert the whole 8-bit source on every draw).
void QtCanvas::stretchDraw(const TRect& dest, const Raster8& src, const TRect& source) {
  const int dw = dest.width(), dh = dest.height(), sw = source.width(), sh = source.height();
  if (!src.bits || src.width <= 0 || src.height <= 0 || std::abs(src.stride) < src.width || dw <= 0 ||
      dh <= 0 || sw <= 0 || sh <= 0)
    return;
  const QRect part = visiblePart(QRect(dest.left, dest.top, dw, dh));
  if (part.isEmpty()) return;
  QRgb table[256];
  for (size_t i = 0; i < 256; ++i)
    table[i] = i < src.palette.size() ? (0xFF000000u | toQColor(src.palette[i]).rgb()) : 0xFF000000u;
  // Source column of each visible destination column; -1 outside the raster (left as is).
  std::vector<int> column(static_cast<size_t>(part.width()));
  for (int i = 0; i < part.width(); ++i) {
    const int64_t dx = part.left() + i - dest.left;
    const int64_t sx = source.left + dx * sw / dw;
    column[static_cast<size_t>(i)] = sx >= 0 && sx < src.width ? int(sx) : -1;
  }
  QImage out(part.size(), QImage::Format_ARGB32_Premultiplied);
  for (int j = 0; j < part.height(); ++j) {
    auto* row_out = reinterpret_cast<QRgb*>(out.scanLine(j));
    const int64_t sy = source.top + int64_t(part.top() + j - dest.top) * sh / dh;
    if (sy < 0 || sy >= src.height) {
      std::fill(row_out, row_out + part.width(), 0u);
      continue;
    }
    const uint8_t* row = src.bits + std::ptrdiff_t(sy) * src.stride;
    for (int i = 0; i < part.width(); ++i) {
      const int sx = column[static_cast<size_t>(i)];
      row_out[i] = sx < 0 ? 0u : table[row[sx]];
    }
  }
  paint([&](QPainter& p) { p.drawImage(part.topLeft(), out); }, Fill::None);
}

void QtCanvas::drawRaster(int x, int y, const Raster32& src) {
  if (!src.pixels || src.width <= 0 || src.height <= 0 || src.stride < src.width) return;
  const QRect part = visiblePart(QRect(x, y, src.width, src.height));
  if (part.isEmpty()) return;
  flush();
  const QImage::Format f = image_ ? image_->format() : QImage::Format_Invalid;
  const bool direct = !painter_ && (f == QImage::Format_ARGB32_Premultiplied || f == QImage::Format_RGB32 ||
                                    f == QImage::Format_ARGB32);
  QImage copy;
  if (!direct) copy = QImage(part.size(), QImage::Format_RGB32);
  for (int j = 0; j < part.height(); ++j) {
    const uint32_t* in = src.pixels + std::ptrdiff_t(part.top() - y + j) * src.stride + (part.left() - x);
    auto* out = direct ? reinterpret_cast<QRgb*>(image_->scanLine(part.top() + j)) + part.left()
                       : reinterpret_cast<QRgb*>(copy.scanLine(j));
    for (int i = 0; i < part.width(); ++i) out[i] = 0xFF000000u | in[i];
  }
  if (direct) {
    changed();
    return;
  }
  paint([&](QPainter& p) { p.drawImage(part.topLeft(), copy); }, Fill::None);
}

}  // namespace kgui
