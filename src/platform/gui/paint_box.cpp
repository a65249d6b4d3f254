// TPaintBox: drawing goes into the backing image and schedules a repaint of the widget.
#include "platform/gui/paint_box.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"

namespace kgui {

namespace {

class PaintBoxWidget : public QWidget {
public:
  std::function<void(QWidget*, const QRegion&)> paint;

protected:
  void paintEvent(QPaintEvent* e) override {
    if (paint) paint(this, e->region());
  }
};

}  // namespace

const ClassInfo& TPaintBox::staticClassInfo() {
  static const ClassInfo info("TPaintBox", &TControl::staticClassInfo(),
                              {eventProp<TPaintBox>("OnPaint", &TPaintBox::OnPaint)});
  return info;
}

TPaintBox::TPaintBox(TComponent* owner) : TControl(owner, new PaintBoxWidget()) {
  static_cast<PaintBoxWidget*>(widget())->paint = [this](QWidget* w, const QRegion& r) { paintWidget(w, r); };
  canvas_ = std::make_unique<QtCanvas>(&image_, [this] {
    if (!painting_ && widget()) widget()->update();
  });
  click_on_release_ = true;
  setBounds(0, 0, 105, 105);
}

TPaintBox::~TPaintBox() {
  if (widget()) static_cast<PaintBoxWidget*>(widget())->paint = nullptr;
}

void TPaintBox::applyBounds() {
  TControl::applyBounds();
  resizeImage();
}

void TPaintBox::resizeImage() {
  QSize size(std::max(1, width()), std::max(1, height()));
  if (image_.size() == size) return;
  // Unpainted parts stay transparent, so the parent shows through as on the platform.
  QImage next(size, QImage::Format_ARGB32_Premultiplied);
  next.fill(Qt::transparent);
  if (!image_.isNull()) {
    QPainter p(&next);
    p.drawImage(0, 0, image_);
  }
  image_ = std::move(next);
  needs_paint_ = true;
}

void TPaintBox::invalidatePaint() {
  needs_paint_ = true;
  if (widget()) widget()->update();
}

void TPaintBox::paintWidget(QWidget* w, const QRegion& region) {
  if (needs_paint_ && OnPaint && !painting_) {
    needs_paint_ = false;
    painting_ = true;
    fire(OnPaint, this);
    painting_ = false;
  }
  QPainter p(w);
  // Only the parts asked for: a small repaint (a rubber band's edges) copies a few pixels.
  for (const QRect& r : region) p.drawImage(r.topLeft(), image_, r);
  if (OnOverlay) {
    QtCanvas overlay(&p);
    fire(OnOverlay, overlay);
  }
}

}  // namespace kgui
