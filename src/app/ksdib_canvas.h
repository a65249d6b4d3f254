// TKsDIBCanvas: a canvas that draws into a TKsDIB's own pixels. 24-bit bitmaps are painted
// in place; 1-, 4- and 8-bit ones through a colour copy whose changed pixels are written
// back as palette indices (the exact colour first, else the nearest) when the canvas is
// freed. Freeing also ends the drawing pass with the bitmap's change notification.
#pragma once

#include <QImage>

#include "platform/gui/qt_canvas.h"

namespace kestrin {
class TKsDIB;
}  // namespace kestrin

namespace kestrin::app {

class TKsDIBCanvas : public kgui::QtCanvas {
public:
  // A null bitmap, or one whose UseFMO is false, raises EKsDIBCanvasFailed "TKsDIBCanvas.Create:
  // Cannot Create Canvas"; a run-length bitmap raises EOutOfResources. The bitmap must outlive
  // the canvas and keep its size and format while the canvas lives.
  explicit TKsDIBCanvas(TKsDIB* dib);
  ~TKsDIBCanvas() override;
  TKsDIBCanvas(const TKsDIBCanvas&) = delete;
  TKsDIBCanvas& operator=(const TKsDIBCanvas&) = delete;

private:
  void write_back_indices();

  TKsDIB* dib_;
  QImage image_;
  bool indexed_ = false;
  bool restore_bottom_up_ = false;
};

}  // namespace kestrin::app
