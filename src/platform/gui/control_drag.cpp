// Dragging one control onto another inside the program: the drag follows the mouse over
// the controls (OnDragOver with enter, move and leave), drops on the control under the
// mouse when it accepted (OnDragDrop), and tells the dragged control how it ended
// (OnEndDrag). One drag at a time; a control that goes away leaves the drag safely.
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QVariant>
#include <cstdlib>

#include "platform/gui/control.h"
#include "platform/gui/guard.h"

namespace kgui {

namespace {

constexpr int kDefaultDragThreshold = 5;

struct DragState {
  TControl* source = nullptr;
  TControl* target = nullptr;  // the control under the mouse
  bool started = false;        // past the threshold
  bool accepted = false;       // the target's last answer
  int threshold = kDefaultDragThreshold;
  QPoint press;                // where the drag was asked for (screen)
  QPoint pos;                  // the last mouse position (screen)
};

DragState& drag() {
  static DragState d;
  return d;
}

}  // namespace

// The property on a control's widget that names the control, for the search by position.
extern const char* const kControlProperty = "kguiControl";

TControl* TControl::atScreenPoint(TPoint p) {
  for (QWidget* w = QApplication::widgetAt(QPoint(p.x, p.y)); w; w = w->parentWidget()) {
    const QVariant v = w->property(kControlProperty);
    if (v.isValid()) return static_cast<TControl*>(v.value<void*>());
  }
  return nullptr;
}

void TControl::beginDrag(bool immediate, int threshold) {
  DragState& d = drag();
  if (d.source) return;
  d = DragState{};
  d.source = this;
  d.started = immediate;
  d.threshold = threshold < 0 ? kDefaultDragThreshold : threshold;
  d.press = d.pos = QCursor::pos();
  // The moves and the release come to the source wherever the mouse is (a drag started
  // by a press has that already, from the press).
  if (QWidget* w = mouseWidget(); w && !QWidget::mouseGrabber()) w->grabMouse();
}

bool TControl::dragging() const { return drag().source == this && drag().started; }

// The mouse over a new control or moving over the same one: OnDragOver of the one it left
// (dsDragLeave), then of the one under it (dsDragEnter or dsDragMove), which answers
// whether it would take the drop (false without a handler).
static void dragTo(QPoint screen) {
  DragState& d = drag();
  d.pos = screen;
  TControl* now = TControl::atScreenPoint({screen.x(), screen.y()});
  int state = dsDragMove;
  if (now != d.target) {
    if (TControl* old = d.target) {
      const TPoint at = old->screenToClient({screen.x(), screen.y()});
      bool ignored = false;
      fire(old->OnDragOver, old, d.source, at.x, at.y, static_cast<int>(dsDragLeave), ignored);
    }
    d.target = now;
    state = dsDragEnter;
  }
  d.accepted = false;
  TControl* t = d.target;
  if (!t || !t->OnDragOver || !d.source) return;
  const TPoint at = t->screenToClient({screen.x(), screen.y()});
  bool accept = true;
  fire(t->OnDragOver, t, d.source, at.x, at.y, state, accept);
  if (d.target == t) d.accepted = accept;
}

void TControl::endDrag(bool drop) {
  DragState& d = drag();
  if (d.source != this) return;
  const DragState ended = d;
  d = DragState{};
  if (QWidget* w = mouseWidget(); w && QWidget::mouseGrabber() == w) w->releaseMouse();
  std::weak_ptr<char> alive(alive_);
  TControl* target = ended.target;
  const bool dropped = drop && ended.started && target && ended.accepted;
  // The target's client pixels when dropped, else screen pixels.
  TPoint at{ended.pos.x(), ended.pos.y()};
  if (dropped) at = target->screenToClient(at);
  if (dropped) fire(target->OnDragDrop, target, this, at.x, at.y);
  if (alive.expired()) return;
  fire(OnEndDrag, this, dropped ? target : nullptr, at.x, at.y);
}

bool TControl::dragMouseEvent(QEvent* event) {
  DragState& d = drag();
  auto* me = static_cast<QMouseEvent*>(event);
  const QPoint global = me->globalPosition().toPoint();
  const auto type = event->type();
  if (!d.source && drag_mode_ == dmAutomatic && me->button() == Qt::LeftButton &&
      (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)) {
    d = DragState{};
    d.source = this;
    d.press = d.pos = global;
    return true;
  }
  if (d.source != this) return false;
  switch (type) {
    case QEvent::MouseMove:
      if (!d.started) {
        if ((global - d.press).manhattanLength() < d.threshold) return true;
        d.started = true;
      }
      dragTo(global);
      return true;
    case QEvent::MouseButtonRelease:
      if (me->button() == Qt::LeftButton) {
        d.pos = global;
        endDrag(true);
      }
      return true;
    default: return true;
  }
}

// A control going away leaves the drag: as its source the drag ends silently, as its
// target the mouse is over no control.
void forgetDragOf(TControl* c) {
  DragState& d = drag();
  if (d.source == c) d = DragState{};
  if (d.target == c) {
    d.target = nullptr;
    d.accepted = false;
  }
}

}  // namespace kgui
