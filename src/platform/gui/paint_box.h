// TPaintBox: a control with a backing image, so code can draw on its canvas at any time;
// the widget shows the image, and OnPaint runs when the box is shown, resized or invalidated.
#pragma once

#include <QImage>
#include <QRegion>
#include <memory>

#include "platform/gui/control.h"
#include "platform/gui/qt_canvas.h"

namespace kgui {

class TPaintBox : public TControl {
public:
  explicit TPaintBox(TComponent* owner);
  ~TPaintBox() override;
  static const ClassInfo& staticClassInfo();
  const ClassInfo& classInfo() const override { return staticClassInfo(); }

  Canvas& canvas() { return *canvas_; }
  const QImage& image() const { return image_; }
  // Asks for OnPaint at the next paint (the platform's Invalidate).
  void invalidatePaint();

  TNotifyEvent OnPaint;
  // Drawn over the image at each paint and never kept in it (a rubber band, a marker);
  // call invalidate() when it changes.
  std::function<void(Canvas& canvas)> OnOverlay;

  // For the widget: paints the region of the backing image, running OnPaint first when asked.
  void paintWidget(QWidget* w, const QRegion& region);

protected:
  void applyBounds() override;
  void applyColor() override {}

private:
  void resizeImage();
  QImage image_;
  std::unique_ptr<QtCanvas> canvas_;
  bool needs_paint_ = true;
  bool painting_ = false;
};

}  // namespace kgui
