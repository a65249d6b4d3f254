// TSplitter over a plain widget: the drag is the layer's own mouse handling.
#include "platform/gui/splitter.h"

#include <QEvent>
#include <algorithm>

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"

namespace kgui {

const ClassInfo& TSplitter::staticClassInfo() {
  using T = TSplitter;
  static const ClassInfo info(
      "TSplitter", &TControl::staticClassInfo(),
      {ordProp<T, int>("MinSize", PropKind::Integer, &T::minSize, &T::setMinSize, nullptr, 30),
       eventProp<T>("OnCanResize", &T::OnCanResize), eventProp<T>("OnMoved", &T::OnMoved),
       eventProp<T>("OnPaint", &T::OnPaint)});
  return info;
}

TSplitter::TSplitter(TComponent* owner) : TControl(owner, new QWidget()) {
  setBounds(0, 0, 3, 100);
  setAlign(alLeft);
}

TControl* TSplitter::findNeighbour() const {
  TWinControl* p = parent();
  if (!p || align() == alNone || align() == alClient) return nullptr;
  for (int i = 0; i < p->controlCount(); ++i) {
    TControl* c = p->controls(i);
    if (c == this || !c->visible() || c->align() != align()) continue;
    const bool touches = (align() == alLeft && c->left() + c->width() == left()) ||
                         (align() == alRight && c->left() == left() + width()) ||
                         (align() == alTop && c->top() + c->height() == top()) ||
                         (align() == alBottom && c->top() == top() + height());
    if (touches) return c;
  }
  return nullptr;
}

void TSplitter::mouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TControl::mouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  neighbour_ = findNeighbour();
  if (!neighbour_) return;
  // The room the neighbour may take: what lies beyond the splitter up to the aligned
  // controls on the far side, less MinSize left free there.
  TWinControl* p = parent();
  int beyond = horizontal() ? p->clientWidth() : p->clientHeight();
  int used = horizontal() ? width() : height();
  for (int i = 0; i < p->controlCount(); ++i) {
    TControl* c = p->controls(i);
    if (c == this || !c->visible()) continue;
    const bool same_axis = horizontal() ? (c->align() == alLeft || c->align() == alRight)
                                        : (c->align() == alTop || c->align() == alBottom);
    if (same_axis) used += sizeOf(c);
  }
  start_size_ = sizeOf(neighbour_);
  max_size_ = std::max(min_size_, start_size_ + beyond - used - min_size_);
  start_ = along(x, y);
  dragging_ = true;
  moved_ = false;
}

void TSplitter::mouseMove(TShiftState shift, int x, int y) {
  TControl::mouseMove(shift, x, y);
  if (!dragging_ || !neighbour_) return;
  const int delta = along(x, y) - start_;
  const int sign = (align() == alLeft || align() == alTop) ? 1 : -1;
  int size = std::clamp(start_size_ + sign * delta, min_size_, max_size_);
  if (size == sizeOf(neighbour_)) return;
  bool accept = true;
  fire(OnCanResize, this, size, accept);
  if (!accept || !neighbour_) return;
  // Positions are the parent's, so the splitter moving with its neighbour changes nothing
  // in the measure of the drag.
  if (horizontal()) neighbour_->setWidth(size);
  else neighbour_->setHeight(size);
  moved_ = true;
}

void TSplitter::mouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  const bool moved = dragging_ && moved_;
  dragging_ = false;
  neighbour_ = nullptr;
  TControl::mouseUp(button, shift, x, y);
  if (moved) fire(OnMoved, this);
}

bool TSplitter::handleEvent(QObject* target, QEvent* event) {
  if (target == widget() && event->type() == QEvent::Paint) fire(OnPaint, this);
  return TControl::handleEvent(target, event);
}

}  // namespace kgui
