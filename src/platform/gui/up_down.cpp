// TUpDown over two arrow QToolButtons stacked in a plain widget.
#include "platform/gui/up_down.h"

#include <QEvent>
#include <QToolButton>
#include <algorithm>
#include <string>

#include "platform/classes/property_builders.h"
#include "platform/gui/guard.h"
#include "platform/gui/std_controls.h"

namespace kgui {

const EnumInfo& udBtnType() {
  static const EnumInfo info{"TUDBtnType", {"btNext", "btPrev"}};
  return info;
}
const EnumInfo& upDownDirectionType() {
  static const EnumInfo info{"TUpDownDirection", {"updNone", "updUp", "updDown"}};
  return info;
}

const ClassInfo& TUpDown::staticClassInfo() {
  using T = TUpDown;
  static const ClassInfo info(
      "TUpDown", &TWinControl::staticClassInfo(),
      {[] {
         PropertyInfo p;
         p.name = "Associate";
         p.kind = PropKind::Class;
         p.get = [](const TPersistent& o) { return PropValue(static_cast<TPersistent*>(static_cast<const T&>(o).associate())); };
         p.set = [](TPersistent& o, const PropValue& v) {
           auto* const* target = std::get_if<TPersistent*>(&v);
           auto* control = target && *target ? dynamic_cast<TWinControl*>(*target) : nullptr;
           if (target && *target && (!control || control == &o)) throw EPropertyError("Invalid property value");
           static_cast<T&>(o).setAssociate(control);
         };
         return p;
       }(),
       ordProp<T, int>("Increment", PropKind::Integer, &T::increment, &T::setIncrement, nullptr, 1),
       ordProp<T, int>("Max", PropKind::Integer, &T::max, &T::setMax, nullptr, 100),
       ordProp<T, int>("Min", PropKind::Integer, &T::min, &T::setMin, nullptr, 0),
       ordProp<T, int>("Position", PropKind::Integer, &T::position, &T::setPosition, nullptr, 0),
       boolProp<T>("Wrap", &T::wrap, &T::setWrap, false), eventProp<T>("OnChanging", &T::OnChanging),
       eventProp<T>("OnChangingEx", &T::OnChangingEx)});
  return info;
}

TUpDown::TUpDown(TComponent* owner) : TWinControl(owner, new QWidget()) {
  up_ = new QToolButton(widget());
  up_->setArrowType(Qt::UpArrow);
  up_->setObjectName("up");
  down_ = new QToolButton(widget());
  down_->setArrowType(Qt::DownArrow);
  down_->setObjectName("down");
  for (QToolButton* b : {up_, down_}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
    b->show();
  }
  QObject::connect(up_, &QToolButton::clicked, [this] { press(btNext); });
  QObject::connect(down_, &QToolButton::clicked, [this] { press(btPrev); });
  setBounds(0, 0, 17, 25);
}

void TUpDown::setMin(int v) {
  min_ = v;
  setPosition(position_);
}

void TUpDown::setMax(int v) {
  max_ = v;
  setPosition(position_);
}

void TUpDown::setPosition(int v) {
  if (loading()) {
    pending_position_ = v;
    return;
  }
  position_ = std::clamp(v, std::min(min_, max_), std::max(min_, max_));
  showPosition();
}

void TUpDown::loaded() {
  TWinControl::loaded();
  if (pending_position_) setPosition(*pending_position_);
  pending_position_.reset();
}

void TUpDown::showPosition() {
  if (!associate_) return;
  const std::string text = std::to_string(position_);
  if (auto* edit = dynamic_cast<TEdit*>(associate_)) edit->setText(text);
  else associate_->setCaption(text);
}

void TUpDown::setAssociate(TWinControl* c) {
  if (associate_) removeFreeNotification(associate_);
  associate_ = c;
  if (!c) return;
  freeNotification(c);
  // The buttons sit at the associate's right edge, as tall as it.
  if (parent() == c->parent()) setBounds(c->left() + c->width(), c->top(), width(), c->height());
  showPosition();
}

void TUpDown::notification(TComponent* c, Operation op) {
  TWinControl::notification(c, op);
  if (op == Operation::Remove && c == associate_) associate_ = nullptr;
}

void TUpDown::press(int button) {
  const int delta = button == btNext ? increment_ : -increment_;
  int next = position_ + delta;
  const int lo = std::min(min_, max_), hi = std::max(min_, max_);
  if (next > hi) next = wrap_ ? lo : hi;
  if (next < lo) next = wrap_ ? hi : lo;
  const int direction = delta > 0 ? updUp : delta < 0 ? updDown : updNone;
  bool allow = true;
  fire(OnChanging, this, allow);
  fire(OnChangingEx, this, allow, next, direction);
  if (!allow) return;
  setPosition(next);
  fire(OnButtonClick, this, button);
}

bool TUpDown::handleEvent(QObject* target, QEvent* event) {
  if (target == widget() && event->type() == QEvent::Resize) {
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
  }
  return TWinControl::handleEvent(target, event);
}

}  // namespace kgui
