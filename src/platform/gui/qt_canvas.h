// The Canvas over QPainter: on an image (a painter per call, so code may draw at any
// time), or on a painter that the caller keeps open on a printer or picture. Inside a batch,
// solid lines of one pen are held and drawn as one call, which gives the same pixels; a curve
// of many points per column becomes one vertical line per column and a few slanted ones.
#pragma once

#include <QImage>
#include <QLine>
#include <functional>
#include <vector>

#include "platform/classes/canvas.h"

class QPainter;

namespace kgui {

class QtCanvas : public Canvas {
public:
  // Draws into image (not owned). after_draw runs after each call (a paint box repaints).
  explicit QtCanvas(QImage* image, std::function<void()> after_draw = {});
  // Draws with a painter that stays open (printer pages, pictures); not owned.
  explicit QtCanvas(QPainter* painter);

  void setImage(QImage* image) { image_ = image; }

  void rectangle(int x1, int y1, int x2, int y2) override;
  void fillRect(const TRect& r) override;
  void ellipse(int x1, int y1, int x2, int y2) override;
  void polygon(const std::vector<TPoint>& points) override;
  void polyline(const std::vector<TPoint>& points) override;
  void textOut(int x, int y, const std::string& text) override;
  TSize textExtent(const std::string& text) override;
  TColor pixel(int x, int y) override;
  void setPixel(int x, int y, TColor color) override;
  void stretchDraw(const TRect& dest, const Raster8& image) override;
  void stretchDraw(const TRect& dest, const Raster8& image, const TRect& source) override;
  void drawRaster(int x, int y, const Raster32& image) override;
  void beginBatch() override;
  void endBatch() override;
  void flushBatch() override;

protected:
  void drawLine(TPoint from, TPoint to) override;

private:
  enum class Fill { None, Brush };
  // Runs fn with a painter set up with the pen, and the brush when asked.
  void paint(const std::function<void(QPainter&)>& fn, Fill fill);
  // Runs fn with a painter on the image or the caller's painter.
  void withPainter(const std::function<void(QPainter&)>& fn);
  // Draws the held lines, if any.
  void flush();
  // Whether the caller's painter scales the drawing (a printed page): a unit is then no
  // pixel, and a line keeps its end point, as a polyline through the points does; leaving
  // it out would leave a unit-wide gap after every step of a curve.
  bool scaled() const;
  // Holds one more line of a batch; a vertical line that goes on from where the last one of
  // its column ended joins that run.
  void hold(TPoint a, TPoint b);
  // Ends the run of vertical lines: it becomes one line over the pixels it covers.
  void closeRun();
  // Tells the owner that the picture changed, once per batch.
  void changed();
  // The part of r that can show: the image's rectangle, or the painter's device when no
  // transformation is set; r itself otherwise.
  QRect visiblePart(const QRect& r) const;

  QImage* image_ = nullptr;
  QPainter* painter_ = nullptr;
  std::function<void()> after_draw_;
  int batch_depth_ = 0;
  bool changed_in_batch_ = false;
  std::vector<QLine> held_;  // the lines held in a batch, all of held_pen_
  TPen held_pen_;
  // A run of vertical lines in column x, each starting where the last ended: `end` is the
  // last end point (left out, as every end point is) and lo..hi the range of the points
  // before it, all of which are covered.
  struct Run {
    bool open = false;
    int x = 0, lo = 0, hi = 0, end = 0;
  } run_;
};

}  // namespace kgui
