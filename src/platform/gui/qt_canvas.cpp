// QtCanvas: the platform's drawing calls with QPainter, pixel-exact where it matters.
#include "platform/gui/qt_canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

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

void QtCanvas::paint(const std::function<void(QPainter&)>& fn, Fill fill) {
  auto setup = [&](QPainter& p) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(qtPen(pen()));
    if (fill == Fill::Brush && brush().style == bsSolid) p.setBrush(toQColor(brush().color));
    else p.setBrush(Qt::NoBrush);
    fn(p);
    p.restore();
  };
  if (painter_) {
    setup(*painter_);
  } else if (image_ && !image_->isNull()) {
    QPainter p(image_);
    setup(p);
  }
  if (after_draw_) after_draw_();
}

void QtCanvas::drawLine(TPoint a, TPoint b) {
  // The platform leaves out the end point; Qt's cosmetic line includes it, so stop one short.
  paint([&](QPainter& p) {
    int dx = b.x - a.x, dy = b.y - a.y;
    int n = std::max(std::abs(dx), std::abs(dy));
    if (n == 0) return;
    QPoint end(a.x + (dx * (n - 1)) / n, a.y + (dy * (n - 1)) / n);
    p.drawLine(QPoint(a.x, a.y), end);
  }, Fill::None);
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
  if (!image_ || !image_->valid(x, y)) return;
  image_->setPixelColor(x, y, toQColor(color));
  if (after_draw_) after_draw_();
}

void QtCanvas::stretchDraw(const TRect& dest, const Raster8& image) {
  stretchDraw(dest, image, {0, 0, image.width, image.height});
}

void QtCanvas::stretchDraw(const TRect& dest, const Raster8& src, const TRect& source) {
  if (!src.bits || src.width <= 0 || src.height <= 0 || src.stride < src.width) return;
  QImage view(src.bits, src.width, src.height, src.stride, QImage::Format_Indexed8);
  QList<QRgb> table(256, qRgb(0, 0, 0));
  for (size_t i = 0; i < src.palette.size() && i < 256; ++i)
    table[static_cast<qsizetype>(i)] = toQColor(src.palette[i]).rgb();
  view.setColorTable(table);
  paint([&](QPainter& p) {
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);  // nearest pixel, no smoothing
    p.drawImage(QRect(dest.left, dest.top, dest.width(), dest.height()), view,
                QRect(source.left, source.top, source.width(), source.height()));
  }, Fill::None);
}

}  // namespace kgui
